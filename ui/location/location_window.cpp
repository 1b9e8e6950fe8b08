#include "ui/location/location_window.h"

#include "launch/command_line.h"
#include "ui/controls/dpi.h"

namespace lumarel {

namespace {

using K = ControlKind;

const FontDesign kUnderlined = {L"MS Sans Serif", 8.25, true};

// clang-format off
const ControlDesign kLocationControls[] = {
    // id, name, kind, caption, hover text, {left, top, width, height} in twips, frame, items, font
    {Snes9x_location_frame, L"Snes9x_location_frame", K::Frame, nullptr, nullptr, {0, 0, 2535, 4995}},
    {Label1_Location, L"Label1", K::CentredLabel, L"Location of Snes9x", nullptr, {480, 240, 1455, 255}, Snes9x_location_frame, {}, &kUnderlined},
    {Drive2, L"Drive2", K::DriveList, nullptr, nullptr, {240, 600, 2055, 315}, Snes9x_location_frame, {}, nullptr, L"Drive"},
    {Dir2, L"Dir2", K::DirectoryList, nullptr, nullptr, {240, 1080, 2055, 2730}, Snes9x_location_frame, {}, nullptr, L"Directory"},
    {File2, L"File2", K::FileList, nullptr, nullptr, {240, 3960, 2055, 285}, Snes9x_location_frame, {}, nullptr, L"Snes9x executable"},
    {Close_Button, L"Close_Button", K::PushButton, L"Close", nullptr, {720, 4440, 1215, 375}, Snes9x_location_frame},
};

const Wire kLocationWiring[] = {
    // control, notification, handler
    {Drive2, kListChange, Run<&LocationWindow::Drive2_Change>},
    {Dir2, kListChange, Run<&LocationWindow::Dir2_Change>},
    {File2, kLineClick, Run<&LocationWindow::File2_Click>},
    {Close_Button, BN_CLICKED, Run<&LocationWindow::Close_Button_Click>},
};
// clang-format on

}  // namespace

LocationWindow::LocationWindow(HINSTANCE instance, const Platform& platform,
                               std::wstring& emulatorPath, std::wstring ownDirectory,
                               std::function<void()> onClosed)
    : ModalWindow(instance, platform.session,
                  {L"Location of Snes9x", 2535, 5010, kLocationControls, kLocationWiring}),
      platform_(platform),
      emulatorPath_(emulatorPath),
      browser_(platform.fileSystem, kEmulatorPattern, std::move(ownDirectory)),
      onClosed_(std::move(onClosed)) {}

void LocationWindow::Form_Load() {
    CentreOnScreen();
    browser_.Attach(controls_, {Drive2, Dir2, File2}, WindowDpi(Hwnd()));
    // Every opening starts where Lumarel was started, with nothing selected.
    browser_.PointAt(platform_.fileSystem.WorkingDirectory());
}

void LocationWindow::Drive2_Change() {
    browser_.FollowDrive();
}

void LocationWindow::Dir2_Change() {
    browser_.FollowDirectory();
}

void LocationWindow::File2_Click() {
    const FileList& emulators = browser_.Files();
    const std::wstring clicked = emulators.SelectedEntry();
    if (!clicked.empty()) {
        emulatorPath_ = JoinPath(emulators.Directory(), clicked);
    }
}

void LocationWindow::Close_Button_Click() {
    const FileList& emulators = browser_.Files();
    const int selected = emulators.SelectedIndex();
    const std::wstring entry = emulators.Entry(selected > -1 ? selected : 0);
    // An empty list keeps the location the user had: only looking must not lose it.
    if (!entry.empty()) {
        emulatorPath_ = JoinPath(emulators.Directory(), entry);
    }
    if (onClosed_) {
        onClosed_();
    }
    Close();
}

}  // namespace lumarel
