// The registry records' matching: by CLSID or by category and name, the wildcard name, the
// wanted name kept for the creator, and names too long for the record.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "cards/CardFilterClasses.h"
#include "cards/Inifinit.h"
#include "cards/InifinitTVAudio.h"
#include "cards/InifinitTimeShift.h"
#include "cards/PriskoEncoderFilter.h"
#include "graph/AVSwitchFilter.h"
#include "graph/AudioCaptureFilter.h"
#include "graph/DeinterlaceSnapFilters.h"
#include "graph/DumpFilter.h"
#include "graph/FileWriteFilter.h"
#include "graph/FilterClassRecord.h"
#include "graph/IVEncoderFilter.h"
#include "graph/IVStreamFilters.h"
#include "graph/LigosFilters.h"
#include "graph/MCH264DecoderFilter.h"
#include "graph/MCH264EncoderFilter.h"
#include "graph/MCMpegCodecFilters.h"
#include "graph/MCMpegEncoderFilter.h"
#include "graph/Mpeg4VkiFilter.h"
#include "graph/MpegEncoderFilter.h"
#include "graph/MuxFilter.h"
#include "graph/OverlayFilter.h"
#include "graph/SampleGrabberFilter.h"
#include "graph/TimeDelayFilter.h"

namespace {

CRootFilter* CreateNothing(CRootGraph*, int) {
    return nullptr;
}

const GUID kTestClsid = {0x1A2B3C4D, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};

}  // namespace

TEST(FilterClassRecord, ClsidLookupNeverMatchesDeviceRecordAndCategoryLookupNeverMatchesClsidRecord) {
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

TEST(FilterClassRecord, NameMustMatchExactlyUnlessItIsTheWildcard) {
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

TEST(FilterClassRecord, NameTooLongForTheRecordIsNeverMatchedNorOverruns) {
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

TEST(FilterClassRecord, LinkingPutsTheNewestRecordFirstAndNeverTwice) {
    static CFilterClassRecord first(&kTestClsid, nullptr, "First", &CreateNothing);
    static CFilterClassRecord second(&kTestClsid, nullptr, "Second", &CreateNothing);
    CFilterClassInit linkFirst(&first);
    CFilterClassInit linkSecond(&second);
    CFilterClassInit linkFirstAgain(&first);
    EXPECT_EQ(second.GetNext(), &first);
    EXPECT_EQ(TimesLinked(&first), 1);
    EXPECT_EQ(TimesLinked(&second), 1);
}

TEST(FilterClassRecord, GraphLibraryRegistersItsClassesOnceInItsOrder) {
    RegisterGraphFilterClasses();
    CFilterClassRecord* head = CFilterClassRecord::GetHead();
    RegisterGraphFilterClasses();
    EXPECT_EQ(CFilterClassRecord::GetHead(), head);
    // Tried in this order: the audio-input wildcard last of all.
    CFilterClassRecord* const order[] = {
        &CMCH264EncoderFilter::s_classRecord,
        &CMCH264DecoderFilter::s_classRecord, &CTimeDelayFilter::s_classRecord, &CDumpFilter::s_classRecord,
        &CSampleGrabberFilter::s_classRecord, &CAVSwitchFilter::s_classRecord,  &CMuxFilter::s_classRecord,
        &CFileWriteFilter::s_classRecord,     &CIVDownScaleFilter::s_classRecord, &CIVStillCaptureFilter::s_classRecord,
        &CIVMuxFilter::s_classRecord,         &CIVFileWriterFilter::s_classRecord, &CIVVideoEncoderFilter::s_classRecord,
        &CIVAudioEncoderFilter::s_classRecord, &COverlayFilter::s_classRecord,
        &CMCVideoEncoderFilter::s_classRecord,
        &CMCVideoDecoderFilter::s_classRecord,
        &CMCSplitterFilter::s_classRecord,
        &CMCMpegEncoderFilter::s_classRecord,
        &CMCAudioEncoderFilter::s_classRecord,
        &CMCAudioDecoderFilter::s_classRecord,
        &CMCMuxFilter::s_classRecord,
        &CSnapPictureFilter::s_classRecord,
        &CDeinterlaceFilter::s_classRecord,   &CLigosTranscodeFilter::s_classRecord, &CLigosEncoderFilter::s_classRecord,
        &CMpeg4VkiV3Filter::s_classRecord,
        &CMpeg4VkiV2Filter::s_classRecord,    &CMpeg4VkiV1Filter::s_classRecord, &CMpegEncoderFilter::s_classRecord,
        &CAudioCaptureFilter::s_classRecord,
    };
    for (size_t i = 0; i < std::size(order); ++i) {
        EXPECT_EQ(TimesLinked(order[i]), 1) << order[i]->GetName();
        if (i + 1 < std::size(order)) {
            EXPECT_EQ(order[i]->GetNext(), order[i + 1]) << order[i]->GetName();
        }
    }
    EXPECT_STREQ(CDumpFilter::s_classRecord.GetName(), "Dump");
    EXPECT_STREQ(CMpegEncoderFilter::s_classRecord.GetName(), "Rivesk MPEG Encoder");
    EXPECT_STREQ(CAudioCaptureFilter::s_classRecord.GetName(), "CLASS_FILTER");
}

TEST(FilterClassRecord, CardLibraryLinksItsGraphWrappersAfterItsCardClassesOnce) {
    RegisterGraphFilterClasses();
    RegisterCardFilterClasses();
    CFilterClassRecord* head = CFilterClassRecord::GetHead();
    RegisterCardFilterClasses();
    EXPECT_EQ(CFilterClassRecord::GetHead(), head);
    // Tried in this order, before the encoder card's encoder record.
    CFilterClassRecord* const order[] = {
        &CMpeg1SplitterFilter::s_classRecord,  &CTimeShiftFilter::s_classRecord,
        &CIVVideoDecoderFilter::s_classRecord, &CMpeg2SplitterFilter::s_classRecord,
        &CColorConvertFilter::s_classRecord,   &CInfTeeFilter::s_classRecord,
        &C713x3TVAudioFilter::s_classRecord,   &C713xTVAudioFilter::s_classRecord,
        &CPriskoEncoderFilter::s_classRecord,
    };
    for (size_t i = 0; i < std::size(order); ++i) {
        EXPECT_EQ(TimesLinked(order[i]), 1) << order[i]->GetName();
        if (i + 1 < std::size(order)) {
            EXPECT_EQ(order[i]->GetNext(), order[i + 1]) << order[i]->GetName();
        }
    }
    EXPECT_STREQ(C713xTVAudioFilter::s_classRecord.GetName(), "713x TV Card TV Audio (Zivadez)");
    EXPECT_TRUE(IsEqualGUID(*C713x3TVAudioFilter::s_classRecord.GetCategory(), KSCATEGORY_TVAUDIO));
}
