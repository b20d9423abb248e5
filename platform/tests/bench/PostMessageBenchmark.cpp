// PostMessage-to-handler throughput: four worker threads post a private message to one dialog,
// whose message-map handler counts them on the user-interface thread.
#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

#include "afxwin.h"
#include "platform/display.h"
#include "platform/runtime.h"
#include "platform/TestThread.h"

namespace {

constexpr UINT kProgress = 0x428;
constexpr int kSenders = 4;

class Receiver : public CWnd {
public:
    afx_msg LRESULT OnProgress(WPARAM wParam, LPARAM lParam) {
        ++received;
        return 0;
    }
    long long received = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Receiver, CWnd)
    ON_MESSAGE(kProgress, OnProgress)
END_MESSAGE_MAP()

void PostMessageFromFourThreads(benchmark::State& state) {
    platform::StartDisplay(platform::DisplayKind::Headless);
    AfxRegisterWindowClasses();
    Receiver receiver;
    receiver.CreateEx(0, "AfxWnd", "receiver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    const long long perSender = state.range(0);
    for (auto _ : state) {
        receiver.received = 0;
        std::vector<platform::test::TestThread> senders;
        HWND target = receiver.m_hWnd;
        for (int t = 0; t < kSenders; ++t)
            senders.emplace_back([target, perSender] {
                // A full queue refuses a post: try again once the receiver has taken some.
                for (long long i = 0; i < perSender; ++i)
                    while (!::PostMessageA(target, kProgress, WPARAM(i), LPARAM(i))) std::this_thread::yield();
            });
        MSG msg;
        while (receiver.received < perSender * kSenders && ::GetMessageA(&msg, nullptr, 0, 0)) ::DispatchMessageA(&msg);
        for (auto& s : senders) s.Join();
    }
    state.SetItemsProcessed(state.iterations() * perSender * kSenders);
    state.counters["messages_per_second"] =
        benchmark::Counter(double(state.iterations() * perSender * kSenders), benchmark::Counter::kIsRate);
    receiver.DestroyWindow();
}

BENCHMARK(PostMessageFromFourThreads)->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
