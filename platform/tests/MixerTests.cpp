// The winmm mixer calls over the mixer table: object kinds as the flags say, record sizes,
// control identifiers per mixer, counted opens and closes, injected failures.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/mixertable.h"
#include "platform/runtime.h"

namespace {

platform::MixerSpec Card(const std::string& name) {
    platform::MixerSpec mixer;
    mixer.productName = name;
    mixer.destination = {"Recording", MIXERLINE_COMPONENTTYPE_DST_WAVEIN,
                         {{MIXERCONTROL_CONTROLTYPE_MUTE, "Mute", 0, 0, 1}, {MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 5}}};
    mixer.sources = {{"Line In", MIXERLINE_COMPONENTTYPE_SRC_LINE, {{MIXERCONTROL_CONTROLTYPE_VOLUME, "Volume", 9}}}};
    return mixer;
}

HMIXEROBJ Object(UINT_PTR value) {
    return reinterpret_cast<HMIXEROBJ>(value);
}

class Mixers : public testing::Test {
protected:
    void SetUp() override {
        platform::ResetMixerCounts();
        first = platform::AddMixer(Card("First Card With A Rather Long Product Name"));
        second = platform::AddMixer(Card("Second"));
        platform::SetWaveOutMixer(first);
    }
    void TearDown() override {
        platform::RemoveAllMixers();
        platform::ClearFailures();
    }
    static MMRESULT Value(HMIXEROBJ object, DWORD flags, DWORD control, DWORD* value, bool set) {
        MIXERCONTROLDETAILS details = {};
        details.cbStruct = sizeof(details);
        details.dwControlID = control;
        details.cChannels = 1;
        details.cbDetails = sizeof(DWORD);
        details.paDetails = value;
        return set ? mixerSetControlDetails(object, &details, flags) : mixerGetControlDetails(object, &details, flags);
    }
    platform::MixerId first = 0, second = 0;
};

}  // namespace

TEST_F(Mixers, IdentifiersHandlesAndWaveOutAreToldApartByTheFlags) {
    EXPECT_EQ(mixerGetNumDevs(), 2u);
    MIXERCAPS caps = {};
    ASSERT_EQ(mixerGetDevCaps(0, &caps, sizeof(caps)), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "First Card With A Rather Long P");  // 31 characters
    EXPECT_EQ(mixerGetDevCaps(0, &caps, sizeof(caps) - 1), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixerGetDevCaps(2, &caps, sizeof(caps)), MMSYSERR_BADDEVICEID);

    HMIXER handle = nullptr;
    EXPECT_EQ(mixerOpen(&handle, 1, 0, 0, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);
    ASSERT_EQ(mixerOpen(&handle, 1, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_NOERROR);
    UINT id = 99;
    EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(handle), &id, MIXER_OBJECTF_HMIXER), MMSYSERR_NOERROR);
    EXPECT_EQ(id, 1u);
    EXPECT_EQ(mixerGetID(reinterpret_cast<HMIXEROBJ>(handle), &id, MIXER_OBJECTF_MIXER), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mixerGetID(Object(1), &id, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mixerGetID(Object(0), &id, MIXER_OBJECTF_WAVEOUT), MMSYSERR_NOERROR);
    EXPECT_EQ(id, 0u);

    // Control 2 is the destination's volume on both mixers: the handle picks the second one's.
    DWORD value = 0x1111;
    EXPECT_EQ(Value(reinterpret_cast<HMIXEROBJ>(handle), MIXER_OBJECTF_HMIXER, 2, &value, true), MMSYSERR_NOERROR);
    DWORD read = 0;
    EXPECT_TRUE(platform::GetMixerControlValue(second, 2, &read));
    EXPECT_EQ(read, 0x1111u);
    EXPECT_TRUE(platform::GetMixerControlValue(first, 2, &read));
    EXPECT_EQ(read, 5u);
    EXPECT_EQ(Value(reinterpret_cast<HMIXEROBJ>(handle), MIXER_OBJECTF_HMIXER, 9, &value, false), MIXERR_INVALCONTROL);
    EXPECT_EQ(Value(reinterpret_cast<HMIXEROBJ>(handle), MIXER_OBJECTF_MIXER, 2, &value, false), MMSYSERR_INVALHANDLE);

    EXPECT_EQ(mixerClose(handle), MMSYSERR_NOERROR);
    EXPECT_EQ(mixerClose(handle), MMSYSERR_INVALHANDLE);
    const platform::MixerCounts counts = platform::GetMixerCounts();
    EXPECT_EQ(counts.opens, 1);
    EXPECT_EQ(counts.closes, 1);
    EXPECT_EQ(counts.open, 0);
}

TEST_F(Mixers, LinesAndControlsCheckTheirRecordSizes) {
    MIXERLINE line = {};
    line.cbStruct = sizeof(line);
    ASSERT_EQ(mixerGetLineInfo(Object(0), &line, MIXER_OBJECTF_MIXER | MIXER_GETLINEINFOF_DESTINATION),
              MMSYSERR_NOERROR);
    EXPECT_EQ(line.cConnections, 1u);
    EXPECT_EQ(line.cControls, 2u);
    MIXERLINE source = {};
    source.cbStruct = sizeof(source);
    EXPECT_EQ(mixerGetLineInfo(Object(0), &source, MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_STREQ(source.szName, "Line In");
    source.dwSource = 1;
    EXPECT_EQ(mixerGetLineInfo(Object(0), &source, MIXER_GETLINEINFOF_SOURCE), MMSYSERR_INVALPARAM);
    source.cbStruct = 168;
    EXPECT_EQ(mixerGetLineInfo(Object(0), &source, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_INVALPARAM);

    MIXERCONTROL controls[2] = {};
    MIXERLINECONTROLS query = {};
    query.cbStruct = sizeof(query);
    query.dwLineID = line.dwLineID;
    query.cControls = 2;
    query.cbmxctrl = sizeof(MIXERCONTROL);
    query.pamxctrl = controls;
    ASSERT_EQ(mixerGetLineControls(Object(1), &query, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_NOERROR);
    EXPECT_EQ(controls[0].dwControlType, DWORD(MIXERCONTROL_CONTROLTYPE_MUTE));
    EXPECT_EQ(controls[1].dwControlID, 2u);
    query.cControls = 3;
    EXPECT_EQ(mixerGetLineControls(Object(1), &query, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_INVALPARAM);
    query.cControls = 2;
    query.cbmxctrl = 100;
    EXPECT_EQ(mixerGetLineControls(Object(1), &query, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_INVALPARAM);
}

TEST_F(Mixers, EveryCallCanBeMadeToFail) {
    platform::InjectFailure("mixerGetNumDevs");
    EXPECT_EQ(mixerGetNumDevs(), 0u);
    platform::InjectFailure("mixerOpen", 1, MMSYSERR_NOMEM);
    HMIXER handle = nullptr;
    EXPECT_EQ(mixerOpen(&handle, 0, 0, 0, MIXER_OBJECTF_MIXER), MMSYSERR_NOMEM);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(platform::GetMixerCounts().opens, 0);
    platform::InjectFailure("mixerGetDevCaps");
    MIXERCAPS caps = {};
    EXPECT_EQ(mixerGetDevCaps(0, &caps, sizeof(caps)), MMSYSERR_ERROR);

    platform::RemoveMixer(first);
    UINT id = 0;
    EXPECT_EQ(mixerGetID(Object(0), &id, MIXER_OBJECTF_WAVEOUT), MMSYSERR_NODRIVER);
}
