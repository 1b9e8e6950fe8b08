#pragma once
// A window's controls described once, as data: what each is, what it shows and where it
// sits. Plain values; ControlSet (control_table.h) creates the controls from them.
//
// The order of a table is the creation order and so the keyboard order. Frames and labels
// come first; the focusable controls follow in the order the Tab key visits them. Option
// buttons that follow each other inside one frame form one group.

#include <array>
#include <span>

namespace lumarel {

enum class ControlKind {
    Frame,          // group box; its caption may be empty
    Label,          // static text, left aligned
    CentredLabel,   // static text, centred
    PictureButton,  // push button showing a picture, transparent around its drawing
    PushButton,
    OptionButton,  // radio button
    CheckBox,      // three states; the user switches between unchecked and checked
    DropDownList,  // pick-only combo box
    TextBox,       // single line
    ReadOnlyText,  // multi-line, scrolls vertically, cannot be edited
    Picture,       // a picture that reports clicks
    ListBox,
    DriveList,      // drop-down of the machine's drives
    DirectoryList,  // owner-drawn path and subdirectories
    FileList,       // files matching a pattern
    StatusBar,      // numbered text panels along the bottom edge
};

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A font of a control's own, where the window's dialog font will not do.
struct FontDesign {
    const wchar_t* face;
    double points;
    bool underline = false;
};

// What a picture or picture button shows, drawn at 100, 150 and 200 %: the largest scale the
// window's dpi reaches is shown, so that a picture stays sharp and as large, relative to the
// window, as at 100 %.
struct PictureDesign {
    std::array<int, 3> bitmaps;  // bitmap resources at 100, 150 and 200 %
    int pointer = 0;  // a cursor resource holding the mouse pointer over the control, drawn at
                      // the same scales; 0: the usual arrow
};

struct ControlDesign {
    int id = 0;
    const wchar_t* name = L"";  // the identifier the control is known by
    ControlKind kind = ControlKind::Label;
    const wchar_t* caption = nullptr;           // nullptr: none
    const wchar_t* tooltip = nullptr;           // nullptr: none
    TwipsRect rect;                             // relative to the enclosing frame
    int frame = 0;                              // id of the enclosing frame; 0: the client area
    std::span<const wchar_t* const> items;      // drop-down list items, in order
    const FontDesign* font = nullptr;           // nullptr: the dialog font
    const wchar_t* screenReaderName = nullptr;  // for a control without caption or hover text
    const PictureDesign* picture = nullptr;     // for a Picture or PictureButton
};

}  // namespace lumarel
