// The USB tuner set up as the USB card filter sets it up (module copied in, write address 0xC6,
// the decoder probed at 0x42 and 0x4B), over a simulated card's access object with the chips of
// a USB box: the PLL, the IF demodulator and the video decoder.
#include <gtest/gtest.h>

#include "support/DemodBench.h"
#include "tuners/UsbTuner.h"
#include "access/CustomDataAccess.h"
#include "hwsim/chips/VideoDecoder.h"

namespace {

class UsbTunerTest : public DemodBench {
protected:
    void TearDown() override
    {
        usb.reset();
        DemodBench::TearDown();
    }

    // A box with no fitted tuner, then its chips: the PLL at `pll` (8-bit), the IF demodulator,
    // and the decoder at `decoder` (0: none); then the tuner set up for `model`.
    void Box(int model, BYTE pll, BYTE decoder = 0x42)
    {
        Fit(0, R"([{"kHz": 471250}, {"kHz": 147250}])", R"([{"kHz": 100000}])");
        hwsim::PllTuner::Options options;
        options.address7 = pll >> 1;
        options.fmControl = 0x88;
        options.fmBand = 0x19;
        options.fmStepHz = 50000;
        auto* chip = static_cast<hwsim::PllTuner*>(
            Board().AddChip("tuner", std::make_unique<hwsim::PllTuner>(Board().Rf(), options)));
        auto* demod = static_cast<hwsim::IfDemodulator*>(
            Board().AddChip("demodulator", std::make_unique<hwsim::IfDemodulator>(Board().Rf())));
        demod->SetPll(chip);
        if (decoder != 0) {
            Board().AddChip("decoder",
                            std::make_unique<hwsim::VideoDecoder>(decoder >> 1, [chip] { return chip->Picture(); }));
        }
        SetUp(model);
        Board().Bus().ClearLog();
    }

    // As the USB TV card filter does it.
    void SetUp(int model)
    {
        CCustomDataAccess* access = card->GetAccess();
        usb = std::make_unique<CUsbTuner>(access);
        usb->SetOwnerCard(card.get());
        CTunerBase* module = card->CreateTuner(model);
        usb->CopyFrom(module);
        delete module;
        usb->SetWriteAddress(0xC6);
        BYTE probe[1] = {0x42};
        if (access->I2C_ReadBlock(probe, 1) != S_OK) {
            probe[0] = 0x4B;
            if (access->I2C_ReadBlock(probe, 1) == S_OK) usb->SetDecoderAddress(0x4B);
        }
    }
    using DemodBench::SetUp;

    std::unique_ptr<CUsbTuner> usb;
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
    EXPECT_EQ(0x4B, usb->GetDecoderAddress());
    usb->SetVideoStandard(AnalogVideo_PAL_D);
    ASSERT_TRUE(usb->SetTVChannelFreq(471250.0f));
    EXPECT_TRUE(usb->IsTVChannelLocked());
    DWORD status = 0;
    EXPECT_TRUE(usb->GetTVChannelOkay(&status));
    EXPECT_EQ(3u, status);  // map C of the demodulator's nibble 0
    ASSERT_TRUE(usb->SetTVChannelFreq(300000.0f));
    EXPECT_FALSE(usb->IsTVChannelLocked());

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
