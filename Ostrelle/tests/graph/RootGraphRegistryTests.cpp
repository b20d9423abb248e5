// How a graph picks the wrapper class of a filter through the filter-class registry: first match
// wins, a NULL from its creator ends the walk, the demultiplexer record registered last is tried
// first, and filters without a record get a plain CRootFilter.
#include <gtest/gtest.h>

#include "support/GraphTestDoubles.h"

using namespace graphtest;

namespace {

const GUID kCardClsid = TestClsid(0x0011);
const GUID kPlainClsid = TestClsid(0x0012);

int g_nOlderCreatorCalls = 0;
int g_nNullCreatorCalls = 0;
int g_nDemuxCreatorCalls = 0;

extern CFilterClassRecord g_cardCapture;
extern CFilterClassRecord g_cardCaptureLater;
extern CFilterClassRecord g_nullCreator;
extern CFilterClassRecord g_cardByClsid;
extern CFilterClassRecord g_demuxDouble;
extern CFilterClassRecord g_anyAudioInput;
extern CFilterClassRecord g_empAudio;

CRootFilter* CreateCardCapture(CRootGraph* graph, int flag) {
    ++g_nOlderCreatorCalls;
    return CreateFilterOfClass<CTestCardFilter>(g_cardCapture, graph, flag);
}
CRootFilter* CreateCardCaptureLater(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CTestCardFilter>(g_cardCaptureLater, graph, flag);
}
CRootFilter* CreateNull(CRootGraph*, int) {
    ++g_nNullCreatorCalls;
    return nullptr;
}
CRootFilter* CreateCardByClsid(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CTestCardFilter>(g_cardByClsid, graph, flag);
}
CRootFilter* CreateDemuxDouble(CRootGraph* graph, int flag) {
    ++g_nDemuxCreatorCalls;
    return CreateFilterOfClass<CTestCardFilter>(g_demuxDouble, graph, flag);
}

CRootFilter* CreateAnyAudioInput(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CTestCardFilter>(g_anyAudioInput, graph, flag);
}
CRootFilter* CreateEmpAudio(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CTestCardFilter>(g_empAudio, graph, flag);
}

CFilterClassRecord g_cardCapture(nullptr, &CLSID_VideoInputDeviceCategory, "Test TV Card Capture", &CreateCardCapture);
CFilterClassRecord g_cardCaptureLater(nullptr, &CLSID_VideoInputDeviceCategory, "Test TV Card Capture",
                                      &CreateCardCaptureLater);
CFilterClassRecord g_nullCreator(nullptr, &CLSID_VideoInputDeviceCategory, "Null TV Card Capture", &CreateNull);
CFilterClassRecord g_cardByClsid(&kCardClsid, nullptr, "Test Card Filter", &CreateCardByClsid);
CFilterClassRecord g_demuxDouble(&CLSID_MPEG2Demultiplexer, nullptr, "MPEG-2 Demultiplexer", &CreateDemuxDouble);

CFilterClassRecord g_anyAudioInput(nullptr, &CLSID_AudioInputDeviceCategory, "CLASS_FILTER", &CreateAnyAudioInput);
CFilterClassRecord g_empAudio(nullptr, &CLSID_AudioInputDeviceCategory, "USB EMP Audio Device", &CreateEmpAudio);

class RegistryLookup : public GraphTest {
protected:
    void SetUp() override {
        GraphTest::SetUp();
        g_nOlderCreatorCalls = g_nNullCreatorCalls = g_nDemuxCreatorCalls = 0;
        CTestCardFilter::s_bRefuseInit = false;
    }
};

int FiltersInGraph(CRootGraph& graph) {
    CComPtr<IEnumFilters> filters;
    if (FAILED(graph.GetGraphBuilder()->EnumFilters(&filters))) return -1;
    int count = 0;
    for (;;) {
        CComPtr<IBaseFilter> filter;
        if (filters->Next(1, &filter, nullptr) != S_OK) return count;
        ++count;
    }
}

}  // namespace

TEST_F(RegistryLookup, FirstMatchingRecordWinsAndGetsFlagWantedNameAndOneSetUp) {
    CFilterClassInit older(&g_cardCapture);
    CFilterClassInit later(&g_cardCaptureLater);
    AddTestDevice(CLSID_VideoInputDeviceCategory, L"Test TV Card Capture");
    // The flag reaches the device constructor: any flag but 0 binds the first device whose name
    // does not match.
    platform::DeviceId other = AddTestDevice(CLSID_VideoInputDeviceCategory, L"Other Capture");
    CRootGraph graph;

    CRootFilter* wrapper =
        graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, "Test TV Card Capture", "Card", 7, 0);
    auto* card = dynamic_cast<CTestCardFilter*>(wrapper);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(g_nOlderCreatorCalls, 0);
    EXPECT_EQ(card->m_nFlag, 7);
    EXPECT_EQ(card->m_strWanted, "Test TV Card Capture");
    EXPECT_EQ(card->m_nInitNames, 1);
    EXPECT_EQ(card->m_nInits, 1);
    EXPECT_EQ(BoundDevice(card), other);
    EXPECT_STREQ(card->GetName(), "Card");
    EXPECT_EQ(graph.FindFilter("Card"), card);
    EXPECT_TRUE(card->IsInGraph());
}

TEST_F(RegistryLookup, NullFromTheMatchedCreatorEndsTheWalkWithoutPlainWrapper) {
    CFilterClassInit older(&g_cardCapture);
    CFilterClassInit nullRecord(&g_nullCreator);
    platform::DeviceId device = AddTestDevice(CLSID_VideoInputDeviceCategory, L"Null TV Card Capture");
    CRootGraph graph;

    EXPECT_EQ(graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, "Null TV Card Capture", "Card", 0, 0), nullptr);
    EXPECT_EQ(g_nNullCreatorCalls, 1);
    EXPECT_EQ(g_nOlderCreatorCalls, 0);
    EXPECT_EQ(platform::DeviceBindCount(device), 0);
    EXPECT_EQ(graph.GetFilterList(), nullptr);
    EXPECT_EQ(FiltersInGraph(graph), 0);
}

TEST_F(RegistryLookup, DemultiplexerRecordRegisteredLastIsTriedFirst) {
    // Start order: the graph library, the card classes, the station's demultiplexer record.
    CFilterClassInit card(&g_cardByClsid);
    CFilterClassInit demux(&g_demuxDouble);
    EXPECT_EQ(CFilterClassRecord::GetHead(), &g_demuxDouble);
    CRootGraph graph;

    CRootFilter* wrapper = graph.AddFilter(CLSID_MPEG2Demultiplexer, "Demux");
    ASSERT_NE(dynamic_cast<CTestCardFilter*>(wrapper), nullptr);
    EXPECT_EQ(g_nDemuxCreatorCalls, 1);
    EXPECT_TRUE(wrapper->IsCreatedByClsid());
}

TEST_F(RegistryLookup, FiltersWithoutRecordGetPlainWrappers) {
    CFilterClassInit card(&g_cardCapture);
    RegisterTestFilterClass(kPlainClsid, {OutputPin(L"Out")});
    platform::DeviceId device = AddTestDevice(CLSID_VideoInputDeviceCategory, L"Other Capture");
    CRootGraph graph;

    CRootFilter* byClsid = graph.AddFilter(kPlainClsid, "Plain");
    ASSERT_NE(byClsid, nullptr);
    EXPECT_EQ(dynamic_cast<CTestCardFilter*>(byClsid), nullptr);
    EXPECT_EQ(byClsid->GetPinCount(), 1);

    // A name that differs from the record's only in case gets no registered class.
    platform::DeviceId lower = AddTestDevice(CLSID_VideoInputDeviceCategory, L"test TV Card Capture");
    CRootFilter* byName = graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, "Other Capture", "Other", 5, 0);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(dynamic_cast<CTestCardFilter*>(byName), nullptr);
    EXPECT_EQ(BoundDevice(byName), device);
    CRootFilter* caseDiffers =
        graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, "test TV Card Capture", "Lower", 0, 0);
    ASSERT_NE(caseDiffers, nullptr);
    EXPECT_EQ(dynamic_cast<CTestCardFilter*>(caseDiffers), nullptr);
    EXPECT_EQ(BoundDevice(caseDiffers), lower);
    EXPECT_EQ(g_nOlderCreatorCalls, 0);
}

TEST_F(RegistryLookup, NullNameOrUnknownFilterCreatesNothing) {
    RegisterTestFilterClass(kPlainClsid, {OutputPin(L"Out")});
    CRootGraph graph;
    EXPECT_EQ(graph.AddFilter(kPlainClsid, nullptr), nullptr);
    EXPECT_EQ(graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, "Any", nullptr, 0, 0), nullptr);
    EXPECT_EQ(TestFilter::Made(), 0);

    const GUID notInstalled = TestClsid(0x00FF);
    EXPECT_EQ(graph.AddFilter(notInstalled, "Missing"), nullptr);
    EXPECT_EQ(graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, "No Such Capture", "Missing", 0, 0), nullptr);
    EXPECT_EQ(graph.GetFilterList(), nullptr);
}

TEST_F(RegistryLookup, WrapperWhoseSetUpFailsIsDeletedAndNotAdded) {
    CFilterClassInit card(&g_cardByClsid);
    RegisterTestFilterClass(kCardClsid, {OutputPin(L"Out")});
    CTestCardFilter::s_bRefuseInit = true;
    CRootGraph graph;
    EXPECT_EQ(graph.AddFilter(kCardClsid, "Card"), nullptr);
    EXPECT_EQ(FiltersInGraph(graph), 0);
    EXPECT_EQ(graph.GetFilterList(), nullptr);
}

TEST_F(RegistryLookup, SecondInstanceOfTwoDevicesOfOneNameBindsTheSecond) {
    CFilterClassInit card(&g_cardCapture);
    AddTestDevice(CLSID_VideoInputDeviceCategory, L"Test TV Card Capture");
    platform::DeviceId second = AddTestDevice(CLSID_VideoInputDeviceCategory, L"Test TV Card Capture");
    CRootGraph graph;

    CRootFilter* wrapper = graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, "Test TV Card Capture", "Card 1", 0, 1);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(BoundDevice(wrapper), second);
    EXPECT_EQ(g_nDeviceInstance, 1);
    EXPECT_EQ(graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, "Test TV Card Capture", "Card 2", 0, 2), nullptr);
}

TEST_F(RegistryLookup, NamedAudioDeviceTakesItsClassBeforeTheWildcardTakesAnyOther) {
    CFilterClassInit wildcard(&g_anyAudioInput);  // registered first, so tried last
    CFilterClassInit emp(&g_empAudio);
    platform::DeviceId empDevice = AddTestDevice(CLSID_AudioInputDeviceCategory, L"USB EMP Audio Device");
    platform::DeviceId soundCard = AddTestDevice(CLSID_AudioInputDeviceCategory, L"Realtek HD Audio Input");
    CRootGraph graph;

    CRootFilter* empWrapper =
        graph.AddDeviceFilter(CLSID_AudioInputDeviceCategory, "USB EMP Audio Device", "EMP Audio", 0, 0);
    ASSERT_NE(empWrapper, nullptr);
    EXPECT_EQ(BoundDevice(empWrapper), empDevice);
    EXPECT_EQ(g_empAudio.IsByName(), TRUE);

    CRootFilter* other =
        graph.AddDeviceFilter(CLSID_AudioInputDeviceCategory, "Realtek HD Audio Input", "AudioDevice", 0, 0);
    auto* wildcardWrapper = dynamic_cast<CTestCardFilter*>(other);
    ASSERT_NE(wildcardWrapper, nullptr);
    EXPECT_EQ(wildcardWrapper->m_strWanted, "Realtek HD Audio Input");
    EXPECT_EQ(BoundDevice(other), soundCard);
    // Every record of the category the walk reached holds the wanted name.
    EXPECT_STREQ(g_empAudio.GetDeviceName(), "Realtek HD Audio Input");
    EXPECT_STREQ(g_anyAudioInput.GetDeviceName(), "Realtek HD Audio Input");
}
