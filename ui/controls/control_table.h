#pragma once
// The controls of one window, created and laid out from their table (control_design.h), with
// one tooltip control for their hover texts.

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>

#include "ui/controls/control_messages.h"
#include "ui/controls/control_design.h"
#include "ui/controls/decoding_control.h"
#include "ui/controls/control_pictures.h"
#include "ui/controls/text_fit.h"

namespace lumarel {

// The window property that names a window's tooltip control, for the message loop.
inline constexpr wchar_t kTooltipsProperty[] = L"Lumarel.Tooltips";

class ControlSet {
public:
    ControlSet() = default;
    ControlSet(const ControlSet&) = delete;
    ControlSet& operator=(const ControlSet&) = delete;
    ~ControlSet();

    // Creates every control of the table as a child of `parent`, each at once at its place
    // and in its font and with its picture for the dpi. False when one could not be created
    // (the window is then unusable and should not be shown).
    bool Create(HWND parent, std::span<const ControlDesign> table, UINT dpi);

    // Places every control anew for another dpi and gives it the font and picture for that
    // dpi.
    void Layout(UINT dpi);

    // The mouse pointer over a control: its picture's own, or nullptr for the usual one.
    HCURSOR PointerOver(HWND control) const { return pictures_.PointerOver(control); }

    // The system's colours (WM_SYSCOLORCHANGE) or theme (WM_THEMECHANGED) changed: the
    // controls hear of it, since common controls learn it only from their window, and all
    // are drawn anew, a picture button's picture on its new face.
    void FollowSystemLook(UINT message, WPARAM wParam, LPARAM lParam);

    HWND Hwnd(int id) const;
    const ControlDesign* DesignOf(int id) const;
    std::span<const ControlDesign> Table() const { return table_; }
    HWND Tooltips() const { return tooltips_; }

    // What a screen reader calls a control without a caption: its hover text, else the name
    // the table gives it, else its frame's caption.
    std::wstring AccessibleName(const ControlDesign& design) const;
    // Gives those names to the controls; the window calls it once it is on the screen.
    void NameControlsForScreenReaders() const;

    // Sets a control's caption; a label, check box or option button grows to fit it.
    void SetCaption(int id, const std::wstring& text);

    // The control's hover text: replaces or adds it.
    void SetTooltip(int id, const std::wstring& text);

    // Selects an option button and deselects the others of its frame.
    void SelectOptionButton(int id);

    // The window's share of WM_COMMAND: a click on a check box toggles it between
    // unchecked and checked (a greyed box becomes unchecked); a click on an option button
    // selects it within its frame.
    void OnCommand(int id, int code);

    // Where the notifications of the window's controls go once decoded: its wiring, told the
    // control's identifier and the notification. The window sets it before creating them.
    void WireTo(std::function<void(int id, int notification)> wiring) {
        wiring_ = std::move(wiring);
    }
    // Hands the notifications of a control to its class, which passes on what they mean.
    void HandNotificationsTo(int id, DecodingControl& decoder);
    // A notification (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM) from a control whose class decodes
    // it: the class's answer; nothing for any other message or control.
    std::optional<LRESULT> Decode(UINT message, WPARAM wParam, LPARAM lParam) const;

    // A twips rectangle of the table in pixels of the client area.
    RECT PixelRect(const ControlDesign& design, UINT dpi) const;

private:
    void CreateTooltips();
    void ShowPictures();
    // Where a control goes: its table rectangle, widened to its caption where it has one.
    RECT PlacedRect(const ControlDesign& design, const std::wstring& caption, TextMeasure& measure,
                    UINT dpi) const;

    HWND parent_ = nullptr;
    HINSTANCE instance_ = nullptr;
    HWND tooltips_ = nullptr;
    TableFonts fonts_;
    ControlPictures pictures_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::span<const ControlDesign> table_;
    std::map<int, HWND> windows_;
    std::set<int> tipped_;  // controls that have a hover text already
    std::function<void(int, int)> wiring_;
    std::map<HWND, DecodingControl*> decoders_;
};

}  // namespace lumarel
