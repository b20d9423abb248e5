// The installed makers' filters: the table, the class table while a package is installed, and
// the shared behaviour every private interface reports to.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "hwsim/installed/InstalledPackages.h"
#include "hwsim/installed/McH264Decoder.h"
#include "hwsim/installed/McMpegFilters.h"
#include "hwsim/installed/VorlaneFilters.h"
#include "objbase.h"

namespace hwsim {
namespace {

template <class I>
HRESULT Make(REFCLSID clsid, REFIID iid, I** out) {
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(out));
}

class InstalledFilters : public testing::Test {
protected:
    InstalledFilters() { EXPECT_GE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), 0); }
    ~InstalledFilters() override {
        platform::ClearFailures();
        CoUninitialize();
    }
};

// A source of H.264 video.
class H264Source : public platform::dshow::FilterBase {
public:
    H264Source() : FilterBase(GUID_NULL) {
        const GUID h264 = {0x34363248, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
        AddPin({PINDIR_OUTPUT, L"Out", L"", GUID_NULL, {platform::dshow::MediaType(MEDIATYPE_Video, h264)}});
    }
};

TEST_F(InstalledFilters, EveryRowNamesAKnownPackageAndAClassOfItsOwn) {
    std::set<std::string> clsids;
    for (size_t i = 0; i < kInstalledFilterCount; ++i) {
        const InstalledFilterRow& row = kInstalledFilters[i];
        EXPECT_TRUE(IsKnownPackage(row.package)) << row.package;
        EXPECT_TRUE(clsids.insert(std::string(reinterpret_cast<const char*>(row.clsid), sizeof(GUID))).second);
        EXPECT_NE(row.make, nullptr);
    }
}

TEST_F(InstalledFilters, ClassesAreInTheClassTableWhileTheirPackageIsInstalled) {
    CComPtr<IBaseFilter> filter;
    {
        InstalledPackages packages({"vorlane"});
        EXPECT_TRUE(packages.IsInstalled(CLSID_VorlaneTimeDelay));
        EXPECT_FALSE(packages.IsInstalled(CLSID_MCH264VideoDecoder));
        EXPECT_EQ(Make(CLSID_VorlaneTimeDelay, IID_IBaseFilter, &filter.p), S_OK);
        CComPtr<IBaseFilter> decoder;
        EXPECT_TRUE(FAILED(Make(CLSID_MCH264VideoDecoder, IID_IBaseFilter, &decoder.p)));
        EXPECT_TRUE(packages.Uninstall(CLSID_VorlaneTimeDelay));
        EXPECT_FALSE(packages.Uninstall(CLSID_VorlaneTimeDelay));
        CComPtr<IBaseFilter> again;
        EXPECT_TRUE(FAILED(Make(CLSID_VorlaneTimeDelay, IID_IBaseFilter, &again.p)));
    }
    CComPtr<IBaseFilter> gone;
    EXPECT_TRUE(FAILED(Make(CLSID_VorlaneAVSwitch, IID_IBaseFilter, &gone.p)));
    EXPECT_NE(filter, nullptr);  // a filter made earlier lives on
}

TEST_F(InstalledFilters, PrivateInterfacesLogFailRefuseAndAnswerSFalse) {
    InstalledPackages packages({"vorlane", "mainconcept"});
    FilterBehaviour& behaviour = packages.Behaviour(CLSID_VorlaneAVSwitch);
    CComPtr<IAVSwitch> avSwitch;
    ASSERT_EQ(Make(CLSID_VorlaneAVSwitch, IID_IAVSwitch, &avSwitch.p), S_OK);
    VARIANT_BOOL on = VARIANT_FALSE;
    EXPECT_EQ(avSwitch->get_Switch(&on), S_OK);
    EXPECT_EQ(on, VARIANT_TRUE);
    EXPECT_EQ(avSwitch->put_Switch(VARIANT_FALSE), S_OK);
    EXPECT_EQ(avSwitch->put_Switch(3), E_INVALIDARG);
    behaviour.FailSlot("IAVSwitch", 3, E_UNEXPECTED, 1);
    EXPECT_EQ(avSwitch->get_Switch(&on), E_UNEXPECTED);
    EXPECT_EQ(avSwitch->get_Switch(&on), S_OK);
    EXPECT_EQ(on, VARIANT_FALSE);
    EXPECT_EQ(behaviour.Calls().size(), 5u);

    CComPtr<IBaseFilter> filter;
    avSwitch->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    CComPtr<IAVSwitch> again;
    behaviour.AnswerSFalse("IAVSwitch");
    EXPECT_EQ(filter->QueryInterface(IID_IAVSwitch, reinterpret_cast<void**>(&again)), S_FALSE);
    EXPECT_NE(again, nullptr);
    again.Release();
    behaviour.RefuseInterface("IAVSwitch");
    EXPECT_EQ(filter->QueryInterface(IID_IAVSwitch, reinterpret_cast<void**>(&again)), E_NOINTERFACE);
    EXPECT_EQ(again, nullptr);
    // Every private interface asked for is noted, a refused one too; IBaseFilter is not private.
    EXPECT_EQ(behaviour.Queries(), (std::vector<std::string>{"IAVSwitch", "IAVSwitch", "IAVSwitch"}));
    behaviour.ClearCalls();
    EXPECT_TRUE(behaviour.Queries().empty());
    platform::InjectFailure("QueryInterface:IMCH264DecoderOutput");
    CComPtr<IMCH264DecoderOutput> output;
    EXPECT_EQ(Make(CLSID_MCH264VideoDecoder, IID_IMCH264DecoderOutput, &output.p), E_NOINTERFACE);
    EXPECT_TRUE(packages.Behaviour(CLSID_MCH264VideoDecoder).Calls().empty());
}

TEST_F(InstalledFilters, SnapshotRequestAndDecoderRecordAreCheckedLikeADriverWould) {
    InstalledPackages packages({"vorlane", "mainconcept"});
    CComPtr<IVorlaneSnapPicture> snap;
    ASSERT_EQ(Make(CLSID_VorlaneSnapPicture, IID_IVorlaneSnapPicture, &snap.p), S_OK);
    BYTE request[272] = {0x10, 0x01};  // its size, 272
    request[268] = 100;
    EXPECT_EQ(snap->SavePicture(1, request), S_OK);
    request[268] = 101;
    EXPECT_EQ(snap->SavePicture(1, request), E_INVALIDARG);
    request[268] = 0;
    std::memset(request + 8, 'x', 260);
    EXPECT_EQ(snap->SavePicture(1, request), E_INVALIDARG);
    request[8 + 259] = 0;
    EXPECT_EQ(snap->SavePicture(1, request), S_OK);
    request[0] = 0;
    EXPECT_EQ(snap->SavePicture(1, request), E_INVALIDARG);

    CComPtr<IMCDecoderOutput> decoder;
    ASSERT_EQ(Make(CLSID_MCMpegVideoDecoder, IID_IMCDecoderOutput, &decoder.p), S_OK);
    MC_DECODER_RECORD record = {};
    EXPECT_EQ(decoder->SetRecord(&record), E_INVALIDARG);
    EXPECT_EQ(decoder->GetRecord(&record), E_INVALIDARG);
    record.dwField[0] = 40;
    EXPECT_EQ(decoder->SetRecord(&record), S_OK);
    EXPECT_EQ(decoder->GetRecord(&record), S_OK);
}

TEST_F(InstalledFilters, DecoderAddsItsOutputWhenItsInputIsConnected) {
    InstalledPackages packages({"mainconcept"});
    CComPtr<IBaseFilter> decoder;
    ASSERT_EQ(Make(CLSID_MCH264VideoDecoder, IID_IBaseFilter, &decoder.p), S_OK);
    auto* filter = static_cast<platform::dshow::FilterBase*>(decoder.p);
    EXPECT_EQ(filter->CountPins(PINDIR_OUTPUT, false), 0u);
    EXPECT_EQ(InstalledFilter::From(decoder), dynamic_cast<InstalledFilter*>(filter));

    CComPtr<platform::dshow::FilterBase> source;
    source.Attach(new H264Source);
    CComPtr<IPin> input;
    ASSERT_EQ(decoder->FindPin(L"XForm In", &input), S_OK);
    ASSERT_EQ(source->FindPinByName(L"Out")->Connect(input, nullptr), S_OK);
    EXPECT_EQ(filter->CountPins(PINDIR_OUTPUT, false), 1u);
    source->FindPinByName(L"Out")->Disconnect();
    input->Disconnect();
    EXPECT_EQ(filter->CountPins(PINDIR_OUTPUT, false), 0u);
}

}  // namespace
}  // namespace hwsim
