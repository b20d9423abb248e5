// The registry records' matching: by CLSID or by category and name, the wildcard name, the
// wanted name kept for the creator, names too long for the record, and the libraries' order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cards/base/CardFilterClasses.h"
#include "graph/FilterClassRecord.h"
#include "ksmedia.h"
#include "support/GraphTestDoubles.h"

namespace {

CRootFilter* CreateNothing(CRootGraph*, int) {
    return nullptr;
}

const GUID kTestClsid = {0x1A2B3C4D, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};

class FilterClassRecord : public graphtest::GraphTest {};

}  // namespace

TEST_F(FilterClassRecord, ClsidLookupNeverMatchesDeviceRecordAndCategoryLookupNeverMatchesClsidRecord) {
    CFilterClassRecord byClsid(&kTestClsid, nullptr, "Test Filter", &CreateNothing);
    CFilterClassRecord byName(nullptr, &CLSID_VideoInputDeviceCategory, "Test Filter", &CreateNothing);

    EXPECT_TRUE(byClsid.MatchClsid(kTestClsid));
    EXPECT_FALSE(byClsid.IsByName());
    EXPECT_FALSE(byClsid.MatchCategoryName(CLSID_VideoInputDeviceCategory, "Test Filter"));
    EXPECT_FALSE(byName.MatchClsid(kTestClsid));
    EXPECT_FALSE(byName.MatchClsid(CLSID_VideoInputDeviceCategory));
    EXPECT_TRUE(byName.MatchCategoryName(CLSID_VideoInputDeviceCategory, "Test Filter"));
    EXPECT_TRUE(byName.IsByName());
    EXPECT_FALSE(byName.MatchCategoryName(CLSID_AudioInputDeviceCategory, "Test Filter"));
}

TEST_F(FilterClassRecord, NameMustMatchExactlyUnlessItIsTheWildcard) {
    CFilterClassRecord capture(nullptr, &CLSID_VideoInputDeviceCategory, "USB 2800 Video", &CreateNothing);
    CFilterClassRecord any(nullptr, &CLSID_AudioInputDeviceCategory, "CLASS_FILTER", &CreateNothing);

    EXPECT_FALSE(capture.MatchCategoryName(CLSID_VideoInputDeviceCategory, "usb 2800 Video"));
    EXPECT_FALSE(capture.MatchCategoryName(CLSID_VideoInputDeviceCategory, "USB 2800 Video "));
    // A failed name test still leaves the wanted name in the record.
    EXPECT_STREQ(capture.GetDeviceName(), "USB 2800 Video ");
    EXPECT_TRUE(capture.MatchCategoryName(CLSID_VideoInputDeviceCategory, "USB 2800 Video"));

    EXPECT_TRUE(any.MatchCategoryName(CLSID_AudioInputDeviceCategory, "Realtek HD Audio Input"));
    EXPECT_STREQ(any.GetDeviceName(), "Realtek HD Audio Input");
    EXPECT_STREQ(any.GetName(), "CLASS_FILTER");
}

TEST_F(FilterClassRecord, NameTooLongForTheRecordIsNeverMatchedNorOverruns) {
    CFilterClassRecord any(nullptr, &CLSID_AudioInputDeviceCategory, "CLASS_FILTER", &CreateNothing);
    std::string longName(kFilterNameSize, 'n');
    EXPECT_FALSE(any.MatchCategoryName(CLSID_AudioInputDeviceCategory, longName.c_str()));
    EXPECT_EQ(std::string(any.GetDeviceName()), longName.substr(0, kFilterNameSize - 1));

    std::string fits(kFilterNameSize - 1, 'n');
    EXPECT_TRUE(any.MatchCategoryName(CLSID_AudioInputDeviceCategory, fits.c_str()));

    CFilterClassRecord named(nullptr, &CLSID_AudioInputDeviceCategory, longName.c_str(), &CreateNothing);
    EXPECT_EQ(std::string(named.GetName()).size(), kFilterNameSize - 1);
    EXPECT_FALSE(named.MatchCategoryName(CLSID_AudioInputDeviceCategory, longName.c_str()));
}

// The registry is one list for the whole process and records are never unlinked, so these two
// tests hold whatever other tests linked before them, and when run again.
namespace {

int TimesLinked(const CFilterClassRecord* wanted) {
    int count = 0;
    for (CFilterClassRecord* record = CFilterClassRecord::GetHead(); record != nullptr; record = record->GetNext()) {
        if (record == wanted) ++count;
    }
    return count;
}

}  // namespace

TEST_F(FilterClassRecord, LinkingPutsTheNewestRecordFirstAndNeverTwice) {
    static CFilterClassRecord first(&kTestClsid, nullptr, "First", &CreateNothing);
    static CFilterClassRecord second(&kTestClsid, nullptr, "Second", &CreateNothing);
    CFilterClassInit linkFirst(&first);
    CFilterClassInit linkSecond(&second);
    CFilterClassInit linkFirstAgain(&first);
    EXPECT_EQ(second.GetNext(), &first);
    EXPECT_EQ(TimesLinked(&first), 1);
    EXPECT_EQ(TimesLinked(&second), 1);
}

// Each group of records that share a key, in the order the libraries register them (the reverse
// of the order a lookup tries them).
TEST_F(FilterClassRecord, LibrariesRegisterTheirClassesOnceInTheirOrder) {
    RegisterGraphFilterClasses();
    RegisterCardFilterClasses();
    CFilterClassRecord* head = CFilterClassRecord::GetHead();
    RegisterGraphFilterClasses();
    RegisterCardFilterClasses();
    EXPECT_EQ(CFilterClassRecord::GetHead(), head);
    using Names = std::vector<std::string>;
    const std::pair<const GUID*, Names> groups[] = {
        {&CLSID_AudioInputDeviceCategory, {"CLASS_FILTER", "USB EMP Audio Device"}},
        {&CLSID_VideoInputDeviceCategory,
         {"713x TV Card Capture", "713x_IO TV Card Capture", "713x_3 TV Card Capture", "713x_PIP TV Card Capture",
          "713x_Wadrel TV Card Capture", "Conexant 2388x Video Capture", "Conexant 2388x_1 Video Capture",
          "Conexant 2388x_3 Video Capture", "Vorlane Cranlow Capture", "USB 2800 Video", "Vorlane USB TV Box Video",
          "USB 2820 Video", "USB 2821 Video", "Microsoft DV Camera and VCR", "Usb_Cam_Capture", "TV AV Capture",
          "Ebrin Capture", "Castrel Capture", "Grelmo TV Capture", "Vorlane MPEG-2 Box", "Fosbry TV Capture",
          "Rivesk Video Capture", "Prisko Video Capture", "VORLANE Lurvan Audio/Video Capture", "RiriRir Capture",
          "Ivlen Capture", "Jorsk A/V Capture", "USB 2881 Video", "Dolbray TV Card Capture", "Yelvin Capture Card",
          "2388x Video Capture", "Sivren Video Capture", "Movrik Video Capture", "vorlane Wolbry Device",
          "Elgrin Capture", "Wandry Capture", "Conexant Fimbrel Video Capture", "DVBC TS Capture",
          "Trident Yolm Capture", "713x_D TV Card Capture", "713x_4 TV Card Capture", "713x BDA Analog Capture"}},
        {&AM_KSCATEGORY_CROSSBAR,
         {"713x TV Card Crossbar", "713x_IO TV Card Crossbar", "713x_3 TV Card Crossbar", "713x_PIP TV Card Crossbar",
          "713x_Wadrel TV Card Crossbar", "Conexant 2388x Crossbar", "Conexant 2388x_1 Crossbar",
          "Conexant 2388x_3 Crossbar", "Vorlane Cranlow Crossbar", "USB 2800 Crossbar", "Vorlane USB TV Box Crossbar",
          "USB 2820 Crossbar", "USB 2821 Crossbar", "TV AV Capture Crossbar", "Ebrin Crossbar", "Castrel Crossbar",
          "Grelmo TV Crossbar", "Vorlane MPEG-2 Box Crossbar", "Fosbry TV Crossbar", "Rivesk Crossbar",
          "Prisko Crossbar", "VORLANE Lurvan Crossbar", "RiriRir Crossbar", "Ivlen Crossbar", "Jorsk CrossBar",
          "USB 2881 Crossbar", "Dolbray TV Card Crossbar", "Yelvin Crossbar", "2388x Crossbar", "Sivren Crossbar",
          "Movrik Crossbar", "vorlane Wolbry Crossbar", "Elgrin Crossbar", "Wandry Crossbar",
          "Conexant Fimbrel Crossbar", "Trident Yolm Crossbar", "713x_D TV Card Crossbar", "713x_4 TV Card Crossbar",
          "713x BDA Analog Xbar"}},
        {&KSCATEGORY_TVAUDIO,
         {"713x TV Card TV Audio (Zivadez)", "713x_3 TV Card TV Audio (Zivadez)", "VORLANE Lurvan Audio Decoder",
          "Ivlen TvAudio", "Trident Yolm TvAudio"}},
        {&KSCATEGORY_ENCODER, {"Rivesk MPEG Encoder", "Prisko MPEG Encoder", "Conexant Fimbrel Encoder"}},
        {&CLSID_VideoCompressorCategory,
         {"Microsoft MPEG-4  VKI  Codec V1", "Microsoft MPEG-4  VKI  Codec V2", "Microsoft MPEG-4  VKI  Codec V3"}},
        {nullptr,
         {"Ligos GoMotion Capture Encoder Filter (Vorlane)", "Ligos GoMotion.MPG SDK Transcode Sample",
          "Vorlane Deinterlace Filter", "Vorlane Snap Picture Filter", "MainConcept Demo MPEG Multiplexer",
          "MainConcept Demo MPEG Audio Decoder", "MainConcept Demo MPEG Audio Encoder",
          "MainConcept Demo MPEG Encoder", "MainConcept Demo MPEG Splitter", "MainConcept Demo MPEG Video Decoder",
          "MainConcept Demo MPEG Video Encoder", "Overlay Mixer", "InterVideo Audio Encoder for vorlane",
          "InterVideo Video Encoder for vorlane", "InterVideo File Writer for vorlane",
          "InterVideo Multiplexer for vorlane", "InterVideo Still Capture for vorlane",
          "InterVideo Down Scale Filter for vorlane", "File Write Filter", "Microsoft Mux Filter",
          "Vorlane AV Switch", "SampleGrabber", "Dump", "Time Delay", "MainConcept H.264 Video Decoder",
          "MainConcept Demo H.264 Encoder", "Infinite Pin Tee Filter", "Color Convert", "Mpeg2 Splitter",
          "InterVideo Video Decoder", "InterVideo Time Shift Filter for vorlane", "Mpeg1 Splitter", "ACM Wrapper"}},
    };
    for (const auto& [category, expected] : groups) {
        Names registered;
        for (CFilterClassRecord* record = head; record != nullptr; record = record->GetNext()) {
            const bool inGroup = category == nullptr ? record->GetClsid() != nullptr
                                                     : record->GetCategory() != nullptr &&
                                                           IsEqualGUID(*record->GetCategory(), *category);
            if (inGroup && std::find(expected.begin(), expected.end(), record->GetName()) != expected.end())
                registered.insert(registered.begin(), record->GetName());
        }
        EXPECT_EQ(registered, expected);
    }
}
