// The bench's sound cards and makers' packages: what the keys say, what they refuse, and what
// the simulated PC plugs for them.
#include <gtest/gtest.h>

#include <string>

#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"
#include "platform/comobject.h"
#include "support/BenchFixture.h"
#include "dshow.h"

namespace hwsim {
namespace {

class SoundCardBench : public BenchFixture {
protected:
    void TearDown() override {
        platform::RemoveAllMixers();
        BenchFixture::TearDown();
    }
};

TEST_F(SoundCardBench, WithoutTheKeysOneSoundCardAndEveryPackage) {
    auto bench = Bench::FromText(R"({"cards": []})");
    ASSERT_EQ(bench->SoundCards().size(), 1u);
    EXPECT_EQ(bench->SoundCards()[0].name, kDefaultSoundCardName);
    EXPECT_EQ(bench->SoundCards()[0].lines, kDefaultSoundLines);
    EXPECT_EQ(bench->Packages(), (std::vector<std::string>{"vorlane", "mainconcept", "ligos", "intervideo"}));

    auto none = Bench::FromText(R"({"cards": [], "soundCards": [], "packages": []})");
    EXPECT_TRUE(none->SoundCards().empty());
    EXPECT_TRUE(none->Packages().empty());
}

TEST_F(SoundCardBench, MalformedEntriesAreRefusedNamingThePlace) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {R"({"cards": [], "soundCards": {}})", "soundCards: expected a list of sound cards"},
        {R"({"cards": [], "soundCards": [{"lines": []}]})", "soundCards[0]: \"name\" gives"},
        {R"({"cards": [], "soundCards": [{"name": "A", "line": []}]})", "soundCards[0]: unknown key \"line\""},
        {R"({"cards": [], "soundCards": [{"name": "A", "lines": ["In", 3]}]})", "soundCards[0].lines[1]: expected a name"},
        {R"({"cards": [], "packages": "vorlane"})", "packages: expected a list of names"},
        {R"({"cards": [], "packages": ["vorlane", "acme"]})", "packages[1]: unknown package \"acme\""},
    };
    for (const Case& c : cases) {
        try {
            Bench::FromText(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const BenchError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

TEST_F(SoundCardBench, SoundCardIsARecordingDeviceAndAMixer) {
    const std::string longName = "A Sound Card Whose Name Is Longer Than Mixers Hold";
    auto bench = Bench::FromText(R"({"cards": [], "soundCards": [
        {"name": "Onboard Sound Card", "lines": ["Line In", "CD Audio"]},
        {"name": ")" + longName + R"(", "lines": []}]})");
    {
        BenchDevices devices(*bench);
        ASSERT_EQ(devices.SoundCards().size(), 2u);
        EXPECT_EQ(mixerGetNumDevs(), 2u);
        MIXERCAPS caps = {};
        ASSERT_EQ(mixerGetDevCaps(1, &caps, sizeof(caps)), MMSYSERR_NOERROR);
        EXPECT_EQ(std::string(caps.szPname), longName.substr(0, 31));
        UINT waveOut = 9;
        ASSERT_EQ(mixerGetID(nullptr, &waveOut, MIXER_OBJECTF_WAVEOUT), MMSYSERR_NOERROR);
        EXPECT_EQ(waveOut, 0u);
        const platform::MixerId mixer = devices.SoundCards()[0]->Mixer();
        for (int line = -1; line < 2; ++line) {
            EXPECT_NE(platform::FindMixerControl(mixer, line, MIXERCONTROL_CONTROLTYPE_MUTE), 0u) << line;
            EXPECT_NE(platform::FindMixerControl(mixer, line, MIXERCONTROL_CONTROLTYPE_VOLUME), 0u) << line;
        }

        CComPtr<IBaseFilter> filter;
        ASSERT_EQ(platform::BindDevice(devices.SoundCards()[0]->Device(), IID_IBaseFilter,
                                       reinterpret_cast<void**>(&filter)),
                  S_OK);
        CComPtr<IPin> capture, lineIn;
        ASSERT_EQ(filter->FindPin(L"Capture", &capture), S_OK);
        CComPtr<IAMStreamConfig> config;
        EXPECT_EQ(capture->QueryInterface(IID_IAMStreamConfig, reinterpret_cast<void**>(&config)), S_OK);
        ASSERT_EQ(filter->FindPin(L"CD Audio", &lineIn), S_OK);
        CComPtr<IAMAudioInputMixer> inputMixer;
        EXPECT_EQ(lineIn->QueryInterface(IID_IAMAudioInputMixer, reinterpret_cast<void**>(&inputMixer)), S_OK);

        EXPECT_EQ(platform::DevicesInCategory(CLSID_VideoCompressorCategory).size(), 3u);
    }
    EXPECT_EQ(mixerGetNumDevs(), 0u);
    EXPECT_TRUE(platform::DevicesInCategory(CLSID_AudioInputDeviceCategory).empty());
    EXPECT_TRUE(platform::DevicesInCategory(CLSID_VideoCompressorCategory).empty());
}

}  // namespace
}  // namespace hwsim
