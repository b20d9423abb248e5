// Which chips a tuner fitting puts on a card: the PLL, and for the modules with an IF
// demodulator, a video decoder or a mode chip those chips at their addresses, linked up.
#include <gtest/gtest.h>

#include <set>

#include "hwsim/bench/Bench.h"
#include "hwsim/bench/TunerFitting.h"
#include "hwsim/chips/IfDemodulator.h"
#include "hwsim/chips/PllTuner.h"
#include "hwsim/chips/VideoDecoder.h"

namespace hwsim {
namespace {

std::unique_ptr<Bench> BenchWith(int model, const char* stations = "[]") {
    return Bench::FromText(std::string(R"({"cards": [{"kind": "713x_4 TV Card Capture", "tuner": )") +
                           std::to_string(model) + R"(}], "stations": )" + stations + "}");
}

TEST(TunerFitting, ModulesWithAnIfDemodulatorGetItBesideTheirPll) {
    const std::set<int> demodulated = {12, 13, 17, 59, 63, 67, 68, 70, 72, 75, 92, 93, 94, 96, 97, 98, 100, 132, 139};
    for (int model : {1, 4, 5, 12, 13, 17, 59, 62, 63, 67, 68, 70, 72, 73, 75, 92, 93, 94, 96, 97, 98, 100, 132, 138,
                      139}) {
        auto bench = BenchWith(model);
        Card& card = *bench->Cards()[0];
        ASSERT_NE(nullptr, dynamic_cast<PllTuner*>(card.Chip("tuner"))) << model;
        auto* demod = dynamic_cast<IfDemodulator*>(card.Chip("demodulator"));
        EXPECT_EQ(demodulated.count(model) != 0, demod != nullptr) << model;
        if (demod != nullptr) {
            EXPECT_EQ(0x43, demod->Address()) << model;
        }
        EXPECT_EQ(model == 12, card.Chip("demodulator2") != nullptr) << model;
        EXPECT_EQ(model == 97, card.Chip("decoder") != nullptr) << model;
        EXPECT_EQ(model == 100, card.Chip("mode") != nullptr) << model;
    }
    auto bench = BenchWith(12);
    EXPECT_EQ(0x2B, bench->Cards()[0]->Chip("demodulator2")->Address());
    bench = BenchWith(100);
    EXPECT_EQ(0x5B, bench->Cards()[0]->Chip("mode")->Address());
}

TEST(TunerFitting, TheDemodulatorAndDecoderFollowTheCardsPll) {
    auto bench = BenchWith(97, R"([{"kHz": 471250, "lines": 525}])");
    Card& card = *bench->Cards()[0];
    const WORD n = (38900 + 471250) * 16 / 1000;
    const BYTE bytes[4] = {BYTE(n >> 8), BYTE(n), 0xCE, 0x04};
    ASSERT_EQ(I2CResult::Ack, card.Bus().WriteRaw(0xC0, bytes, 4));
    const BYTE systemM = 0x00;  // register 2: 4.5 MHz sound carrier
    ASSERT_EQ(I2CResult::Ack, card.Bus().WriteSub(IfDemodulator::kAddress << 1, 2, &systemM, 1));
    EXPECT_EQ(IfDemodulator::kCarrier, static_cast<IfDemodulator*>(card.Chip("demodulator"))->Status());
    BYTE status = 0;
    ASSERT_EQ(I2CResult::Ack, card.Bus().ReadSub(0x42, VideoDecoder::kStatus, &status, 1));
    EXPECT_EQ(VideoDecoder::k525Lines, status & (VideoDecoder::kNoPicture | VideoDecoder::k525Lines));
    EXPECT_EQ(471250, PictureStation(card).value().frequencyKHz);
}

TEST(TunerFitting, FmModulesTuneFmWithTheirOwnBytes) {
    auto bench = Bench::FromText(R"({"cards": [{"kind": "713x_4 TV Card Capture", "tuner": 92}],
                                     "fmStations": [{"kHz": 100000}]})");
    Card& card = *bench->Cards()[0];
    const BYTE bytes[4] = {0x08, 0xA6, 0x88, 0x19};
    ASSERT_EQ(I2CResult::Ack, card.Bus().WriteRaw(0xC0, bytes, 4));
    auto* pll = static_cast<PllTuner*>(card.Chip("tuner"));
    EXPECT_TRUE(pll->FmMode());
    EXPECT_EQ(100000, pll->FmKHz());
    EXPECT_EQ(PllTuner::kLockBit | 4, pll->Status());
    EXPECT_FALSE(TunerSeesPicture(card));
}

}  // namespace
}  // namespace hwsim
