// The card manager on a simulated Rivesk encoder card (access kind 11), end to end: the card
// routes every input through its upstream crossbar device itself, video then audio.
#include <gtest/gtest.h>

#include <objbase.h>

#include <memory>

#include "CardMan.h"
#include "StationFilterClasses.h"
#include "cards/base/CardFilterClasses.h"
#include "cards/encoders/RiveskCardFilter.h"
#include "graph/FilterClassRecord.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"
#include "platform/runtime.h"

namespace {

long RoutedTo(IAMCrossbar* crossbar, long output) {
    long input = -1;
    crossbar->get_IsRoutedTo(output, &input);
    return input;
}

TEST(CardManRivesk, SelectInputRoutesTheCardsCrossbarForEveryInput) {
    CoInitialize(nullptr);
    RegisterGraphFilterClasses();
    RegisterCardFilterClasses();
    RegisterStationFilterClasses();
    {
        auto bench = hwsim::Bench::FromText(
            R"({"cards": [{"kind": "Rivesk Video Capture", "tuner": 5}], "stations": [{"kHz": 49750}]})");
        auto devices = std::make_unique<hwsim::BenchDevices>(*bench);
        CCardMan card(CCardName(CRiveskCardFilter::kCaptureName, CRiveskCrossbarFilter::kCrossbarName, 0));
        ASSERT_TRUE(card.Create());
        ASSERT_TRUE(card.IsCardKind11());
        auto* rivesk = dynamic_cast<CRiveskCardFilter*>(card.GetCardFilter());
        ASSERT_NE(rivesk, nullptr);
        CComPtr<IAMCrossbar> crossbar;
        ASSERT_EQ(rivesk->GetCrossbar(&crossbar), S_OK);
        ASSERT_NE(crossbar.p, nullptr);
        // Tuner, composite, S-video: video pins 0, 2, 1; audio 3 for the tuner, 4 for the line.
        const struct {
            int input;
            long video, audio;
        } cases[] = {{1, 2, 4}, {2, 1, 4}, {0, 0, 3}};
        for (const auto& c : cases) {
            EXPECT_TRUE(card.SelectInput(c.input)) << "input " << c.input;
            EXPECT_EQ(card.GetCurrentInput(), c.input);
            EXPECT_EQ(RoutedTo(crossbar, 0), c.video) << "input " << c.input;
            EXPECT_EQ(RoutedTo(crossbar, 1), c.audio) << "input " << c.input;
        }
        crossbar.Release();
        card.Release();
    }
    CoUninitialize();
}

}  // namespace
