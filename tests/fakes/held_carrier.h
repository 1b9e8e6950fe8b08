#pragma once
// A carrier whose calls a window test can hold, on the test's one thread: a held call waits
// live, with the real wait of live_wait.h, as it would for a drive that does not answer. The
// test acts meanwhile as a person or another program would (a key, the close box, a second
// change), then lets the call answer, or leaves the wait to the person to give up.

#include <windows.h>

#include <map>
#include <functional>
#include <string>
#include <vector>

#include "platform/call_carrier.h"
#include "platform/owned.h"
#include "platform/win32/live_wait.h"
#include "platform/services.h"
#include "platform/carried_services.h"
#include "tests/fakes/fake_platform.h"

namespace lumarel::testing {

// What a held call does after the test has acted.
enum class AfterActing {
    Answer,       // the drive answers now
    KeepWaiting,  // until the person gives the wait up (or the test answers later)
};

// The test's part while a call is held: called at every look of the wait at the queue, with
// how long the call has waited so far, until it lets the call answer.
using WhileHeld = std::function<AfterActing(ULONGLONG waitedMs)>;

// An act done once, at the wait's first look; the call then waits on.
inline WhileHeld Once(std::function<void()> act) {
    return [act = std::move(act), done = false](ULONGLONG) mutable {
        if (!done) {
            done = true;
            act();
        }
        return AfterActing::KeepWaiting;
    };
}

class HeldCarrier final : public CallCarrier {
public:
    // The nth call from now (1: the next) is held, with `whileHeld` acting meanwhile.
    void HoldCall(int nth, WhileHeld whileHeld) {
        holds_[static_cast<int>(devices.size()) + nth] = std::move(whileHeld);
    }

    bool ActionGivenUp() const override { return win32::ActionGivenUp(); }
    void NoticeLongWaits(unsigned long afterMs, std::function<void()> notice) override {
        hooks_.noticeAfterMs = afterMs;
        hooks_.notice = std::move(notice);
    }

    std::vector<std::wstring> devices;  // the device of every call, in order
    int heldCalls = 0;
    // A held call nobody gave up or answered within 10 s: it answers then, so that no test
    // hangs, and the test fails on this.
    bool answeredByTimeLimit = false;

protected:
    CallEnd Wait(const std::wstring& device, const std::shared_ptr<Work>& work) override {
        devices.push_back(device);
        if (win32::ActionGivenUp()) {
            return CallEnd::GivenUp;
        }
        if (win32::WaitUnderWay()) {
            return CallEnd::Busy;
        }
        const auto hold = holds_.find(static_cast<int>(devices.size()));
        if (hold == holds_.end()) {
            work->Run();
            return CallEnd::Answered;
        }
        ++heldCalls;
        const WhileHeld whileHeld = std::move(hold->second);
        holds_.erase(hold);
        const OwnedHandle answered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        const ULONGLONG started = GetTickCount64();
        win32::WaitHooks hooks = hooks_;
        hooks.eachPass = [&] {
            if (WaitForSingleObject(answered.Get(), 0) == WAIT_OBJECT_0) {
                return;
            }
            const ULONGLONG waited = GetTickCount64() - started;
            const bool timedOut = waited > 10'000;
            if (whileHeld(waited) == AfterActing::Answer || timedOut) {
                answeredByTimeLimit = answeredByTimeLimit || timedOut;
                work->Run();
                SetEvent(answered.Get());
            }
        };
        return win32::WaitLive(answered.Get(), hooks) == win32::WaitEnd::Answered
                   ? CallEnd::Answered
                   : CallEnd::GivenUp;
    }

private:
    std::map<int, WhileHeld> holds_;  // by the call's number
    win32::WaitHooks hooks_;
};

// The fakes, with the calls that may wait carried by a held carrier, as the real program
// carries the real calls.
struct HeldPlatform {
    FakePlatform fake;
    HeldCarrier carrier;
    CarriedShortPaths shortPaths{fake.shortPaths, carrier};
    CarriedProcessStarter processes{fake.processes, carrier};
    CarriedTextFiles textFiles{fake.textFiles, carrier};
    CarriedFileSystem fileSystem{fake.fileSystem, carrier};

    Platform Services() {
        return {fake.messages, shortPaths, processes, textFiles, fileSystem, fake.session, carrier};
    }
};

// Delivers everything waiting as the message loop does: each message an action of its own,
// and between them what handlers that waited put off.
inline void DeliverAsTheLoopDoes() {
    MSG message;
    win32::RunWorkAfterHandlers();
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        win32::StartNextAction();
        TranslateMessage(&message);
        DispatchMessageW(&message);
        win32::RunWorkAfterHandlers();
    }
}

}  // namespace lumarel::testing
