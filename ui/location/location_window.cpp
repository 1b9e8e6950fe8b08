#include "ui/location/location_window.h"

#include "launch/command_line.h"
#include "ui/controls/dpi.h"

namespace lumarel {

namespace {

using K = ControlKind;

const FontSpec kUnderlined = {L"MS Sans Serif", 8.25, true};

// clang-format off
const ControlSpec kLocationControls[] = {
    // id, name, kind, caption, hover text, {left, top, width, height} in twips, frame, items, font
    {Snes9x_location_frame, L"Snes9x_location_frame", K::Frame, nullptr, nullptr, {0, 0, 2535, 4995}},
    {Label1_Location, L"Label1", K::CentredLabel, L"Location of Snes9x", nullptr, {480, 240, 1455, 255}, Snes9x_location_frame, {}, &kUnderlined},
    {Drive2, L"Drive2", K::DriveList, nullptr, nullptr, {240, 600, 2055, 315}, Snes9x_location_frame, {}, nullptr, L"Drive"},
    {Dir2, L"Dir2", K::DirectoryList, nullptr, nullptr, {240, 1080, 2055, 2730}, Snes9x_location_frame, {}, nullptr, L"Directory"},
    {File2, L"File2", K::FileList, nullptr, nullptr, {240, 3960, 2055, 285}, Snes9x_location_frame, {}, nullptr, L"Snes9x executable"},
    {Close_Button, L"Close_Button", K::PushButton, L"Close", nullptr, {720, 4440, 1215, 375}, Snes9x_location_frame},
};
// clang-format on

}  // namespace

LocationWindow::LocationWindow(HINSTANCE instance, const Platform& platform, SharedValues& shared,
                               std::wstring ownDirectory, std::function<void()> onClosed)
    : ModalWindow(instance, platform.session,
                  {L"Location of Snes9x", 2535, 5010, kLocationControls}),
      platform_(platform),
      shared_(shared),
      drive2_(platform.fileSystem),
      dir2_(platform.fileSystem),
      file2_(platform.fileSystem, kEmulatorPattern),
      follower_(drive2_, dir2_, std::move(ownDirectory)),
      onClosed_(std::move(onClosed)) {}

void LocationWindow::Form_Load() {
    CentreOnScreen();
    drive2_.Attach(Control(Drive2));
    dir2_.Attach(Control(Dir2), WindowDpi(Hwnd()));
    file2_.Attach(Control(File2));
    drive2_.onChange = [this] { Drive2_Change(); };
    dir2_.onChange = [this] { Dir2_Change(); };
    file2_.onClick = [this] { File2_Click(); };
    // Every opening starts where Lumarel was started, with nothing selected.
    follower_.PointAt(platform_.fileSystem.WorkingDirectory());
}

void LocationWindow::Drive2_Change() {
    follower_.DriveChanged();
}

void LocationWindow::Dir2_Change() {
    file2_.ShowDirectory(dir2_.Directory(), dir2_.Entries());
}

void LocationWindow::File2_Click() {
    const std::wstring clicked = file2_.SelectedEntry();
    if (!clicked.empty()) {
        shared_.EmulatorPath = JoinListPath(file2_.Directory(), clicked);
    }
}

void LocationWindow::Close_Button_Click() {
    const int selected = file2_.SelectedIndex();
    const std::wstring entry = file2_.Entry(selected > -1 ? selected : 0);
    // An empty list keeps the location the user had: only looking must not lose it.
    if (!entry.empty()) {
        shared_.EmulatorPath = JoinListPath(file2_.Directory(), entry);
    }
    if (onClosed_) {
        onClosed_();
    }
    Close();
}

void LocationWindow::OnCommand(int id, int code) {
    switch (id) {
        case Drive2:
            drive2_.OnCommand(code);
            break;
        case Dir2:
            dir2_.OnCommand(code);
            break;
        case File2:
            file2_.OnCommand(code);
            break;
        case Close_Button:
            if (code == BN_CLICKED) {
                Close_Button_Click();
            }
            break;
        default:
            break;
    }
}

bool LocationWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_DRAWITEM && wParam == Dir2) {
        dir2_.OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    if (message == WM_DPICHANGED) {
        dir2_.SetDpi(HIWORD(wParam));
    }
    return false;
}

}  // namespace lumarel
