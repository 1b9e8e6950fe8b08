#pragma once
// Calls that may wait on a device: a network share that sleeps or is gone, a disk that spins
// up. The carrier runs such a call away from the window's thread while that thread waits in
// a way that keeps the windows painting and answering, and lets the person give the wait up.
// The handler that made the call still runs to its end on the window's thread, in its order.

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/os_result.h"

namespace lumarel {

// How a carried call ended.
enum class CallEnd {
    Answered,
    GivenUp,       // the person stopped waiting, now or earlier in the same action
    NotAnswering,  // calls to the device given up before still wait: no more are sent
    Busy,          // asked while another call was waited for (by a message another program sent)
};

// The failure a call that was not answered stands for, in Lumarel's own words.
OsResult UnansweredCall(CallEnd end);

template <typename Result>
struct Carried {
    std::optional<Result> answer;  // what the call returned, when it was answered
    CallEnd end = CallEnd::Answered;
};

class CallCarrier {
public:
    virtual ~CallCarrier() = default;

    // Runs `call`, which reaches `device` ("C:", "\\server\share": see DeviceOf), and gives
    // what it returned. A call given up goes on alone and its answer is dropped, so the call
    // must own everything it touches: take its arguments by value, never by reference. What
    // it throws comes back here, thrown again on the caller's thread.
    template <typename Call>
    auto Carry(const std::wstring& device, Call call) -> Carried<decltype(call())> {
        using Result = decltype(call());
        auto work = std::make_shared<WorkOf<Result, Call>>(std::move(call));
        Carried<Result> carried;
        carried.end = Wait(device, work);
        if (carried.end == CallEnd::Answered) {
            if (work->failure) {
                std::rethrow_exception(work->failure);
            }
            carried.answer = std::move(work->result);
        }
        return carried;
    }

    // Whether the person gave up a wait of the action under way (the message being
    // handled): its remaining calls end at once instead of making the person wait again.
    virtual bool ActionGivenUp() const = 0;

    // While set, a wait that lasts longer than `afterMs` runs `notice` once, inside the wait
    // (the main window shows itself during a slow start). An empty notice takes it back.
    virtual void NoticeLongWaits(unsigned long afterMs, std::function<void()> notice) = 0;

protected:
    // A call with the place for its answer, shared by the caller and whoever runs it.
    class Work {
    public:
        virtual ~Work() = default;
        // Runs the call once; what it throws is kept in `failure`.
        virtual void Run() noexcept = 0;
        std::exception_ptr failure;
    };

    // Runs `work`, here or elsewhere, and tells how the wait for it ended; its answer is in
    // `work` when it was answered.
    virtual CallEnd Wait(const std::wstring& device, const std::shared_ptr<Work>& work) = 0;

private:
    template <typename Result, typename Call>
    class WorkOf final : public Work {
    public:
        explicit WorkOf(Call call) : call_(std::move(call)) {}
        void Run() noexcept override {
            try {
                result.emplace(call_());
            } catch (...) {
                failure = std::current_exception();
            }
        }
        std::optional<Result> result;

    private:
        Call call_;
    };
};

// Sets a long-wait notice for as long as it lives.
class LongWaitNotice {
public:
    LongWaitNotice(CallCarrier& carrier, unsigned long afterMs, std::function<void()> notice)
        : carrier_(carrier) {
        carrier_.NoticeLongWaits(afterMs, std::move(notice));
    }
    ~LongWaitNotice() { carrier_.NoticeLongWaits(0, {}); }
    LongWaitNotice(const LongWaitNotice&) = delete;
    LongWaitNotice& operator=(const LongWaitNotice&) = delete;

private:
    CallCarrier& carrier_;
};

}  // namespace lumarel
