#pragma once
// The run action: from the user's choices to a started emulator.

#include <string>

#include "launch/launch_options.h"
#include "platform/services.h"

namespace lumarel {

// What the run action reads, all of it taken at the moment the user asks for a start.
struct RunRequest {
    std::wstring emulatorPath;
    std::wstring romDirectory;  // the directory the ROM list shows
    std::wstring romEntry;      // its selected entry; empty when none is selected
    LaunchOptions options;
    CheatCodes cheatCodes;
};

// The caption of the window that asked for the start, marked while the emulator starts.
class WindowCaption {
public:
    virtual ~WindowCaption() = default;
    virtual std::wstring Caption() = 0;
    virtual void SetCaption(const std::wstring& caption) = 0;
};

inline constexpr wchar_t kDiagnosticFile[] = L"c:\\qzdebug.out";
inline constexpr wchar_t kRunningMark[] = L" - [Running]";

class RunAction {
public:
    explicit RunAction(const Platform& platform) : platform_(platform) {}

    void Run(const RunRequest& request, WindowCaption& caption);

private:
    // False when the person stopped waiting for the record: the start is off.
    bool RecordCommandLine(const std::wstring& commandLine);
    void StartEmulator(const std::wstring& program, const std::wstring& commandLine,
                       const std::wstring& emulatorPath);

    Platform platform_;
    // Users who may not write to C:\ are told once per run, not at every start.
    bool diagnosticFailureReported_ = false;
};

}  // namespace lumarel
