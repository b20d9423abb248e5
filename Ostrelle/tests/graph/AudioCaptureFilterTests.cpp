// The audio capture wrapper over the simulated sound cards and the winmm mixer stand-in.
#include <gtest/gtest.h>

#include "graph/AudioCaptureFilter.h"
#include "hwsim/bench/SoundCard.h"
#include "platform/dshow/StreamConfigMixin.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

// The second card is named with 36 characters, more than a mixer's product name holds (31).
constexpr const char* kTwoCards = R"({"cards": [], "soundCards": [
    {"name": "Onboard Sound Card", "lines": ["Line In", "Microphone", "CD Audio"]},
    {"name": "USB Audio Device - Vorlane Studio 7i", "lines": ["Line In", "Microphone"]}]})";

class AudioCapture : public SystemBench {
protected:
    CAudioCaptureFilter* Add(CRootGraph& graph, const char* name) {
        return dynamic_cast<CAudioCaptureFilter*>(
            graph.AddDeviceFilter(CLSID_AudioInputDeviceCategory, name, name, 0, 0));
    }
    static DWORD Value(platform::MixerId mixer, int line, DWORD type) {
        DWORD value = 0xDEAD;
        platform::GetMixerControlValue(mixer, platform::FindMixerControl(mixer, line, type), &value);
        return value;
    }
    static void ExpectBalanced() {
        const platform::MixerCounts counts = platform::GetMixerCounts();
        EXPECT_EQ(counts.opens, counts.closes);
        EXPECT_EQ(counts.open, 0);
    }
};

}  // namespace

TEST_F(AudioCapture, WrapsAnyAudioInputDeviceAndFindsItsCapturePinAndLines) {
    Load(kTwoCards);
    AddTestDevice(CLSID_AudioInputDeviceCategory, L"Some Other Recorder", {OutputPin(L"Out")});
    CRootGraph graph;
    CAudioCaptureFilter* usb = Add(graph, "USB Audio Device - Vorlane Studio 7i");
    ASSERT_NE(usb, nullptr);
    EXPECT_EQ(BoundDevice(usb), Devices().SoundCards()[1]->Device());
    EXPECT_NE(Add(graph, "Some Other Recorder"), nullptr);

    ASSERT_NE(usb->GetCapturePin(), nullptr);
    EXPECT_EQ(usb->FindPin("Capture"), usb->GetCapturePin());
    int count = 0;
    MIXERLINE* lines = usb->GetLines(&count);
    ASSERT_EQ(count, 2);
    EXPECT_STREQ(lines[1].szName, "Microphone");
    EXPECT_EQ(usb->FindLine("Microphone"), 1);
    EXPECT_EQ(usb->FindLine("microphone"), -1);
    ExpectBalanced();
}

TEST_F(AudioCapture, ChoosesTheHighestMixerOfTheDeviceNameElseMixerZero) {
    Load(kTwoCards);
    platform::AddMixer(hwsim::SoundCard::MixerFor("Onboard Sound Card", {"Line In"}));  // mixer 2
    AddTestDevice(CLSID_AudioInputDeviceCategory, L"Unmixed Recorder", {OutputPin(L"Out")});
    CRootGraph graph;
    EXPECT_EQ(Add(graph, "Onboard Sound Card")->GetMixerIndex(), 2);
    EXPECT_EQ(Add(graph, "USB Audio Device - Vorlane Studio 7i")->GetMixerIndex(), 1);
    CAudioCaptureFilter* unmixed = Add(graph, "Unmixed Recorder");
    ASSERT_NE(unmixed, nullptr);
    EXPECT_EQ(unmixed->GetMixerIndex(), 0);
    EXPECT_EQ(unmixed->GetMixerId(), 0u);
}

TEST_F(AudioCapture, IsInvalidWithoutMixersOrWithMoreThan100DestinationControls) {
    Load(R"({"cards": [], "soundCards": []})");
    AddTestDevice(CLSID_AudioInputDeviceCategory, L"Lonely Recorder", {OutputPin(L"Out")});
    CRootGraph graph;
    EXPECT_EQ(Add(graph, "Lonely Recorder"), nullptr);

    platform::MixerSpec crowded = hwsim::SoundCard::MixerFor("Lonely Recorder", {"Line In"});
    crowded.destination.controls.resize(101, {MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 0, 0, 0xFFFF});
    const platform::MixerId id = platform::AddMixer(crowded);
    EXPECT_EQ(Add(graph, "Lonely Recorder"), nullptr);
    platform::RemoveMixer(id);
    crowded.destination.controls.resize(100);
    platform::AddMixer(crowded);
    EXPECT_NE(Add(graph, "Lonely Recorder"), nullptr);
    ExpectBalanced();
}

// The controls belong to the device's own mixer, found by the first 31 characters of its long
// name, never to mixer 0 or the mixer that serves wave-out device 0 (the first sound card's).
TEST_F(AudioCapture, MuteAndVolumeLandOnTheDevicesOwnMixer) {
    Load(kTwoCards);
    CRootGraph graph;
    CAudioCaptureFilter* usb = Add(graph, "USB Audio Device - Vorlane Studio 7i");
    ASSERT_NE(usb, nullptr);
    const platform::MixerId own = Devices().SoundCards()[1]->Mixer();
    const platform::MixerId waveOut = Devices().SoundCards()[0]->Mixer();

    EXPECT_TRUE(usb->SetVolume(0x1234));
    EXPECT_TRUE(usb->SetMute(1));
    EXPECT_TRUE(usb->SetLineVolume("Microphone", 0x4321));
    EXPECT_TRUE(usb->SetLineMute("Line In", 1));
    EXPECT_EQ(Value(own, -1, MIXERCONTROL_CONTROLTYPE_VOLUME), 0x1234u);
    EXPECT_EQ(Value(own, -1, MIXERCONTROL_CONTROLTYPE_MUTE), 1u);
    EXPECT_EQ(Value(own, 1, MIXERCONTROL_CONTROLTYPE_VOLUME), 0x4321u);
    EXPECT_EQ(Value(own, 0, MIXERCONTROL_CONTROLTYPE_MUTE), 1u);
    EXPECT_EQ(Value(waveOut, -1, MIXERCONTROL_CONTROLTYPE_VOLUME), 0x8000u);
    EXPECT_EQ(Value(waveOut, 1, MIXERCONTROL_CONTROLTYPE_VOLUME), 0x8000u);

    DWORD value = 0;
    EXPECT_TRUE(usb->GetVolume(&value));
    EXPECT_EQ(value, 0x1234u);
    EXPECT_TRUE(usb->GetLineVolume("Microphone", &value));
    EXPECT_EQ(value, 0x4321u);
    EXPECT_TRUE(usb->GetLineMute("Line In", &value));
    EXPECT_EQ(value, 1u);
    value = 7;
    EXPECT_FALSE(usb->GetLineMute("CD Audio", &value));
    EXPECT_EQ(value, 7u);
    ExpectBalanced();
}

TEST_F(AudioCapture, FailedMixerCallsAnswerFalseAndCloseWhatTheyOpened) {
    CRootGraph graph;
    CAudioCaptureFilter* card = Add(graph, hwsim::kDefaultSoundCardName);
    ASSERT_NE(card, nullptr);
    DWORD value = 5;
    platform::InjectFailure("mixerSetControlDetails");
    EXPECT_FALSE(card->SetVolume(1));
    platform::InjectFailure("mixerGetControlDetails");
    EXPECT_FALSE(card->GetVolume(&value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    platform::InjectFailure("mixerGetLineControls");
    EXPECT_FALSE(card->GetLineVolume("CD Audio", &value));
    EXPECT_EQ(value, 0u);
    platform::InjectFailure("mixerOpen");
    EXPECT_FALSE(card->SetLineMute("CD Audio", 1));
    EXPECT_FALSE(card->SetLineMute("Nowhere", 1));
    ExpectBalanced();

    // A line array that cannot be allocated fails the load, and the wrapper keeps no lines.
    platform::InjectFailure("LocalAlloc");
    EXPECT_FALSE(card->LoadMixerLines());
    ExpectBalanced();
}

TEST_F(AudioCapture, CaptureFormatReadsAndSetsTheWaveFormat) {
    CRootGraph graph;
    CAudioCaptureFilter* card = Add(graph, hwsim::kDefaultSoundCardName);
    ASSERT_NE(card, nullptr);
    WAVEFORMATEX format = {};
    ASSERT_TRUE(card->GetCaptureFormat(&format));
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    format.nSamplesPerSec = 22050;
    format.nAvgBytesPerSec = 22050 * format.nBlockAlign;
    EXPECT_TRUE(card->SetCaptureFormat(&format));
    WAVEFORMATEX read = {};
    ASSERT_TRUE(card->GetCaptureFormat(&read));
    EXPECT_EQ(read.nSamplesPerSec, 22050u);
    EXPECT_FALSE(card->GetCaptureFormat(nullptr));
}

// A WAVEFORMATEX block shorter than the structure counts as another format: nothing is read
// past its end, nothing copied.
TEST_F(AudioCapture, ShortWaveFormatBlockIsNotRead) {
    platform::DeviceEntry entry;
    entry.category = CLSID_AudioInputDeviceCategory;
    entry.friendlyName = L"Short Format Recorder";
    entry.factory = [](REFIID riid, void** ppv) -> HRESULT {
        struct ShortFormatFilter : FilterBase {
            ShortFormatFilter() : FilterBase(GUID_NULL) {
                const BYTE block[10] = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0, 0};
                AUDIO_STREAM_CONFIG_CAPS caps = {};
                CComPtr<platform::dshow::PinBase> pin;
                pin.Attach(new platform::dshow::StreamConfigPin(
                    this, PinDescription{PINDIR_OUTPUT, L"Capture", L"", PIN_CATEGORY_CAPTURE, {}},
                    {platform::dshow::StreamCapability::Audio(
                        MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, block, sizeof(block)),
                        caps)}));
                AddPin(pin);
            }
        };
        return platform::CreateComObject<ShortFormatFilter>(riid, ppv);
    };
    platform::AddDevice(entry);
    CRootGraph graph;
    CAudioCaptureFilter* recorder = Add(graph, "Short Format Recorder");
    ASSERT_NE(recorder, nullptr);
    WAVEFORMATEX format = {};
    format.nSamplesPerSec = 8000;
    EXPECT_TRUE(recorder->GetCaptureFormat(&format));
    EXPECT_EQ(format.nSamplesPerSec, 8000u);
    EXPECT_TRUE(recorder->SetCaptureFormat(&format));
}

TEST_F(AudioCapture, InputMixerSettingsOnlyOnInputPins) {
    CRootGraph graph;
    CAudioCaptureFilter* card = Add(graph, hwsim::kDefaultSoundCardName);
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(card->SetInputEnable("Line In", FALSE));
    BOOL enabled = TRUE;
    EXPECT_TRUE(card->GetInputEnable("Line In", &enabled));
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(card->SetInputMixLevel("CD Audio", 0.5));
    double level = 0;
    EXPECT_TRUE(card->GetInputMixLevel("CD Audio", &level));
    EXPECT_DOUBLE_EQ(level, 0.5);
    EXPECT_FALSE(card->SetInputEnable("Capture", TRUE));
    EXPECT_FALSE(card->SetInputEnable("Aux", TRUE));
}
