// Devices by FriendlyName: the graph's device-name table and list, CreateDeviceFilter and
// BindDeviceByName, and wrapping filters that are in the graph already.
#include <gtest/gtest.h>

#include <string>

#include "support/GraphTestDoubles.h"

using namespace graphtest;

namespace {

const GUID kAttachClsid = TestClsid(0x0201);
const GUID kPlainAttachClsid = TestClsid(0x0202);

extern CFilterClassRecord g_wrappingClass;
extern CFilterClassRecord g_creatingClass;
int g_nCreatorCalls = 0;

CRootFilter* CreateWrapping(CRootGraph* graph, int flag) {
    ++g_nCreatorCalls;
    return CreateFilterOfClass<CTestCardFilter>(g_wrappingClass, graph, flag);
}
CRootFilter* WrapWrapping(CRootGraph* graph, IBaseFilter* filter) {
    return WrapFilterOfClass<CTestCardFilter>(graph, filter);
}
CRootFilter* CreateCreating(CRootGraph* graph, int flag) {
    ++g_nCreatorCalls;
    return CreateFilterOfClass<CTestCardFilter>(g_creatingClass, graph, flag);
}

CFilterClassRecord g_wrappingClass(&kAttachClsid, nullptr, "Wrapping", &CreateWrapping, &WrapWrapping);
CFilterClassRecord g_creatingClass(&kPlainAttachClsid, nullptr, "Creating", &CreateCreating);

using DeviceNames = GraphTest;

}  // namespace

TEST_F(DeviceNames, EnumDevicesFillsAtMost64RowsAndCountsZeroOnEveryEarlyReturn) {
    CRootGraph graph;
    int count = -1;
    EXPECT_EQ(graph.EnumDevices(7, &count), nullptr);
    EXPECT_EQ(count, 0);
    count = -1;
    EXPECT_EQ(graph.EnumDevices(1, &count), nullptr);  // an empty category
    EXPECT_EQ(count, 0);
    EXPECT_EQ(graph.EnumDevices(1, nullptr), nullptr);

    for (int i = 0; i < 70; ++i) AddTestDevice(CLSID_VideoInputDeviceCategory, L"Capture " + std::to_wstring(i));
    count = -1;
    const char* first = graph.EnumDevices(1, &count);
    EXPECT_EQ(count, 64);
    EXPECT_STREQ(first, "Capture 0");
    EXPECT_STREQ(graph.GetDeviceName(63), "Capture 63");

    platform::InjectFailure("CoCreateInstance", 1);
    count = -1;
    EXPECT_EQ(graph.EnumDevices(1, &count), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_STREQ(graph.GetDeviceName(0), "");
}

TEST_F(DeviceNames, LongFriendlyNamesAreCutWithinTheirRows) {
    std::wstring longName(150, L'x');
    AddTestDevice(CLSID_AudioInputDeviceCategory, longName);
    AddTestDevice(CLSID_AudioInputDeviceCategory, L"Line In");
    platform::DeviceId unreadable = AddTestDevice(CLSID_AudioInputDeviceCategory, L"Broken");
    platform::SetDeviceFault(unreadable, platform::DeviceFault::FriendlyName);
    CRootGraph graph;
    int count = 0;
    graph.EnumDevices(0, &count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(std::string(graph.GetDeviceName(0)), std::string(127, 'x'));
    EXPECT_STREQ(graph.GetDeviceName(1), "Line In");

    CStringArray names;
    EXPECT_EQ(graph.ListDeviceNames(CLSID_AudioInputDeviceCategory, &names), S_OK);
    ASSERT_EQ(names.GetSize(), 2);
    EXPECT_STREQ(names[1], "Line In");
    CStringArray none;
    EXPECT_EQ(graph.ListDeviceNames(CLSID_VideoCompressorCategory, &none), S_FALSE);
    EXPECT_EQ(none.GetSize(), 0);
}

TEST_F(DeviceNames, NamesDifferingInTheirLastCharacterBindTheirOwnDevice) {
    platform::DeviceId v1 = AddTestDevice(CLSID_VideoInputDeviceCategory, L"Vorlane Capture V1");
    platform::DeviceId v2 = AddTestDevice(CLSID_VideoInputDeviceCategory, L"Vorlane Capture V2");
    CRootGraph graph;

    CRootFilter* wrapper = graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, "Vorlane Capture V2", "V2", 0, 0);
    EXPECT_EQ(BoundDevice(wrapper), v2);
    EXPECT_STREQ(wrapper->GetDeviceName(), "Vorlane Capture V2");

    CComPtr<IBaseFilter> filter;
    ASSERT_EQ(graph.CreateDeviceFilter(CLSID_VideoInputDeviceCategory, "Vorlane Capture V2", &filter), S_OK);
    EXPECT_EQ(static_cast<FilterBase*>(filter.p)->Device(), v2);
    filter.Release();
    ASSERT_EQ(CRootFilter::BindDeviceByName(CLSID_VideoInputDeviceCategory, "Vorlane Capture V2", &filter), S_OK);
    EXPECT_EQ(static_cast<FilterBase*>(filter.p)->Device(), v2);
    filter.Release();

    // A wanted name still matches a longer FriendlyName that begins with it.
    ASSERT_EQ(CRootFilter::BindDeviceByName(CLSID_VideoInputDeviceCategory, "Vorlane Capture", &filter), S_OK);
    EXPECT_EQ(static_cast<FilterBase*>(filter.p)->Device(), v1);
}

TEST_F(DeviceNames, EmptyOrUnmatchedNamesBindNothingAndSayWhy) {
    platform::DeviceId device = AddTestDevice(CLSID_VideoInputDeviceCategory, L"Vorlane Capture");
    CRootGraph graph;
    IBaseFilter* filter = reinterpret_cast<IBaseFilter*>(0x1);

    EXPECT_EQ(graph.CreateDeviceFilter(CLSID_VideoInputDeviceCategory, "", &filter), E_INVALIDARG);
    EXPECT_EQ(filter, nullptr);
    filter = reinterpret_cast<IBaseFilter*>(0x1);
    EXPECT_EQ(CRootFilter::BindDeviceByName(CLSID_VideoInputDeviceCategory, "", &filter), E_INVALIDARG);
    EXPECT_EQ(filter, nullptr);
    EXPECT_EQ(graph.AddDeviceFilter(CLSID_VideoInputDeviceCategory, "", "Empty", 0, 0), nullptr);

    HRESULT hr = graph.CreateDeviceFilter(CLSID_VideoInputDeviceCategory, "Other Capture", &filter);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(filter, nullptr);
    hr = CRootFilter::BindDeviceByName(CLSID_AudioInputDeviceCategory, "Vorlane Capture", &filter);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(filter, nullptr);
    EXPECT_EQ(platform::DeviceBindCount(device), 0);
}

TEST_F(DeviceNames, AttachFilterWrapsTheFilterInTheGraphWithoutMakingAnother) {
    RegisterTestFilterClass(kAttachClsid, {OutputPin(L"Out")});
    RegisterTestFilterClass(kPlainAttachClsid, {InputPin(L"In")});
    CFilterClassInit wrapping(&g_wrappingClass);
    CFilterClassInit creating(&g_creatingClass);
    g_nCreatorCalls = 0;
    CRootGraph graph;

    CComPtr<IBaseFilter> withWrapCreator;
    CComPtr<IBaseFilter> withoutWrapCreator;
    ASSERT_TRUE(SUCCEEDED(withWrapCreator.CoCreateInstance(kAttachClsid)));
    ASSERT_TRUE(SUCCEEDED(withoutWrapCreator.CoCreateInstance(kPlainAttachClsid)));
    ASSERT_TRUE(SUCCEEDED(graph.GetGraphBuilder()->AddFilter(withWrapCreator, L"Found A")));
    ASSERT_TRUE(SUCCEEDED(graph.GetGraphBuilder()->AddFilter(withoutWrapCreator, L"Found B")));
    ASSERT_EQ(TestFilter::Made(), 2);

    graph.AttachAllFilters();
    EXPECT_EQ(TestFilter::Made(), 2);
    EXPECT_EQ(g_nCreatorCalls, 0);
    CRootFilter* a = graph.FindFilter("Found A");
    CRootFilter* b = graph.FindFilter("Found B");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->GetFilter(), withWrapCreator.p);
    EXPECT_NE(dynamic_cast<CTestCardFilter*>(a), nullptr);
    EXPECT_EQ(b->GetFilter(), withoutWrapCreator.p);
    EXPECT_EQ(dynamic_cast<CTestCardFilter*>(b), nullptr);
    EXPECT_EQ(graph.FindFilterByInterface(withWrapCreator), a);
}
