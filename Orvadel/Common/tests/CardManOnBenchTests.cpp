// The card manager over the simulated cards: its crossbar placed when the card opens, inputs
// routed through it, the preview graph running with frames at the renderer, and format changes
// refused while the graph runs.
#include <gtest/gtest.h>

#include <objbase.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>
#include <typeinfo>

#include "CardMan.h"
#include "MultiCardMan.h"
#include "SimpleTVSearch.h"
#include "StationFilterClasses.h"
#include "cards/base/CardFilterClasses.h"
#include "cards/saa713x/Kesh713xCardFilter.h"
#include "cards/saa713x/QelCardFilter.h"
#include "platform/runtime.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"

namespace {

class CardManOnBenchTest : public testing::Test {
protected:
    CardManOnBenchTest() {
        CoInitialize(nullptr);
        RegisterGraphFilterClasses();
        RegisterCardFilterClasses();
        RegisterStationFilterClasses();
        // The Qel card's EEPROM names its tuner: maker 'T' at 0x20, model 5 at 0x21.
        bench = hwsim::Bench::FromText(
            R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 95}, {"kind": "713x_4 TV Card Capture", "tuner": 5,
                                                           "eeprom": {"hex": ")" + std::string(64, '0') + R"(5405"}}],
                 "stations": [{"kHz": 49750, "name": "C1"}, {"kHz": 168250, "name": "C6"}]})");
        devices = std::make_unique<hwsim::BenchDevices>(*bench);
        EXPECT_TRUE(cards.Init());
        EXPECT_EQ(cards.CreateAll(), 2);
    }
    ~CardManOnBenchTest() override {
        cards.ReleaseAll();
        devices.reset();
        bench.reset();
        CoUninitialize();
    }
    CCardMan& Kesh() { return *cards.GetCard(0); }
    CCardMan& Qel() { return *cards.GetCard(1); }

    std::unique_ptr<hwsim::Bench> bench;
    std::unique_ptr<hwsim::BenchDevices> devices;
    CMultiCardMan cards;
};

int CrossbarsInGraph(CRootGraph& graph) {
    CComPtr<IEnumFilters> filters;
    if (FAILED(graph.GetGraphBuilder()->EnumFilters(&filters))) return -1;
    int count = 0;
    for (;;) {
        CComPtr<IBaseFilter> filter;
        if (filters->Next(1, &filter, nullptr) != S_OK) return count;
        CComPtr<IAMCrossbar> crossbar;
        if (SUCCEEDED(filter->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(&crossbar)))) ++count;
    }
}

long RoutedTo(CCrossbarFilter* crossbar, long output) {
    CComPtr<IAMCrossbar> control;
    crossbar->GetFilter()->QueryInterface(IID_IAMCrossbar, reinterpret_cast<void**>(&control));
    long input = -1;
    if (control != nullptr) control->get_IsRoutedTo(output, &input);
    return input;
}

TEST_F(CardManOnBenchTest, EachCardHasOneCrossbarOfItsOwnClassInItsGraph) {
    ASSERT_NE(Kesh().GetCrossbar(), nullptr);
    EXPECT_NE(dynamic_cast<CKesh713xCrossbarFilter*>(Kesh().GetCrossbar()), nullptr);
    EXPECT_EQ(CrossbarsInGraph(Kesh().GetGraph()), 1);
    ASSERT_NE(Qel().GetCrossbar(), nullptr);
    EXPECT_EQ(CrossbarsInGraph(Qel().GetGraph()), 1);
    // Opening again keeps the slots.
    CCrossbarFilter* crossbar = Kesh().GetCrossbar();
    EXPECT_TRUE(Kesh().Create());
    EXPECT_EQ(Kesh().GetCrossbar(), crossbar);
    EXPECT_EQ(CrossbarsInGraph(Kesh().GetGraph()), 1);
}

TEST_F(CardManOnBenchTest, ACrossbarTheTunerSearchBroughtInIsWrappedNotOpenedAgain) {
    // The crossbar device cannot be bound while the card opens: the card opens without it.
    CCardMan card(Qel().GetRow());
    platform::InjectFailure("IMoniker::BindToObject", 1, 0, 1);
    ASSERT_TRUE(card.Create());
    platform::ClearFailures();
    ASSERT_EQ(card.GetCrossbar(), nullptr);
    EXPECT_FALSE(card.SelectInput(1));
    EXPECT_EQ(CrossbarsInGraph(card.GetGraph()), 0);
    // The Qel card's tuner search brings the crossbar in through the capture graph builder.
    auto* qel = dynamic_cast<CQelCardFilter*>(card.GetCardFilter());
    ASSERT_NE(qel, nullptr);
    ASSERT_EQ(qel->FindTunerInterface(), S_OK);
    ASSERT_EQ(CrossbarsInGraph(card.GetGraph()), 1);
    ASSERT_TRUE(card.Create());
    ASSERT_NE(card.GetCrossbar(), nullptr);
    EXPECT_EQ(CrossbarsInGraph(card.GetGraph()), 1);
    EXPECT_EQ(typeid(*card.GetCrossbar()), typeid(CCrossbarFilter)) << "the builder's filter, wrapped";
    EXPECT_TRUE(card.SelectInput(1));
}

TEST_F(CardManOnBenchTest, SelectInputRoutesTheCrossbarAndKeepsTheInputThatWorked) {
    for (CCardMan* card : {&Kesh(), &Qel()}) {
        CCrossbarFilter* crossbar = card->GetCrossbar();
        ASSERT_NE(crossbar, nullptr);
        ASSERT_TRUE(card->SelectInput(1));
        EXPECT_EQ(card->GetCurrentInput(), 1);
        EXPECT_EQ(RoutedTo(crossbar, CCrossbarFilter::kVideoOutputPin), crossbar->GetVideoRoute(1));
        EXPECT_EQ(RoutedTo(crossbar, CCrossbarFilter::kAudioOutputPin), crossbar->GetAudioRoute(1));
        ASSERT_TRUE(card->SelectInput(5)) << "any other input: the first sources";
        EXPECT_EQ(RoutedTo(crossbar, CCrossbarFilter::kVideoOutputPin), crossbar->GetVideoRoute(0));
        EXPECT_EQ(RoutedTo(crossbar, CCrossbarFilter::kAudioOutputPin), crossbar->GetAudioRoute(0));
        EXPECT_EQ(card->GetCurrentInput(), 5);
    }
    bench->Cards()[0]->Unplug();
    EXPECT_FALSE(Kesh().SelectInput(2));
    EXPECT_EQ(Kesh().GetCurrentInput(), 5);
}

TEST_F(CardManOnBenchTest, PreviewRunsAndFormatChangesWaitForAStoppedGraph) {
    CCardMan& card = Kesh();
    SIZE before{};
    ASSERT_TRUE(card.GetVideoSize(&before));
    long standardBefore = 0;
    ASSERT_TRUE(SUCCEEDED(card.GetCardFilter()->GetVideoStandard(nullptr, &standardBefore)));
    ASSERT_NE(standardBefore, AnalogVideo_NTSC_M);
    ASSERT_TRUE(card.BuildPreview());
    ASSERT_NE(card.GetVmr(), nullptr);
    EXPECT_EQ(card.GetGraph().GetState(), GRAPH_STATE_RUNNING);
    // Refused, not asserted, while the graph runs; nothing changes.
    EXPECT_FALSE(card.SetVideoSize(SIZE{352, 288}));
    EXPECT_FALSE(card.SetVideoStandard(AnalogVideo_NTSC_M));
    SIZE now{};
    ASSERT_TRUE(card.GetVideoSize(&now));
    EXPECT_EQ(now.cx, before.cx);
    EXPECT_EQ(now.cy, before.cy);
    long standard = 0;
    card.GetCardFilter()->GetVideoStandard(nullptr, &standard);
    EXPECT_EQ(standard, standardBefore);

    card.StopGraph();
    EXPECT_TRUE(card.SetVideoSize(SIZE{352, 288}));
    ASSERT_TRUE(card.GetVideoSize(&now));
    EXPECT_EQ(now.cx, 352);
    EXPECT_EQ(now.cy, 288);
    EXPECT_TRUE(card.SetVideoStandard(AnalogVideo_NTSC_M));
}

TEST_F(CardManOnBenchTest, SearchStepsThroughTheListOnTheCardsTunerThenEnds) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.lpszClassName = "CardSearchTarget";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "CardSearchTarget", "scan", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const int list[] = {49750000, 100000000, 168250000};
    ASSERT_TRUE(Qel().StartSearch(window, 200, list, 3));
    EXPECT_TRUE(Qel().IsSearching());
    EXPECT_FALSE(Qel().StartSearch(window, 200, list, 3)) << "one scan at a time";
    std::vector<std::pair<WPARAM, LPARAM>> steps;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) && msg.message != WM_TV_SEARCH_END) {
        if (msg.message == WM_TV_SEARCH_STEP) steps.emplace_back(msg.wParam, msg.lParam);
    }
    const std::vector<std::pair<WPARAM, LPARAM>> expected{{49750, 1}, {100000, 0}, {168250, 1}};
    EXPECT_EQ(steps, expected);
    Qel().StopSearch();
    EXPECT_FALSE(Qel().IsSearching());
    // Release ends a scan that still runs.
    ASSERT_TRUE(Qel().StartSearch(window, 5000, list, 3));
    Qel().Release();
    EXPECT_FALSE(Qel().IsSearching());
    int ends = 0;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ends += msg.message == WM_TV_SEARCH_END;
    EXPECT_EQ(ends, 1) << "the stopped scan says so once";
    DestroyWindow(window);
}

}  // namespace
