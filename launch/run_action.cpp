#include "launch/run_action.h"

#include "launch/command_line.h"

namespace lumarel {

namespace {

constexpr unsigned long kAccessDenied = 5;  // ERROR_ACCESS_DENIED

Message HumanError(std::wstring text) {
    return {std::move(text), kHumanError, MessageIcon::Exclamation};
}

std::wstring WithoutRunningMark(const std::wstring& caption) {
    const std::wstring mark = kRunningMark;
    if (caption.size() >= mark.size() &&
        caption.compare(caption.size() - mark.size(), mark.size(), mark) == 0) {
        return caption.substr(0, caption.size() - mark.size());
    }
    return caption;
}

}  // namespace

void RunAction::Run(const RunRequest& request, WindowCaption& caption) {
    if (!IsAcceptedEmulatorPath(request.emulatorPath)) {
        platform_.messages.Show(HumanError(L"Please Location Snes9x.exe!"));
        return;
    }
    if (request.romEntry.empty()) {
        platform_.messages.Show(HumanError(L"Please select a ROM!"));
        return;
    }

    const std::wstring romPath = JoinPath(request.romDirectory, request.romEntry);
    const std::wstring shortRom = platform_.shortPaths.ShortPath(romPath);
    const std::wstring shortEmulator = platform_.shortPaths.ShortPath(request.emulatorPath);
    if (platform_.carrier.ActionGivenUp()) {
        return;  // the person stopped waiting for a drive: nothing starts
    }
    const std::wstring commandLine =
        AssembleCommandLine(shortEmulator, shortRom, request.options, request.cheatCodes);

    if (const auto warning = LengthWarning(commandLine)) {
        platform_.messages.Show(HumanError(*warning));
    }

    // The mark goes again however the start ends, a failure thrown on the way included.
    struct RunningMark {
        WindowCaption& marked;
        explicit RunningMark(WindowCaption& window) : marked(window) {
            marked.SetCaption(marked.Caption() + kRunningMark);
        }
        ~RunningMark() {
            try {
                marked.SetCaption(WithoutRunningMark(marked.Caption()));
            } catch (...) {
                // Out of memory for the caption: it keeps its mark, and Lumarel goes on.
            }
        }
    } running(caption);
    if (!RecordCommandLine(commandLine)) {
        return;
    }
    // The emulator is named in full, never looked for: the short form when there is one,
    // else the path as given, whose absence the start then reports.
    StartEmulator(shortEmulator.empty() ? request.emulatorPath : shortEmulator, commandLine,
                  request.emulatorPath);
}

bool RunAction::RecordCommandLine(const std::wstring& commandLine) {
    const OsResult recorded = platform_.textFiles.AppendLine(kDiagnosticFile, commandLine);
    if (recorded.GivenUp()) {
        return false;  // the person stopped waiting for drive C: the start is off
    }
    if (recorded.ok || diagnosticFailureReported_) {
        return true;
    }
    diagnosticFailureReported_ = true;
    std::wstring text = std::wstring(L"The command line could not be recorded in ") +
                        kDiagnosticFile + L":\n" + recorded.reason;
    // Windows lets only administrators create files in the root of drive C, so a standard
    // user's first record is refused there; once the file exists, every user may add to it.
    FileFacts record;
    if (recorded.error == kAccessDenied && platform_.textFiles.Look(kDiagnosticFile, record).ok &&
        !record.exists) {
        text += std::wstring(
                    L"\n\nOnly administrators may create files at the top of drive C. An "
                    L"administrator can create an empty ") +
                kDiagnosticFile + L" once; from then on Lumarel adds to it.";
    }
    platform_.messages.Show({text + L"\n\nThe emulator is started all the same.", L"Lumarel",
                             MessageIcon::Exclamation});
    return true;
}

void RunAction::StartEmulator(const std::wstring& program, const std::wstring& commandLine,
                              const std::wstring& emulatorPath) {
    const OsResult started = platform_.processes.Start(program, commandLine, WindowShow::Maximized);
    if (started.ok || started.GivenUp()) {
        return;  // given up while starting: it may have started, and is left to run
    }
    std::uint64_t size = 0;
    if (started.NotFound() || platform_.fileSystem.FileSize(emulatorPath, size).NotFound()) {
        platform_.messages.Show({L"Snes9x was not found:\n" + emulatorPath +
                                     L"\n\nChoose where it is under Options > File Locations.",
                                 L"Lumarel", MessageIcon::Exclamation});
        return;
    }
    platform_.messages.Show(
        {L"The emulator " + emulatorPath + L" could not be started:\n" + started.reason, L"Lumarel",
         MessageIcon::Error});
}

}  // namespace lumarel
