// Which filter each wrapper class is made for: the CLSIDs, categories and IIDs the wrappers
// create and open by, as the makers define them (the platform's own interface and format
// constants are the platform's), and the makers' classes coming only with their packages.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "graph/AVSwitchFilter.h"
#include "graph/AudioCaptureFilter.h"
#include "graph/DeinterlaceSnapFilters.h"
#include "graph/DumpFilter.h"
#include "graph/FileWriteFilter.h"
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
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

using WrapperIdentity = SystemBench;

struct MakersClass {
    const CFilterClassRecord* record;
    const char* package;
    BOOL dyncPin;
    std::function<bool(CRootFilter*)> isClass;
};

template <class T>
MakersClass Of(const char* package, BOOL dyncPin = FALSE) {
    return {&T::s_classRecord, package, dyncPin, [](CRootFilter* f) { return dynamic_cast<T*>(f) != nullptr; }};
}

}  // namespace

TEST_F(WrapperIdentity, EveryGuidIsTheMakersOwn) {
    const std::pair<const GUID*, const wchar_t*> guids[] = {
        {CDumpFilter::s_classRecord.GetClsid(), L"{36a5f770-fe4c-11ce-a8ed-00aa002feab5}"},
        {CMpegEncoderFilter::s_classRecord.GetCategory(), L"{19689bf6-c384-48fd-ad51-90e58c79f70b}"},
        {&CMpegEncoderFilter::kPropertySet, L"{d2185a40-0398-11d3-a53e-00a0c9ef506a}"},
        {CAudioCaptureFilter::s_classRecord.GetCategory(), L"{33d9a762-90c8-11d0-bd43-00a0c911ce86}"},
        {CLigosEncoderFilter::s_classRecord.GetClsid(), L"{d3e07d43-e73c-4476-be94-637c6753cf23}"},
        {&IID_ILigosEncoder, L"{55a4d441-6429-11d5-8737-0010a4e9ff94}"},
        {CLigosTranscodeFilter::s_classRecord.GetClsid(), L"{ff12df2d-9702-4438-9b45-f64d191dce69}"},
        {&IID_ILigosTranscoder, L"{ff12df30-9702-4438-9b45-f64d191dce69}"},
        {&IID_RIzizirar, L"{3a75ac56-95ca-4ca2-b96a-a84c4f3e0866}"},
        {CDeinterlaceFilter::s_classRecord.GetClsid(), L"{c5683497-12d5-4ed1-bf8d-e53b349b0981}"},
        {&IID_IVorlaneDeinterlace, L"{52b164a9-4f2d-4851-b8c6-02c44f9e40cd}"},
        {CSnapPictureFilter::s_classRecord.GetClsid(), L"{ccee5929-126a-4af0-8535-8fa02225c4a6}"},
        {&IID_IVorlaneSnapPicture, L"{8cdd8eae-eccf-49e2-9e4f-869ce96c42c6}"},
        {CMCMpegEncoderFilter::s_classRecord.GetClsid(), L"{2BE4D150-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCVideoSettings, L"{2BE4D151-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCAudioSettings, L"{2BE4D152-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCMuxSettings, L"{2BE4D153-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCVideoParams, L"{2BE4D154-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCAudioParams, L"{2BE4D155-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCMuxParams, L"{2BE4D156-6F2E-4B3A-B0BD-E880917238DC}"},
        {CMCMuxFilter::s_classRecord.GetClsid(), L"{2BE4D180-6F2E-4B3A-B0BD-E880917238DC}"},
        {CMCAudioDecoderFilter::s_classRecord.GetClsid(), L"{2BE4D130-6F2E-4B3A-B0BD-E880917238DC}"},
        {CMCAudioEncoderFilter::s_classRecord.GetClsid(), L"{2BE4D170-6F2E-4B3A-B0BD-E880917238DC}"},
        {CMCSplitterFilter::s_classRecord.GetClsid(), L"{2BE4D120-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCSplitterParams, L"{2BE4D121-6F2E-4B3A-B0BD-E880917238DC}"},
        {CMCVideoDecoderFilter::s_classRecord.GetClsid(), L"{2BE4D140-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCDecoderOutput, L"{2BE4D141-6F2E-4B3A-B0BD-E880917238DC}"},
        {&IID_IMCDecoderParams, L"{2BE4D142-6F2E-4B3A-B0BD-E880917238DC}"},
        {CMCVideoEncoderFilter::s_classRecord.GetClsid(), L"{2BE4D160-6F2E-4B3A-B0BD-E880917238DC}"},
        {CIVAudioEncoderFilter::s_classRecord.GetClsid(), L"{55F19296-06C0-4A21-8DEF-597425440063}"},
        {&IID_IIVAudioParams, L"{0CD2E142-8D60-11D3-9C32-00104B3801F6}"},
        {CIVVideoEncoderFilter::s_classRecord.GetClsid(), L"{31864FE3-A10C-45AF-B723-E5E4905FB6A7}"},
        {&IID_IIVVideoParams, L"{317DDB63-870E-11D3-9C32-00104B3801F6}"},
        {COverlayFilter::s_classRecord.GetClsid(), L"{CD8743A1-3736-11D0-9E69-00C04FD7C15B}"},
        {CMCH264EncoderFilter::s_classRecord.GetClsid(), L"{7C0D0350-71D5-4E7E-A77F-2059A2E5AF57}"},
        {&IID_IMCH264Settings, L"{7C0D0351-71D5-4E7E-A77F-2059A2E5AF57}"},
        {&IID_IMCH264Params, L"{7C0D0354-71D5-4E7E-A77F-2059A2E5AF57}"},
        {CMpeg4VkiV1Filter::s_classRecord.GetCategory(), L"{33D9A760-90C8-11D0-BD43-00A0C911CE86}"},
        {CIVFileWriterFilter::s_classRecord.GetClsid(), L"{A5258D74-8ED8-4606-8768-DC5360E5FC8E}"},
        {&IID_IIVFileWriterParams, L"{173DAD40-A0D3-43E2-B1D5-2E4625D7F1F0}"},
        {CIVMuxFilter::s_classRecord.GetClsid(), L"{31FDD5E8-68AD-4D29-A2A5-A4290C3721A1}"},
        {&IID_IIVMuxParams, L"{317DDB64-870E-11D3-9C32-00104B3801F7}"},
        {CIVStillCaptureFilter::s_classRecord.GetClsid(), L"{14DCDA2E-E2AC-498C-A6CF-B594332F9AB7}"},
        {&IID_IIVStillParams, L"{B4ABF4A0-01BA-11D4-898C-00A0CC5211EF}"},
        {CIVDownScaleFilter::s_classRecord.GetClsid(), L"{89E60B61-B893-4EEC-86E1-A231F0E15CC0}"},
        {&IID_IIVDownScaleParams, L"{50359D21-EB57-4980-922F-B197311017AA}"},
        {CFileWriteFilter::s_classRecord.GetClsid(), L"{8596E5F0-0DA5-11D0-BD21-00A0C911CE86}"},
        {CMuxFilter::s_classRecord.GetClsid(), L"{E2510970-F137-11CE-8B67-00AA00A3F1A6}"},
        {CAVSwitchFilter::s_classRecord.GetClsid(), L"{15D81FE9-49E4-436B-A52E-7274E3EB4140}"},
        {&IID_IAVSwitch, L"{A4E9C28B-BE58-44E1-9CF8-C9CA20F3C0C9}"},
        {CSampleGrabberFilter::s_classRecord.GetClsid(), L"{C1F400A0-3F08-11D3-9F0B-006008039E37}"},
        {CTimeDelayFilter::s_classRecord.GetClsid(), L"{0410FD12-9320-48B2-9EC5-0FB976127A4B}"},
        {CMCH264DecoderFilter::s_classRecord.GetClsid(), L"{7C0D0340-71D5-4E7E-A77F-2059A2E5AF57}"},
        {&IID_IMCH264DecoderOutput, L"{7C0D0341-71D5-4E7E-A77F-2059A2E5AF57}"},
    };
    for (const auto& [guid, text] : guids) {
        GUID expected = GUID_NULL;
        ASSERT_EQ(CLSIDFromString(text, &expected), S_OK) << std::wstring(text).c_str();
        ASSERT_NE(guid, nullptr);
        EXPECT_TRUE(IsEqualGUID(*guid, expected)) << std::string(text, text + std::wcslen(text));
    }
}

TEST_F(WrapperIdentity, EveryMakersClassComesForItsClsidOnlyWithItsPackage) {
    const MakersClass classes[] = {
        Of<CLigosEncoderFilter>("ligos"),      Of<CLigosTranscodeFilter>("ligos"),
        Of<CDeinterlaceFilter>("vorlane"),     Of<CSnapPictureFilter>("vorlane"),
        Of<CAVSwitchFilter>("vorlane"),        Of<CTimeDelayFilter>("vorlane"),
        Of<CMCMuxFilter>("mainconcept", TRUE), Of<CMCAudioDecoderFilter>("mainconcept"),
        Of<CMCAudioEncoderFilter>("mainconcept"), Of<CMCMpegEncoderFilter>("mainconcept", TRUE),
        Of<CMCSplitterFilter>("mainconcept", TRUE), Of<CMCVideoDecoderFilter>("mainconcept"),
        Of<CMCVideoEncoderFilter>("mainconcept"), Of<CMCH264EncoderFilter>("mainconcept", TRUE),
        Of<CMCH264DecoderFilter>("mainconcept"), Of<CIVAudioEncoderFilter>("intervideo"),
        Of<CIVVideoEncoderFilter>("intervideo"), Of<CIVFileWriterFilter>("intervideo"),
        Of<CIVMuxFilter>("intervideo", TRUE),  Of<CIVStillCaptureFilter>("intervideo"),
        Of<CIVDownScaleFilter>("intervideo"),
    };
    for (const MakersClass& row : classes) {
        Load(kDefaultBench);
        CRootGraph graph;
        CRootFilter* wrapper = graph.AddFilter(*row.record->GetClsid(), "Wrapped");
        ASSERT_NE(wrapper, nullptr) << row.record->GetName();
        EXPECT_TRUE(row.isClass(wrapper)) << row.record->GetName();
        EXPECT_EQ(wrapper->IsDyncPin(), row.dyncPin) << row.record->GetName();
        std::string others;
        for (const char* package : {"vorlane", "mainconcept", "ligos", "intervideo"})
            if (std::string(package) != row.package) others += std::string(others.empty() ? "\"" : ", \"") + package + "\"";
        Load((R"({"cards": [], "packages": [)" + others + "]}").c_str());
        CRootGraph without;
        EXPECT_EQ(without.AddFilter(*row.record->GetClsid(), "Missing"), nullptr) << row.record->GetName();
    }
}
