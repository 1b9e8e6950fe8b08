#include <windows.h>

#include <map>
#include <memory>

#include "platform/owned.h"
#include "platform/win32/live_wait.h"
#include "platform/win32/win32_services.h"

namespace lumarel {

namespace {

// Given-up calls that may still wait on one device before the device counts as not
// answering: a second chance for a share that woke up meanwhile, and no more threads.
constexpr int kMostGivenUpPerDevice = 2;

// Room for the system's file calls, reserved rather than committed.
constexpr SIZE_T kCarryingStackBytes = 256 * 1024;

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

}  // namespace

// What the carrier shares with its threads: the given-up calls still running, per device.
struct Win32CallCarrier::Shared {
    SRWLOCK lock = SRWLOCK_INIT;
    std::map<std::wstring, int> givenUpStillRunning;
};

// One call: what it runs, and whether anyone still waits for it.
struct Win32CallCarrier::Call {
    std::shared_ptr<Work> work;
    std::wstring device;
    OwnedHandle answered;   // set once the call has returned
    bool finished = false;  // under Shared::lock
    bool givenUp = false;   // under Shared::lock
};

// A thread that carries calls one after another, so that a call costs no thread of its own.
// It ends with a call that was given up, and when the carrier goes.
struct Win32CallCarrier::Carrying {
    std::shared_ptr<Shared> shared;
    OwnedHandle wake{CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // a call is there, or none
    std::shared_ptr<Call> next;                                      // under Shared::lock
};

Win32CallCarrier::Win32CallCarrier() : shared_(std::make_shared<Shared>()) {}

Win32CallCarrier::~Win32CallCarrier() {
    if (idle_) {
        SetEvent(idle_->wake.Get());  // with no call: the thread ends
    }
}

bool Win32CallCarrier::ActionGivenUp() const {
    return win32::ActionGivenUp();
}

void Win32CallCarrier::NoticeLongWaits(unsigned long afterMs, std::function<void()> notice) {
    hooks_.noticeAfterMs = afterMs;
    hooks_.notice = std::move(notice);
}

DWORD WINAPI Win32CallCarrier::CarryOn(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Carrying>> owned(
        static_cast<std::shared_ptr<Carrying>*>(parameter));
    Carrying& thread = **owned;
    Shared& shared = *thread.shared;
    for (;;) {
        WaitForSingleObject(thread.wake.Get(), INFINITE);
        std::shared_ptr<Call> call;
        {
            const ExclusiveLock lock(shared.lock);
            call = std::move(thread.next);
        }
        if (!call) {
            return 0;
        }
        call->work->Run();
        bool givenUp = false;
        {
            const ExclusiveLock lock(shared.lock);
            call->finished = true;
            givenUp = call->givenUp;
            if (givenUp && --shared.givenUpStillRunning[call->device] <= 0) {
                shared.givenUpStillRunning.erase(call->device);
            }
        }
        SetEvent(call->answered.Get());
        if (givenUp) {
            return 0;  // the carrier took another thread meanwhile
        }
    }
}

std::shared_ptr<Win32CallCarrier::Carrying> Win32CallCarrier::TakeThread() {
    if (idle_) {
        return std::exchange(idle_, nullptr);
    }
    auto thread = std::make_shared<Carrying>();
    thread->shared = shared_;
    if (!thread->wake) {
        return nullptr;
    }
    auto parameter = std::make_unique<std::shared_ptr<Carrying>>(thread);
    const OwnedHandle started(CreateThread(nullptr, kCarryingStackBytes, CarryOn, parameter.get(),
                                           STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!started) {
        return nullptr;
    }
    parameter.release();  // the thread's now
    return thread;
}

CallEnd Win32CallCarrier::Wait(const std::wstring& device, const std::shared_ptr<Work>& work) {
    if (win32::ActionGivenUp()) {
        return CallEnd::GivenUp;
    }
    if (win32::WaitUnderWay()) {
        return CallEnd::Busy;
    }
    {
        const ExclusiveLock lock(shared_->lock);
        const auto stillRunning = shared_->givenUpStillRunning.find(device);
        if (stillRunning != shared_->givenUpStillRunning.end() &&
            stillRunning->second >= kMostGivenUpPerDevice) {
            return CallEnd::NotAnswering;
        }
    }
    auto call = std::make_shared<Call>();
    call->work = work;
    call->device = device;
    call->answered.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const std::shared_ptr<Carrying> thread = call->answered ? TakeThread() : nullptr;
    if (!thread) {
        // No thread to be had: the call runs here, as any call would.
        work->Run();
        return CallEnd::Answered;
    }
    {
        const ExclusiveLock lock(shared_->lock);
        thread->next = call;
    }
    SetEvent(thread->wake.Get());
    win32::WaitEnd end = win32::WaitEnd::GivenUp;
    try {
        end = win32::WaitLive(call->answered.Get(), hooks_);
    } catch (...) {
        GiveUp(thread, *call);  // the wait itself failed: the call goes on alone
        throw;
    }
    if (end == win32::WaitEnd::Answered) {
        idle_ = thread;
        return CallEnd::Answered;
    }
    GiveUp(thread, *call);
    return CallEnd::GivenUp;
}

void Win32CallCarrier::GiveUp(const std::shared_ptr<Carrying>& thread, Call& call) {
    const ExclusiveLock lock(shared_->lock);
    if (call.finished) {
        idle_ = thread;  // it answered as the wait was given up
    } else {
        call.givenUp = true;
        ++shared_->givenUpStillRunning[call.device];
    }
}

}  // namespace lumarel
