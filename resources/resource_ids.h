#pragma once
// Resource identifiers shared by the .rc file and the code.

#define IDI_LUMAREL 1
#define IDB_GO_BUTTON 101
#define IDB_ABOUT 102
#define IDC_GO_POINTER 201
