#pragma once
// Resource identifiers shared by the .rc file and the code.

#define IDI_LUMAREL 1
// Pictures drawn at 100, 150 and 200 %.
#define IDB_GO_BUTTON 101
#define IDB_GO_BUTTON_150 103
#define IDB_GO_BUTTON_200 104
#define IDB_ABOUT 102
#define IDB_ABOUT_150 105
#define IDB_ABOUT_200 106
// One cursor holding the pointer at 32, 48 and 64 pixels.
#define IDC_GO_POINTER 201
