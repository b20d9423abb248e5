// The TV-audio wrappers on the simulated TV-audio devices of the SAA713x kinds: each device gets
// its own class through the graph, the four IAMTVAudio operations reach the device, and a device
// without IAMTVAudio is not added.
#include <gtest/gtest.h>

#include <string>

#include "cards/base/TVAudioFilter.h"
#include "platform/runtime.h"
#include "support/CardBench.h"
#include "uuids.h"

namespace {

class TVAudioWrapper : public CardBench {
protected:
    void SetUp() override {
        Load(R"({"cards": [{"kind": "713x TV Card Capture", "tuner": 5},
                           {"kind": "713x_3 TV Card Capture", "tuner": 5}]})");
    }
    void TearDown() override {
        platform::ClearFailures();
        CardBench::TearDown();
    }
    CRootFilter* Open(const char* deviceName) {
        return Graph().AddDeviceFilter(AM_KSCATEGORY_TVAUDIO, deviceName, deviceName, 0, 0);
    }
};

// The four operations on one wrapper: the device's modes, a mode it has, one it refuses.
void ExpectTheFourOperations(CTVAudioFilter& audio, const std::string& what) {
    SCOPED_TRACE(what);
    long hardware = 0, available = 0, mode = 0;
    ASSERT_TRUE(audio.GetHardwareSupportedTVAudioModes(&hardware));
    EXPECT_EQ(AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_STEREO, hardware);
    ASSERT_TRUE(audio.GetAvailableTVAudioModes(&available));
    EXPECT_EQ(AMTVAUDIO_MODE_MONO | AMTVAUDIO_MODE_STEREO, available);
    ASSERT_TRUE(audio.GetTVAudioMode(&mode));
    EXPECT_EQ(AMTVAUDIO_MODE_STEREO, mode);

    EXPECT_TRUE(audio.SetTVAudioMode(AMTVAUDIO_MODE_MONO));
    ASSERT_TRUE(audio.GetTVAudioMode(&mode));
    EXPECT_EQ(AMTVAUDIO_MODE_MONO, mode);
    EXPECT_FALSE(audio.SetTVAudioMode(AMTVAUDIO_MODE_LANG_B));
    ASSERT_TRUE(audio.GetTVAudioMode(&mode));
    EXPECT_EQ(AMTVAUDIO_MODE_MONO, mode);

    EXPECT_FALSE(audio.GetTVAudioMode(nullptr));
    EXPECT_FALSE(audio.GetAvailableTVAudioModes(nullptr));
    EXPECT_FALSE(audio.GetHardwareSupportedTVAudioModes(nullptr));
}

}  // namespace

TEST_F(TVAudioWrapper, EachKindsDeviceOpensAsItsClassAndAnswersTheFourOperations) {
    auto* first = dynamic_cast<C713xTVAudioFilter*>(Open(C713xTVAudioFilter::kDeviceName));
    auto* third = dynamic_cast<C713x3TVAudioFilter*>(Open(C713x3TVAudioFilter::kDeviceName));
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, third);
    EXPECT_FALSE(first->IsDyncPin());
    ExpectTheFourOperations(*first, C713xTVAudioFilter::kDeviceName);
    ExpectTheFourOperations(*third, C713x3TVAudioFilter::kDeviceName);

    // The board gone, the device refuses a new mode.
    Board(1).Unplug();
    EXPECT_FALSE(third->SetTVAudioMode(AMTVAUDIO_MODE_STEREO));
}

TEST_F(TVAudioWrapper, DeviceWithoutTVAudioInterfaceIsDroppedAndAnUnopenedWrapperCallsNothing) {
    platform::InjectFailure("QueryInterface:IAMTVAudio", 1);
    EXPECT_EQ(nullptr, Open(C713xTVAudioFilter::kDeviceName));
    EXPECT_EQ(nullptr, Graph().FindFilter(C713xTVAudioFilter::kDeviceName));
    EXPECT_NE(nullptr, dynamic_cast<C713xTVAudioFilter*>(Open(C713xTVAudioFilter::kDeviceName)));

    C713xTVAudioFilter bare(nullptr, CLSID_NULL);
    long mode = 0;
    EXPECT_FALSE(bare.Init());
    EXPECT_FALSE(bare.GetTVAudioMode(&mode));
    EXPECT_FALSE(bare.SetTVAudioMode(AMTVAUDIO_MODE_MONO));
}
