#pragma once
// A window's controls described once, as data, and created and laid out from that data.
//
// The order of the table is the creation order and so the keyboard order. Frames and labels
// come first; the focusable controls follow in the order the Tab key visits them. Option
// buttons that follow each other inside one frame form one group.

#include <windows.h>

#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace lumarel {

enum class ControlKind {
    Frame,          // group box; its caption may be empty
    Label,          // static text, left aligned
    CentredLabel,   // static text, centred
    PictureButton,  // push button showing a bitmap
    PushButton,
    OptionButton,  // radio button
    CheckBox,      // three states; the user switches between unchecked and checked
    DropDownList,  // pick-only combo box
    TextBox,       // single line
    ReadOnlyText,  // multi-line, scrolls vertically, cannot be edited
    Picture,       // a bitmap that reports clicks
    ListBox,
    DriveList,      // drop-down of the machine's drives
    DirectoryList,  // owner-drawn path and subdirectories
    FileList,       // files matching a pattern
    StatusBar,      // numbered text panels along the bottom edge
};

// The window property that names a window's tooltip control, for the message loop.
inline constexpr wchar_t kTooltipsProperty[] = L"Lumarel.Tooltips";

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A font of a control's own, where the window's dialog font will not do.
struct FontSpec {
    const wchar_t* face;
    double points;
    bool underline = false;
};

struct ControlSpec {
    int id = 0;
    const wchar_t* name = L"";  // the identifier the control is known by
    ControlKind kind = ControlKind::Label;
    const wchar_t* caption = nullptr;           // nullptr: none
    const wchar_t* tooltip = nullptr;           // nullptr: none
    TwipsRect rect;                             // relative to the enclosing frame
    int frame = 0;                              // id of the enclosing frame; 0: the client area
    std::span<const wchar_t* const> items;      // drop-down list items, in order
    const FontSpec* font = nullptr;             // nullptr: the dialog font
    const wchar_t* screenReaderName = nullptr;  // for a control without caption or hover text
};

// The created controls of one window, with one tooltip control for their hover texts.
class ControlSet {
public:
    ControlSet() = default;
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;
    ~ControlSet();

    // Creates every control of the table as a child of `parent`. False when one could
    // not be created (the window is then unusable and should not be shown).
    bool Create(HWND parent, std::span<const ControlSpec> table, UINT dpi);

    // Places every control for the dpi and gives it the font for that dpi.
    void Layout(UINT dpi);

    HWND Hwnd(int id) const;
    const ControlSpec* DesignOf(int id) const;
    std::span<const ControlSpec> Table() const { return table_; }
    HWND Tooltips() const { return tooltips_; }

    // What a screen reader calls a control without a caption: its hover text, else the name
    // the table gives it, else its frame's caption.
    std::wstring AccessibleName(const ControlSpec& design) const;
    // Gives those names to the controls; the window calls it once it is on the screen.
    void NameControlsForScreenReaders() const;

    // Sets a control's caption; a label, check box or option button grows to fit it.
    void SetCaption(int id, const std::wstring& text);

    // The control's hover text: replaces or adds it.
    void SetTooltip(int id, const std::wstring& text);

    // Selects an option button and deselects the others of its frame.
    void SelectOptionButton(int id);

    // The window's share of WM_COMMAND: a click on a check box toggles it between
    // unchecked and checked (a greyed box becomes unchecked).
    void OnCommand(int id, int code);

    // A twips rectangle of the table in pixels of the client area.
    RECT PixelRect(const ControlSpec& design, UINT dpi) const;

private:
    HWND parent_ = nullptr;
    HWND tooltips_ = nullptr;
    HFONT font_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::span<const ControlSpec> table_;
    std::map<int, HWND> windows_;
    std::set<int> tipped_;  // controls that have a hover text already
    std::vector<HFONT> ownFonts_;
};

// Check state helpers shared by every window with check boxes.
int CheckStateOf(HWND checkBox);

}  // namespace lumarel

namespace lumarel {

// Small wrappers over the messages every window sends its controls.
std::wstring WindowText(HWND window);
std::wstring ListItemText(HWND dropDownList, int index);

}  // namespace lumarel
