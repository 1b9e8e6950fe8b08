#pragma once
// The emulator location window: a drive list, a directory list and a one-row list of
// "snes9x*.exe"; Close stores the chosen file's full path as the emulator's location.

#include <functional>
#include <string>

#include "launch/launch_options.h"
#include "ui/browser/browser.h"
#include "ui/window/modal_window.h"

namespace lumarel {

enum LocationControl : int {
    Snes9x_location_frame = 300,
    Label1_Location,
    Drive2,
    Dir2,
    File2,
    Close_Button,
};

inline constexpr wchar_t kEmulatorPattern[] = L"snes9x*.exe";

class LocationWindow final : public ModalWindow {
public:
    // Edits `emulatorPath`; `onClosed` runs when Close has stored the location (the main
    // window refreshes its location panel then).
    LocationWindow(HINSTANCE instance, const Platform& platform, std::wstring& emulatorPath,
                   std::wstring ownDirectory, std::function<void()> onClosed);

    DriveList& Drives() { return browser_.Drives(); }
    DirectoryList& Directories() { return browser_.Directories(); }
    FileList& Emulators() { return browser_.Files(); }

    void Drive2_Change();
    void Dir2_Change();
    void File2_Click();
    void Close_Button_Click();

private:
    void Form_Load() override;
    int InitialFocus() const override { return Drive2; }

    void OnDpiChanged(UINT dpi) override { browser_.SetDpi(dpi); }

    Platform platform_;
    std::wstring& emulatorPath_;
    Browser browser_;
    std::function<void()> onClosed_;
};

}  // namespace lumarel
