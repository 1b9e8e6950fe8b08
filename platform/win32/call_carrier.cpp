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

// The given-up calls still running, per device; shared with the threads that carry them.
struct Win32CallCarrier::Devices {
    SRWLOCK lock = SRWLOCK_INIT;
    std::map<std::wstring, int> givenUpStillRunning;
};

// One call on its thread: what it runs, and whether anyone still waits for it.
struct Win32CallCarrier::Call {
    std::shared_ptr<Work> work;
    std::wstring device;
    std::shared_ptr<Devices> devices;
    OwnedHandle answered;   // set once the call has returned
    bool finished = false;  // under devices->lock
    bool givenUp = false;   // under devices->lock
};

Win32CallCarrier::Win32CallCarrier() : devices_(std::make_shared<Devices>()) {}

Win32CallCarrier::~Win32CallCarrier() = default;

bool Win32CallCarrier::ActionGivenUp() const {
    return win32::ActionGivenUp();
}

void Win32CallCarrier::NoticeLongWaits(unsigned long afterMs, std::function<void()> notice) {
    hooks_.noticeAfterMs = afterMs;
    hooks_.notice = std::move(notice);
}

DWORD WINAPI Win32CallCarrier::CarryOn(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Call>> owned(
        static_cast<std::shared_ptr<Call>*>(parameter));
    Call& call = **owned;
    call.work->Run();
    {
        const ExclusiveLock lock(call.devices->lock);
        call.finished = true;
        if (call.givenUp && --call.devices->givenUpStillRunning[call.device] <= 0) {
            call.devices->givenUpStillRunning.erase(call.device);
        }
    }
    SetEvent(call.answered.Get());
    return 0;
}

CallEnd Win32CallCarrier::Wait(const std::wstring& device, const std::shared_ptr<Work>& work) {
    if (win32::ActionGivenUp()) {
        return CallEnd::GivenUp;
    }
    if (win32::WaitUnderWay()) {
        return CallEnd::Busy;
    }
    {
        const ExclusiveLock lock(devices_->lock);
        const auto stillRunning = devices_->givenUpStillRunning.find(device);
        if (stillRunning != devices_->givenUpStillRunning.end() &&
            stillRunning->second >= kMostGivenUpPerDevice) {
            return CallEnd::NotAnswering;
        }
    }
    auto call = std::make_shared<Call>();
    call->work = work;
    call->device = device;
    call->devices = devices_;
    call->answered.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto parameter = std::make_unique<std::shared_ptr<Call>>(call);
    const OwnedHandle thread(
        call->answered ? CreateThread(nullptr, kCarryingStackBytes, CarryOn, parameter.get(),
                                      STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr)
                       : nullptr);
    if (!thread) {
        // No thread to be had: the call runs here, as any call would.
        work->Run();
        return CallEnd::Answered;
    }
    parameter.release();  // the thread's now
    if (win32::WaitLive(call->answered.Get(), hooks_) == win32::WaitEnd::Answered) {
        return CallEnd::Answered;
    }
    const ExclusiveLock lock(devices_->lock);
    if (!call->finished) {
        call->givenUp = true;
        ++devices_->givenUpStillRunning[device];
    }
    return CallEnd::GivenUp;
}

}  // namespace lumarel
