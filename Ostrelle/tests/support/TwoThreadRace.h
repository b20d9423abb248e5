// Two threads on one simulated driver, for the tests that a lock keeps a sequence of requests
// whole: `first` runs on the test's thread; at a chosen point inside it, `second` starts on a
// platform test thread and gets up to 200 ms of the platform clock to reach the driver, then
// `first` goes on. With the lock, `second` waits for the lock and the clock runs out (at once,
// in virtual time); without it, `second`'s requests land inside `first`'s sequence, where the
// test sees them. The other thread is joined before the race returns.
#pragma once

#include <functional>

#include "hwsim/drivers/KsDriver.h"

class TwoThreadRace {
public:
    explicit TwoThreadRace(hwsim::KsDriver& driver);
    ~TwoThreadRace();
    TwoThreadRace(const TwoThreadRace&) = delete;
    TwoThreadRace& operator=(const TwoThreadRace&) = delete;

    // Runs `first`; `second` starts at the first request of `first` for which `startAt`
    // answers true, or at the first Pause() that `first`'s own code calls, whichever comes
    // first. Whether `second` was started is the result.
    bool Run(const std::function<void()>& first, const std::function<void()>& second,
             const std::function<bool(const hwsim::WireRequest&)>& startAt = {});
    // On the first thread: starts `second` (once) and waits for it; anywhere else nothing.
    void Pause();

private:
    struct State;
    hwsim::KsDriver& m_driver;
    State* m_state = nullptr;
};

// Starts `second` at request number `at` (from 1) of `first`.
void RaceAtRequest(hwsim::KsDriver& driver, int at, const std::function<void()>& first,
                   const std::function<void()>& second);
