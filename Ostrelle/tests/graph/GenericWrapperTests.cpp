// The generic wrappers of the graph library: the dump filter and the hardware MPEG encoder.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "graph/DumpFilter.h"
#include "support/GraphTestDoubles.h"
#include "graph/MpegEncoderFilter.h"
#include "platform/dshow/FileSinkMixin.h"

using namespace graphtest;

namespace {

struct PropertyCall {
    ULONG id;
    void* instance;
    void* data;
    ULONG length;
    DWORD value;
};

// An encoder device whose filter answers the encoder's property set.
class TestEncoder : public FilterBase {
public:
    explicit TestEncoder(std::vector<PropertyCall>* calls) : FilterBase(GUID_NULL) {
        AddPin(InputPin(L"656"));
        Properties().AddSet(
            CMpegEncoderFilter::kPropertySet,
            [calls](platform::dshow::KsPropertyRequest& request) -> HRESULT {
                DWORD value = 0;
                if (request.dataLength >= sizeof(DWORD)) std::memcpy(&value, request.data, sizeof(DWORD));
                calls->push_back({request.id, request.instance, request.data, request.dataLength, value});
                if (request.verb == platform::dshow::KsVerb::Get && request.dataLength >= sizeof(DWORD)) {
                    DWORD answer = 4500000;
                    std::memcpy(request.data, &answer, sizeof(answer));
                    request.returned = sizeof(answer);
                }
                return S_OK;
            },
            [](ULONG, DWORD* support) -> HRESULT {
                *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
                return S_OK;
            });
    }
};

using GenericWrappers = GraphTest;

}  // namespace

TEST_F(GenericWrappers, DumpFilterNamesItsFileOrNone) {
    CRootGraph graph;
    auto* dump = dynamic_cast<CDumpFilter*>(graph.AddFilter(CLSID_Dump, "Dump Filter"));
    ASSERT_NE(dump, nullptr);
    CComPtr<IFileSinkFilter> sink;
    ASSERT_TRUE(SUCCEEDED(dump->GetFilter()->QueryInterface(IID_PPV_ARGS(&sink))));

    EXPECT_TRUE(dump->SetFileName("C:\\Record\\12_30_00.mpg"));
    LPOLESTR name = nullptr;
    ASSERT_EQ(sink->GetCurFile(&name, nullptr), S_OK);
    EXPECT_STREQ(name, L"C:\\Record\\12_30_00.mpg");
    CoTaskMemFree(name);

    EXPECT_TRUE(dump->SetFileName(nullptr));
    name = nullptr;
    ASSERT_EQ(sink->GetCurFile(&name, nullptr), S_OK);
    EXPECT_EQ(name, nullptr);

    platform::InjectFailure("QueryInterface:IFileSinkFilter", 1);
    EXPECT_FALSE(dump->SetFileName("x.mpg"));
}

TEST_F(GenericWrappers, EncoderPropertiesGoToTheEncoderPropertySetInOneBuffer) {
    std::vector<PropertyCall> calls;
    platform::DeviceEntry entry;
    entry.category = KSCATEGORY_ENCODER;
    entry.friendlyName = L"Rivesk MPEG Encoder";
    entry.factory = [&calls](REFIID riid, void** ppv) -> HRESULT {
        return platform::CreateComObject<TestEncoder>(riid, ppv, &calls);
    };
    platform::AddDevice(entry);
    CRootGraph graph;

    auto* encoder = dynamic_cast<CMpegEncoderFilter*>(
        graph.AddDeviceFilter(KSCATEGORY_ENCODER, "Rivesk MPEG Encoder", "Rivesk Encoder", 0, 0));
    ASSERT_NE(encoder, nullptr);
    DWORD rates[3] = {0, 4500000, 9800000};
    EXPECT_TRUE(encoder->SetProperty(0, rates, sizeof(rates)));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].id, 0u);
    EXPECT_EQ(calls[0].instance, rates);
    EXPECT_EQ(calls[0].data, rates);
    EXPECT_EQ(calls[0].length, sizeof(rates));

    DWORD value = 0;
    EXPECT_TRUE(encoder->GetProperty(9, &value, sizeof(value)));
    EXPECT_EQ(value, 4500000u);
    EXPECT_EQ(calls.back().id, 9u);
}

TEST_F(GenericWrappers, EncoderWithoutPropertySetIsInvalidAndSendsNothing) {
    AddTestDevice(KSCATEGORY_ENCODER, L"Rivesk MPEG Encoder", {InputPin(L"656")});
    CRootGraph graph;
    EXPECT_EQ(graph.AddDeviceFilter(KSCATEGORY_ENCODER, "Rivesk MPEG Encoder", "Rivesk Encoder", 0, 0), nullptr);

    CMpegEncoderFilter direct(&graph, &KSCATEGORY_ENCODER, "Rivesk MPEG Encoder", 0);
    EXPECT_FALSE(direct.SetUp());
    DWORD value = 1;
    EXPECT_FALSE(direct.SetProperty(1, &value, sizeof(value)));
}

TEST_F(GenericWrappers, WrapperOfAFilterThatIsNotInstalledIsInvalid) {
    const GUID notInstalled = TestClsid(0x04FF);
    CRootGraph graph;
    CDumpFilter dump(&graph, notInstalled);
    EXPECT_FALSE(dump.SetUp());
    EXPECT_FALSE(dump.SetFileName("x.mpg"));
}
