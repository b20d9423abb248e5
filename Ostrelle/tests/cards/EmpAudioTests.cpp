// The EMP USB audio device ("USB EMP Audio Device") and the ACM Wrapper behind it, through the
// graph on the simulated device: the control object's enable call, the inputs' mixers, and the
// converter's PCM formats.
#include <gtest/gtest.h>

#include "cards/filters/AcmWrapperFilter.h"
#include "cards/usb/EmpAudioFilter.h"
#include "hwsim/boards/EmpAudioDevice.h"
#include "platform/comobject.h"
#include "support/CardBench.h"

namespace {

class EmpAudio : public CardBench {
protected:
    void SetUp() override { Load(R"({"cards": [{"kind": "USB EMP Audio Device"}]})"); }
    hwsim::DeviceDriver& Device() { return static_cast<hwsim::DeviceDriver&>(Driver(Board(0))); }
    CEmpAudioFilter* Open() {
        return dynamic_cast<CEmpAudioFilter*>(
            Graph().AddDeviceFilter(CLSID_AudioInputDeviceCategory, CEmpAudioFilter::kDeviceName, "Audio", 0, 0));
    }
    static BOOL Enabled(CRootPin* pin) {
        CComPtr<IAMAudioInputMixer> mixer;
        EXPECT_EQ(S_OK, pin->GetPin()->QueryInterface(IID_IAMAudioInputMixer, reinterpret_cast<void**>(&mixer)));
        BOOL enabled = FALSE;
        mixer->get_Enable(&enabled);
        return enabled;
    }
};

TEST_F(EmpAudio, OpensWithItsControlObjectAndSwitchesItsInputs) {
    CEmpAudioFilter* audio = Open();
    ASSERT_NE(nullptr, audio);
    EXPECT_EQ((std::vector<std::string>{"EnableAudio 1"}), Device().Calls());
    ASSERT_EQ(4, audio->GetPinCount());

    // Pins: output, input, output, input; input 1 is the fourth pin.
    EXPECT_TRUE(audio->EnableInputByIndex(1, FALSE));
    EXPECT_TRUE(Enabled(audio->GetPin(1)));
    EXPECT_FALSE(Enabled(audio->GetPin(3)));
    EXPECT_FALSE(audio->EnableInputByIndex(2, FALSE));
    EXPECT_TRUE(audio->EnableInput("Line In", FALSE));
    EXPECT_FALSE(Enabled(audio->GetPin(1)));
    EXPECT_FALSE(audio->EnableInput("Capture", TRUE));
    EXPECT_FALSE(audio->EnableInput("No Such Pin", TRUE));

    Device().SetFailing("EnableAudio", true);
    EXPECT_FALSE(audio->EnableDevice(FALSE));
}

TEST_F(EmpAudio, WithoutItsControlObjectOrItsEnableTheWrapperIsDropped) {
    Device().SetAbsent("IEmpAudioControl", true);
    EXPECT_EQ(nullptr, Open());
    Device().SetAbsent("IEmpAudioControl", false);
    Device().SetFailing("EnableAudio", true);
    EXPECT_EQ(nullptr, Open());
}

TEST_F(EmpAudio, AcmWrapperOffersTheDevicesRateAndSetsAnOfferedFormat) {
    CEmpAudioFilter* audio = Open();
    ASSERT_NE(nullptr, audio);
    auto* acm = dynamic_cast<CAcmWrapperFilter*>(Graph().AddFilter(CLSID_ACMWrapper, "ACM"));
    ASSERT_NE(nullptr, acm);
    ASSERT_TRUE(Graph().ConnectByPinName(audio, acm, "Capture", "Input"));

    const long objects = platform::LiveComObjectCount();
    AM_MEDIA_TYPE* type = nullptr;
    EXPECT_FALSE(acm->FindAudioType(&type, 44100, 16));
    EXPECT_EQ(nullptr, type);
    EXPECT_FALSE(acm->SetAudioFormat(44100, 16));
    EXPECT_EQ(objects, platform::LiveComObjectCount());

    WAVEFORMATEX wave = {};
    ASSERT_TRUE(acm->GetAudioFormat(&wave, 48000, 8));
    EXPECT_EQ(WAVE_FORMAT_PCM, wave.wFormatTag);
    EXPECT_EQ(2, wave.nChannels);
    EXPECT_EQ(2, wave.nBlockAlign);
    EXPECT_EQ(96000u, wave.nAvgBytesPerSec);
    EXPECT_TRUE(acm->SetAudioFormat(48000, 8));
    CComPtr<IAMStreamConfig> config;
    ASSERT_EQ(S_OK, Graph().GetCaptureGraphBuilder()->FindInterface(&LOOK_DOWNSTREAM_ONLY, &MEDIATYPE_Audio,
                                                                     acm->GetFilter(), IID_IAMStreamConfig,
                                                                     reinterpret_cast<void**>(&config)));
    ASSERT_EQ(S_OK, config->GetFormat(&type));
    EXPECT_EQ(8, reinterpret_cast<WAVEFORMATEX*>(type->pbFormat)->wBitsPerSample);
    DeleteMediaType(type);
    EXPECT_FALSE(acm->GetAudioFormat(nullptr, 48000, 8));
}

}  // namespace
