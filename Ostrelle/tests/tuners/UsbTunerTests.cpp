// The USB tuner as the USB TV card filter makes it (the module of the model copied in, write
// address 0xC6, the video decoder probed at 0x42, then 0x4B), on a simulated EM28xx box with the
// model fitted: its PLL, its IF demodulator and the box's video decoder.
#include <gtest/gtest.h>

#include <filesystem>

#include "cards/usb/UsbTVFilter.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/CardKind.h"
#include "hwsim/boards/Em28xxBox.h"
#include "hwsim/chips/VideoDecoder.h"
#include "support/DemodBench.h"
#include "tuners/UsbTuner.h"

namespace {

constexpr const char* kBoxKind = "USB 2800 Video";

class UsbTunerTest : public DemodBench {
protected:
    // A box with `model` fitted, its PLL at `pll` (the box wires it at 0xC6; 0xC0 for the
    // modules that the tuner addresses there) and its decoder at 0x4A, or none answering for
    // `decoder` 0; then the card filter's tuner for `model`.
    void Box(int model, BYTE pll, BYTE decoder = 0x4A)
    {
        std::filesystem::remove(hwsim::Bench::StateFileFor(*hwsim::FindCardKind(kBoxKind), 0));
        const std::string bench = std::string(R"({"cards": [{"kind": ")") + kBoxKind + R"(", "tuner": )" +
                                  std::to_string(model) +
                                  R"(}], "stations": [{"kHz": 471250}, {"kHz": 147250}], "fmStations": [{"kHz": 100000}]})";
        Load(bench.c_str());
        if (pll != hwsim::kEm28xxPllAddress7 << 1) RefitPll(pll);
        if (decoder == 0) Board().Chip(hwsim::kEm28xxDecoderRole)->SetAbsent(true);
        box = dynamic_cast<CUsbTVFilter*>(OpenCard(Board()));
        ASSERT_NE(nullptr, box);
        ASSERT_TRUE(box->SetTunerModel(model));
        usb = dynamic_cast<CUsbTuner*>(box->GetTuner());
        if (model != 97) {
            ASSERT_NE(nullptr, usb);
        }
        Board().Bus().ClearLog();
    }

    // The box wires its PLL at 0xC6; the tuner addresses models 72 and 73 at 0xC0. There: a
    // PLL of the bench's default codes, the IF demodulator beside it, and the box's decoder
    // watching it.
    void RefitPll(BYTE pll)
    {
        hwsim::PllTuner::Options options;
        options.address7 = pll >> 1;
        auto* chip = static_cast<hwsim::PllTuner*>(
            Board().AddChip("tuner", std::make_unique<hwsim::PllTuner>(Board().Rf(), options)));
        auto* demod = static_cast<hwsim::IfDemodulator*>(
            Board().AddChip("demodulator", std::make_unique<hwsim::IfDemodulator>(Board().Rf())));
        demod->SetPll(chip);
        Board().AddChip(hwsim::kEm28xxDecoderRole,
                        std::make_unique<hwsim::VideoDecoder>(hwsim::kEm28xxDecoderAddress7,
                                                              [chip] { return chip->Picture(); }));
    }

    CUsbTVFilter* box = nullptr;  // owned by the graph
    CUsbTuner* usb = nullptr;     // owned by the card; null where the card made another class
};

}  // namespace

TEST_F(UsbTunerTest, TakesTheModuleDescriptionAsTheCardFilterCopiesIt)
{
    Box(13, 0xC6);
    EXPECT_EQ(13, usb->GetModelCode());
    EXPECT_EQ('G', usb->GetFactory());
    EXPECT_EQ(0x86, usb->GetReadAddress());
    EXPECT_EQ(0xC6, usb->GetWriteAddress());
    EXPECT_EQ(0, usb->GetSecondModel());  // not copied
    EXPECT_EQ(9u, usb->GetSupportedStandards().size());
    Box(72, 0xC0);
    EXPECT_EQ(2, usb->GetAfcValue2());
    EXPECT_EQ(3, usb->GetAfcValue3());
    EXPECT_EQ(0xC7, usb->GetReadAddress());
    Box(4, 0xC6);
    EXPECT_EQ(3, usb->GetAfcValue2());  // the base's AFC values stay for other models
    CUsbTuner fresh(nullptr);
    EXPECT_EQ('T', fresh.GetFactory());
    EXPECT_EQ(4, fresh.GetModelCode());
    EXPECT_EQ(0xC7, fresh.GetReadAddress());
    EXPECT_EQ(0xC6, fresh.GetWriteAddress());
}

TEST_F(UsbTunerTest, Model72TunesAtC0WithItsOwnBandTops)
{
    Box(72, 0xC0);
    ASSERT_TRUE(usb->SetTVChannelFreq(147250.0f));
    EXPECT_EQ(0x02, Pll().BandByte());
    EXPECT_EQ(0x8E, Pll().ControlByte());
    ASSERT_TRUE(usb->SetTVChannelFreq(147000.0f));
    EXPECT_EQ(0x01, Pll().BandByte());
    ASSERT_TRUE(usb->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(8162, Pll().Divider());
    EXPECT_EQ(0x08, Pll().BandByte());
    // Status from the PLL at 0xC0, after the decoder's lock.
    DWORD status = 0;
    EXPECT_TRUE(usb->GetTVChannelOkay(&status));
    EXPECT_EQ(2u, status);
    ASSERT_TRUE(usb->SetTVChannelFreq(300000.0f));
    status = 5;
    EXPECT_FALSE(usb->GetTVChannelOkay(&status));  // the decoder sees no picture: status left alone
    EXPECT_EQ(5u, status);
}

TEST_F(UsbTunerTest, Model92TakesTheLPrimeIfForSecamL1AndTheSixthByteForBothSecamL)
{
    Box(92, 0xC6);
    usb->SetCurrentStandard(AnalogVideo_SECAM_L1);
    ASSERT_TRUE(usb->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(8082, Pll().Divider());
    EXPECT_EQ(0x20, Pll().AuxByte().value_or(0));
    usb->SetCurrentStandard(AnalogVideo_SECAM_L);
    ASSERT_TRUE(usb->SetTVChannelFreq(471250.0f));
    EXPECT_EQ(8162, Pll().Divider());
    EXPECT_EQ(0x20, Pll().AuxByte().value_or(0));
    usb->SetCurrentStandard(AnalogVideo_PAL_B);
    ASSERT_TRUE(usb->SetTVChannelFreq(900000.0f));  // neither clamped nor refused
    EXPECT_EQ((38900 + 900000) * 16 / 1000, Pll().Divider());
    EXPECT_EQ(0xA0, Pll().AuxByte().value_or(0));
    // Its FM as the module's, but not clamped into the FM range.
    ASSERT_TRUE(usb->SetFMChannelFreq(120000.0f));
    EXPECT_EQ((120000 + 10700) * 20 / 1000, Pll().Divider());
    ASSERT_TRUE(usb->SetFMChannelFreq(100000.0f));
    EXPECT_TRUE(usb->IsFMChannelLocked());
    DWORD status = 0;
    EXPECT_TRUE(usb->GetFMStatusFromDemod(&status));  // the demodulator was set for radio
    EXPECT_EQ(4u, status);
}

TEST_F(UsbTunerTest, StandardsWriteTheColumnsOfTheirModel)
{
    Box(93, 0xC6);
    EXPECT_TRUE(usb->SetVideoStandard(AnalogVideo_SECAM_K));
    EXPECT_EQ((std::vector<BYTE>{0x16, 0x70, 0x4B}), Registers(&Demod()));
    EXPECT_TRUE(usb->SetVideoStandard(AnalogVideo_NTSC_M));
    EXPECT_EQ((std::vector<BYTE>{0x16, 0x70, 0x49}), Registers(&Demod()));
    Box(72, 0xC0);
    EXPECT_TRUE(usb->SetVideoStandard(AnalogVideo_PAL_D));
    EXPECT_EQ((std::vector<BYTE>{0xD6, 0x70, 0x4B}), Registers(&Demod()));
    Box(13, 0xC6);
    EXPECT_TRUE(usb->SetVideoStandard(AnalogVideo_SECAM_L));
    EXPECT_EQ((std::vector<BYTE>{0x46, 0x50, 0x4B}), Registers(&Demod()));
    BYTE regs[3] = {};
    EXPECT_TRUE(usb->ReadIfRegisters(regs));  // the demodulator answers every read with its status
    const BYTE status = Demod().Status();
    EXPECT_EQ((std::vector<BYTE>{status, status, status}), std::vector<BYTE>(regs, regs + 3));
    Box(4, 0xC6);
    Board().Bus().ClearLog();
    EXPECT_TRUE(usb->SetVideoStandard(AnalogVideo_PAL_B));
    EXPECT_TRUE(Board().Bus().Log().empty());
}

TEST_F(UsbTunerTest, LockComesFromTheDecoderWhereverTheProbeFoundIt)
{
    Box(97, 0xC6, 0x4A);
    CTunerBase* p97 = box->GetTuner();  // the card's model-97 class
    BYTE decoder = 0;
    ASSERT_TRUE(box->GetDemodAddress(&decoder));
    EXPECT_EQ(0x4B, decoder);
    p97->SetVideoStandard(AnalogVideo_PAL_D);
    ASSERT_TRUE(p97->SetTVChannelFreq(471250.0f));
    EXPECT_TRUE(p97->IsTVChannelLocked());
    DWORD status = 0;
    EXPECT_TRUE(p97->GetTVChannelOkay(&status));
    EXPECT_EQ(3u, status);  // map C of the demodulator's nibble 0
    ASSERT_TRUE(p97->SetTVChannelFreq(300000.0f));
    EXPECT_FALSE(p97->IsTVChannelLocked());

    // Without a decoder no TV status is good, whatever the PLL says.
    Box(93, 0xC6, 0);
    EXPECT_EQ(0x42, usb->GetDecoderAddress());
    ASSERT_TRUE(usb->SetTVChannelFreq(471250.0f));
    ASSERT_TRUE(Pll().Locked());
    status = 7;
    EXPECT_FALSE(usb->IsTVChannelLocked());
    EXPECT_FALSE(usb->GetTVChannelOkay(&status));
    EXPECT_EQ(7u, status);
}

TEST_F(UsbTunerTest, RefusesFrequenciesWhoseDividerDoesNotFitWithoutTraffic)
{
    for (int model : {72, 92, 93, 69, 73}) {
        Box(model, model == 72 || model == 73 ? 0xC0 : 0xC6);
        EXPECT_FALSE(usb->SetTVChannelFreq(5000000.0f)) << model;
        EXPECT_FALSE(usb->SetTVChannelFreq(-100000.0f)) << model;
        EXPECT_TRUE(Board().Bus().Log().empty()) << model;
    }
    Box(92, 0xC6);
    EXPECT_FALSE(usb->SetFMChannelFreq(5000000.0f));
    EXPECT_TRUE(Board().Bus().Log().empty());
}
