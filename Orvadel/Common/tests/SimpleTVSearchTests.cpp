// The channel-scan thread against a scripted tuner: the messages it posts, the settle delay on
// the platform clock, and stopping.
#include <gtest/gtest.h>

#include <windows.h>

#include <mutex>
#include <memory>
#include <set>
#include <vector>

#include "SimpleTVSearch.h"
#include "platform/runtime.h"
#include "tuners/TunerBase.h"

namespace {

// Tunes every frequency but the refused ones; the status is the frequency's MHz (mod 256).
class ScriptedTuner : public CSearchTunerInterface {
public:
    bool SetFrequence(int hz) override {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            tuned.push_back(hz);
            tunedAt.push_back(platform::ClockNow());
            m_last = hz;
        }
        if (entered != nullptr) SetEvent(entered);
        if (holdMs != 0) Sleep(holdMs);
        return refused.count(hz) == 0;
    }
    bool GetStatus(BYTE& status) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        status = static_cast<BYTE>(m_last / 1000000);
        return true;
    }

    std::set<int> refused;
    HANDLE entered = nullptr;
    DWORD holdMs = 0;
    std::vector<int> tuned;
    std::vector<ULONGLONG> tunedAt;

    size_t TunedCount() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return tuned.size();
    }

private:
    std::mutex m_mutex;
    int m_last = 0;
};

struct Message {
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
};

class SimpleTVSearchTest : public testing::Test {
protected:
    SimpleTVSearchTest() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.lpszClassName = "SearchTarget";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "SearchTarget", "scan", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    ~SimpleTVSearchTest() override {
        if (IsWindow(window)) DestroyWindow(window);
    }

    // The scan messages queued for the window up to and including the end message (pumping until
    // it arrives), then whatever else is queued now.
    std::vector<Message> Collect() {
        std::vector<Message> got;
        MSG msg;
        bool ended = false;
        while (!ended && GetMessageA(&msg, nullptr, 0, 0)) {
            if (msg.message == WM_TV_SEARCH_STEP || msg.message == WM_TV_SEARCH_END) {
                got.push_back({msg.message, msg.wParam, msg.lParam});
                ended = msg.message == WM_TV_SEARCH_END;
            }
        }
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TV_SEARCH_STEP || msg.message == WM_TV_SEARCH_END) {
                got.push_back({msg.message, msg.wParam, msg.lParam});
            }
        }
        return got;
    }

    HWND window = nullptr;
    ScriptedTuner tuner;
};

TEST_F(SimpleTVSearchTest, StepsInListOrderWithZeroForARefusedFrequencyThenTheEnd) {
    tuner.refused = {503250000};
    const int list[] = {471250000, 503250000, 783250999, 999};
    CSimpleTVSearch search(&tuner, window);
    search.SetFrequencyList(list, 4);
    search.SetFrequencyList(nullptr, 2);  // ignored
    search.SetFrequencyList(list, 0);     // ignored
    const ULONGLONG start = platform::ClockNow();
    search.Resume();
    std::vector<Message> got = Collect();
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].wParam, 471250u);
    EXPECT_EQ(got[0].lParam, 471 % 256);
    EXPECT_EQ(got[1].wParam, 503250u);
    EXPECT_EQ(got[1].lParam, 0) << "refused: status 0";
    EXPECT_EQ(got[2].wParam, 783250u) << "kHz rounded down";
    EXPECT_EQ(got[2].lParam, 783 % 256);
    EXPECT_EQ(got[3].wParam, 0u) << "999 Hz is 0 kHz";
    EXPECT_EQ(got[4].id, static_cast<UINT>(WM_TV_SEARCH_END));
    EXPECT_EQ(got[4].wParam, 0u);
    EXPECT_EQ(got[4].lParam, 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(got[i].id, static_cast<UINT>(WM_TV_SEARCH_STEP));
    // The settle delay (100 ms) follows each tuned frequency, none follows the refused one.
    ASSERT_EQ(tuner.tunedAt.size(), 4u);
    EXPECT_EQ(tuner.tunedAt[0] - start, 0u);
    EXPECT_EQ(tuner.tunedAt[1] - tuner.tunedAt[0], 100u);
    EXPECT_EQ(tuner.tunedAt[2] - tuner.tunedAt[1], 0u);
    EXPECT_EQ(tuner.tunedAt[3] - tuner.tunedAt[2], 100u);
    EXPECT_TRUE(platform::TraceContains("CSimpleTVSearch::SetFrequence 503250000 Hz\n"));
    EXPECT_TRUE(platform::TraceContains("CSimpleTVSearch::GetStatus 215\n"));
}

TEST_F(SimpleTVSearchTest, DelayChangedDuringTheScanTakesEffectAtTheNextFrequency) {
    const int list[] = {100000000, 200000000, 300000000};
    tuner.entered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CSimpleTVSearch search(&tuner, window);
    search.SetDelay(1000);
    search.SetFrequencyList(list, 3);
    search.Resume();
    WaitForSingleObject(tuner.entered, INFINITE);
    search.SetDelay(40);
    Collect();
    ASSERT_EQ(tuner.tunedAt.size(), 3u);
    const ULONGLONG first = tuner.tunedAt[1] - tuner.tunedAt[0];
    EXPECT_TRUE(first == 1000u || first == 40u) << first;
    EXPECT_EQ(tuner.tunedAt[2] - tuner.tunedAt[1], 40u);
    CloseHandle(tuner.entered);
}

TEST_F(SimpleTVSearchTest, EmptyListPostsOnlyTheEndAndNoTunerPostsNothing) {
    {
        CSimpleTVSearch search(&tuner, window);
        search.Resume();
        std::vector<Message> got = Collect();
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].id, static_cast<UINT>(WM_TV_SEARCH_END));
    }
    {
        const int list[] = {100000000};
        CSimpleTVSearch search(nullptr, window);
        search.SetFrequencyList(list, 1);
        EXPECT_FALSE(search.SetFrequence(100000000));
        EXPECT_EQ(search.GetStatus(), 0);
        search.Resume();
        search.Stop();
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    }
    EXPECT_TRUE(tuner.tuned.empty());
}

TEST_F(SimpleTVSearchTest, StopDuringTheSettleWaitPostsNoStepForThatFrequencyAndOneEnd) {
    const int list[] = {100000000, 200000000};
    tuner.entered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    auto search = std::make_unique<CSimpleTVSearch>(&tuner, window);
    search->SetDelay(600000);
    search->SetFrequencyList(list, 2);
    search->Resume();
    WaitForSingleObject(tuner.entered, INFINITE);
    const ULONGLONG before = platform::ClockNow();
    search.reset();  // the destructor stops the thread
    EXPECT_LT(platform::ClockNow() - before, 600000u) << "the stop ends the wait";
    std::vector<Message> got = Collect();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].id, static_cast<UINT>(WM_TV_SEARCH_END));
    EXPECT_EQ(tuner.tuned.size(), 1u);
    CloseHandle(tuner.entered);
}

// A stop while frequencies keep failing ends the scan after the tuning in progress, with its end
// message, instead of running down the rest of the list.
TEST_F(SimpleTVSearchTest, StopWhileTuningFailsEndsAfterTheCurrentFrequency) {
    const int list[] = {100000000, 200000000, 300000000, 400000000, 500000000};
    tuner.refused = {100000000, 200000000, 300000000, 400000000, 500000000};
    tuner.entered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    tuner.holdMs = 50;
    CSimpleTVSearch search(&tuner, window);
    search.SetFrequencyList(list, 5);
    search.Resume();
    WaitForSingleObject(tuner.entered, INFINITE);
    search.Stop();
    std::vector<Message> got = Collect();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].id, static_cast<UINT>(WM_TV_SEARCH_STEP));
    EXPECT_EQ(got[0].wParam, 100000u);
    EXPECT_EQ(got[0].lParam, 0);
    EXPECT_EQ(got[1].id, static_cast<UINT>(WM_TV_SEARCH_END));
    EXPECT_EQ(tuner.tuned.size(), 1u);
    CloseHandle(tuner.entered);
}

TEST_F(SimpleTVSearchTest, StepsToADestroyedWindowAreDroppedButTheEndIsStillPosted) {
    const int list[] = {100000000, 200000000};
    DestroyWindow(window);
    CSimpleTVSearch search(&tuner, window);
    search.SetFrequencyList(list, 2);
    search.Resume();
    while (tuner.TunedCount() < 2) Sleep(10);
    search.Stop();
    EXPECT_EQ(tuner.tuned.size(), 2u);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TV_SEARCH_STEP, WM_TV_SEARCH_STEP, PM_REMOVE));
}

}  // namespace
