#include "support/TwoThreadRace.h"

#include <windows.h>

#include <optional>
#include <thread>

#include "platform/TestThread.h"

namespace {

constexpr DWORD kReachMs = 200;

}  // namespace

struct TwoThreadRace::State {
    std::thread::id firstThread = std::this_thread::get_id();
    HANDLE reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const std::function<void()>* second = nullptr;
    std::optional<platform::test::TestThread> other;

    ~State() { CloseHandle(reached); }
};

TwoThreadRace::TwoThreadRace(hwsim::KsDriver& driver) : m_driver(driver) {}

TwoThreadRace::~TwoThreadRace() { m_driver.SetRequestHook({}); }

bool TwoThreadRace::Run(const std::function<void()>& first, const std::function<void()>& second,
                        const std::function<bool(const hwsim::WireRequest&)>& startAt)
{
    State state;
    state.second = &second;
    m_state = &state;
    m_driver.SetRequestHook([&](const hwsim::WireRequest& request) {
        if (std::this_thread::get_id() != state.firstThread) {
            SetEvent(state.reached);
            return;
        }
        if (startAt && startAt(request)) Pause();
    });
    first();
    const bool started = state.other.has_value();
    if (started) state.other->Join();
    m_driver.SetRequestHook({});
    m_state = nullptr;
    return started;
}

void TwoThreadRace::Pause()
{
    if (!m_state || m_state->other || std::this_thread::get_id() != m_state->firstThread) return;
    m_state->other.emplace(*m_state->second);
    WaitForSingleObject(m_state->reached, kReachMs);
}

void RaceAtRequest(hwsim::KsDriver& driver, int at, const std::function<void()>& first,
                   const std::function<void()>& second)
{
    int requests = 0;
    TwoThreadRace race(driver);
    race.Run(first, second, [&](const hwsim::WireRequest&) { return ++requests == at; });
}
