// Monikers and property bags as the device enumerator hands them out, and property frames.
#include <gtest/gtest.h>

#include "ComTestObjects.h"
#include "platform/comservices.h"
#include "platform/runtime.h"

namespace {

CComPtr<IPropertyBag> BagWithName(const wchar_t* name) {
    CComPtr<IPropertyBag> bag;
    EXPECT_EQ(platform::CreatePropertyBag(&bag), S_OK);
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(name);
    EXPECT_EQ(bag->Write(L"FriendlyName", &value), S_OK);
    VariantClear(&value);
    return bag;
}

CComPtr<IMoniker> DeviceMoniker(const wchar_t* name, int value) {
    CComPtr<IMoniker> moniker;
    EXPECT_EQ(platform::CreateDeviceMoniker(std::wstring(L"@device:") + name, BagWithName(name),
                                            [value](REFIID riid, void** ppv) {
                                                return platform::CreateComObject<TestCounter>(riid, ppv, value);
                                            },
                                            &moniker),
              S_OK);
    return moniker;
}

TEST(DeviceMoniker, PropertyBagAnswersFriendlyNameAsBstr) {
    CComPtr<IMoniker> moniker = DeviceMoniker(L"Kesh Capture", 1);
    CComPtr<IPropertyBag> bag;
    ASSERT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)), S_OK);
    VARIANT name;
    VariantInit(&name);
    name.vt = VT_BSTR;
    ASSERT_EQ(bag->Read(L"FriendlyName", &name, nullptr), S_OK);
    EXPECT_EQ(name.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(name.bstrVal), L"Kesh Capture");
    VariantClear(&name);

    VARIANT missing;
    VariantInit(&missing);
    EXPECT_TRUE(FAILED(bag->Read(L"DevicePath", &missing, nullptr)));
    VARIANT wrongType;
    VariantInit(&wrongType);
    wrongType.vt = VT_I4;
    EXPECT_EQ(bag->Read(L"FriendlyName", &wrongType, nullptr), DISP_E_TYPEMISMATCH);
}

TEST(DeviceMoniker, BindToObjectCreatesTheDevicesObject) {
    CComPtr<IMoniker> moniker = DeviceMoniker(L"Tuner", 31);
    CComPtr<ITestCounter> counter;
    ASSERT_EQ(moniker->BindToObject(nullptr, nullptr, IID_ITestCounter, reinterpret_cast<void**>(&counter)), S_OK);
    EXPECT_EQ(counter->Value(), 31);
    CComPtr<IStream> stream;
    EXPECT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IStream, reinterpret_cast<void**>(&stream)),
              E_NOINTERFACE);
    platform::InjectFailure("IMoniker::BindToStorage");
    CComPtr<IPropertyBag> bag;
    EXPECT_TRUE(FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag))));
    EXPECT_EQ(bag.p, nullptr);
}

TEST(DeviceMoniker, EnumeratorHandsOutEachMonikerOnce) {
    CComPtr<IMoniker> first = DeviceMoniker(L"One", 1), second = DeviceMoniker(L"Two", 2);
    CComPtr<IEnumMoniker> list;
    ASSERT_EQ(platform::CreateEnumMoniker({first, second}, &list), S_OK);
    CComPtr<IMoniker> got;
    ULONG fetched = 0;
    ASSERT_EQ(list->Next(1, &got, &fetched), S_OK);
    EXPECT_EQ(got.p, first.p);
    EXPECT_EQ(RefCount(first), 3u);  // ours, the list's and got's
    CComPtr<IEnumMoniker> clone;
    ASSERT_EQ(list->Clone(&clone), S_OK);
    ASSERT_EQ(list->Next(1, &got, nullptr), S_OK);
    EXPECT_EQ(got.p, second.p);
    EXPECT_EQ(list->Next(1, &got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    ASSERT_EQ(clone->Next(1, &got, nullptr), S_OK);
    EXPECT_EQ(got.p, second.p);
    ASSERT_EQ(list->Reset(), S_OK);
    EXPECT_EQ(list->Skip(3), S_FALSE);
}

TEST(RunningObjectTable, RegisteredObjectIsHeldUntilRevoked) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    CComPtr<ITestCounter> graph;
    graph.Attach(new TestCounter);
    {
        CComPtr<IRunningObjectTable> rot;
        ASSERT_EQ(GetRunningObjectTable(0, &rot), S_OK);
        CComPtr<IMoniker> name;
        ASSERT_EQ(CreateItemMoniker(L"!", L"FilterGraph 0000abcd pid 00000042", &name), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(rot->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, graph, name, &cookie), S_OK);
        EXPECT_NE(cookie, 0u);
        EXPECT_EQ(RefCount(graph), 2u);

        auto entries = platform::RunningObjectEntries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].displayName, L"!FilterGraph 0000abcd pid 00000042");
        EXPECT_EQ(entries[0].flags, DWORD(ROTFLAGS_REGISTRATIONKEEPSALIVE));
        EXPECT_EQ(entries[0].cookie, cookie);

        CComPtr<IMoniker> sameName;
        CreateItemMoniker(L"!", L"FilterGraph 0000abcd pid 00000042", &sameName);
        EXPECT_EQ(rot->IsRunning(sameName), S_OK);
        CComPtr<ITestCounter> bound;
        ASSERT_EQ(sameName->BindToObject(nullptr, nullptr, IID_ITestCounter, reinterpret_cast<void**>(&bound)), S_OK);
        EXPECT_EQ(bound.p, graph.p);
        bound.Release();

        ASSERT_EQ(rot->Revoke(cookie), S_OK);
        EXPECT_EQ(rot->Revoke(cookie), E_INVALIDARG);
        EXPECT_EQ(rot->IsRunning(sameName), S_FALSE);
        EXPECT_TRUE(platform::RunningObjectEntries().empty());
    }
    EXPECT_EQ(RefCount(graph), 1u);
    CoUninitialize();
}

TEST(RunningObjectTable, FailsWhenInjectedOrOutsideAnApartment) {
    CComPtr<IRunningObjectTable> rot;
    EXPECT_EQ(GetRunningObjectTable(0, &rot), CO_E_NOTINITIALIZED);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    platform::InjectFailure("GetRunningObjectTable", 1, E_OUTOFMEMORY);
    EXPECT_EQ(GetRunningObjectTable(0, &rot), E_OUTOFMEMORY);
    EXPECT_EQ(rot.p, nullptr);
    ASSERT_EQ(GetRunningObjectTable(0, &rot), S_OK);
    CComPtr<IMoniker> name;
    ASSERT_EQ(CreateItemMoniker(L"!", L"graph", &name), S_OK);
    CComPtr<ITestCounter> object;
    object.Attach(new TestCounter);
    DWORD cookie = 0;
    platform::InjectFailure("IRunningObjectTable::Register");
    EXPECT_TRUE(FAILED(rot->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, object, name, &cookie)));
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(RefCount(object), 1u);
    rot.Release();
    CoUninitialize();
}

TEST(PropertyFrame, CallIsRecordedAndAnswersSOk) {
    CComPtr<ITestCounter> filter;
    filter.Attach(new TestCounter);
    IUnknown* objects[] = {filter};
    CLSID pages[] = {CLSID_TestCounter, IID_IPersist};
    EXPECT_EQ(OleCreatePropertyFrame(nullptr, 30, 30, L"Capture", 1, objects, 2, pages, 0, 0, nullptr), S_OK);
    auto calls = platform::PropertyFrameCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].caption, L"Capture");
    EXPECT_EQ(calls[0].objects.front(), filter.p);
    ASSERT_EQ(calls[0].pages.size(), 2u);
    EXPECT_EQ(calls[0].pages[1], IID_IPersist);

    platform::InjectFailure("OleCreatePropertyFrame", 1, E_FAIL);
    EXPECT_EQ(OleCreatePropertyFrame(nullptr, 30, 30, nullptr, 1, objects, 0, nullptr, 0, 0, nullptr), E_FAIL);
    EXPECT_EQ(platform::PropertyFrameCalls().size(), 1u);
}

}  // namespace
