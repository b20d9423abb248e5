// The class table and apartments: CoCreateInstance over registered classes, CoInitialize counting.
#include <gtest/gtest.h>

#include "ComTestObjects.h"
#include "platform/comservices.h"
#include "platform/runtime.h"

namespace {

class ComClassTable : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
    void TearDown() override {
        while (platform::ApartmentDepth() > 0) CoUninitialize();
    }
};

TEST_F(ComClassTable, RegisteredClassIsCreatedUntilUnregistered) {
    DWORD cookie = platform::RegisterComClass(CLSID_TestCounter, platform::ComCreatorOf<TestCounter>(5));
    ASSERT_NE(cookie, 0u);
    CComPtr<ITestCounter> counter;
    ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_ITestCounter,
                               reinterpret_cast<void**>(&counter)),
              S_OK);
    EXPECT_EQ(counter->Value(), 5);
    EXPECT_EQ(RefCount(counter), 1u);

    ASSERT_EQ(platform::UnregisterComClass(cookie), S_OK);
    EXPECT_EQ(platform::UnregisterComClass(cookie), CO_E_OBJNOTREG);
    CComPtr<ITestCounter> again;
    EXPECT_EQ(again.CoCreateInstance(CLSID_TestCounter), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(again.p, nullptr);
}

TEST_F(ComClassTable, UnknownClassFailsAsOnWindows) {
    void* object = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC, IID_IUnknown, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ComClassTable, NewestRegistrationAnswersUntilRevoked) {
    DWORD older = platform::RegisterComClass(CLSID_TestCounter, platform::ComCreatorOf<TestCounter>(1));
    DWORD newer = platform::RegisterComClass(CLSID_TestCounter, platform::ComCreatorOf<TestCounter>(2));
    CComPtr<ITestCounter> counter;
    ASSERT_EQ(counter.CoCreateInstance(CLSID_TestCounter), S_OK);
    EXPECT_EQ(counter->Value(), 2);
    platform::UnregisterComClass(newer);
    ASSERT_EQ(counter.CoCreateInstance(CLSID_TestCounter), S_OK);
    EXPECT_EQ(counter->Value(), 1);
    platform::UnregisterComClass(older);
}

TEST_F(ComClassTable, RefusedInterfaceLeavesNoObjectBehind) {
    DWORD cookie = platform::RegisterComClass(CLSID_TestCounter, platform::ComCreatorOf<TestCounter>());
    long before = platform::LiveComObjectCount();
    CComPtr<IStream> stream;
    EXPECT_EQ(stream.CoCreateInstance(CLSID_TestCounter), E_NOINTERFACE);
    EXPECT_EQ(platform::LiveComObjectCount(), before);
    CComPtr<IUnknown> outer, inner;
    outer.Attach((new TestCounter)->GetUnknown());
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&inner)),
              CLASS_E_NOAGGREGATION);
    platform::UnregisterComClass(cookie);
}

TEST_F(ComClassTable, ClassObjectsRegisteredTheWindowsWay) {
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(platform::CreateClassFactory(platform::ComCreatorOf<TestCounter>(9), &factory), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_TestCounter, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    CComPtr<ITestCounter> counter;
    ASSERT_EQ(counter.CoCreateInstance(CLSID_TestCounter), S_OK);
    EXPECT_EQ(counter->Value(), 9);
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(RefCount(factory), 1u);
}

TEST_F(ComClassTable, InjectedCreationFailureNamesTheCallOrTheClass) {
    DWORD cookie = platform::RegisterComClass(CLSID_TestCounter, platform::ComCreatorOf<TestCounter>());
    CComPtr<ITestCounter> counter;
    platform::InjectFailure("CoCreateInstance", 1, E_OUTOFMEMORY);
    EXPECT_EQ(counter.CoCreateInstance(CLSID_TestCounter), E_OUTOFMEMORY);
    platform::InjectFailure("CoCreateInstance:" + platform::FormatGuid(CLSID_TestCounter));
    EXPECT_EQ(counter.CoCreateInstance(CLSID_TestCounter), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(counter.CoCreateInstance(CLSID_TestCounter), S_OK);
    platform::UnregisterComClass(cookie);
}

TEST(ComApartment, CountsNestedInitialisationPerThread) {
    EXPECT_EQ(platform::ApartmentDepth(), 0);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    EXPECT_EQ(platform::ApartmentDepth(), 2);
    CoUninitialize();
    EXPECT_EQ(platform::ApartmentDepth(), 1);
    CoUninitialize();
    EXPECT_EQ(platform::ApartmentDepth(), 0);
    CoUninitialize();  // one too many: nothing happens
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
}

TEST(ComApartment, ThreadsOutsideAnyApartmentCannotCreate) {
    DWORD cookie = platform::RegisterComClass(CLSID_TestCounter, platform::ComCreatorOf<TestCounter>());
    CComPtr<ITestCounter> counter;
    EXPECT_EQ(counter.CoCreateInstance(CLSID_TestCounter), CO_E_NOTINITIALIZED);

    // Another thread in the multithreaded apartment takes in every thread of the process.
    HANDLE entered = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    HANDLE leave = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    struct Events {
        HANDLE entered, leave;
    } events{entered, leave};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* e = static_cast<Events*>(p);
            DWORD depthBefore = DWORD(platform::ApartmentDepth());
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            SetEvent(e->entered);
            WaitForSingleObject(e->leave, INFINITE);
            CoUninitialize();
            return depthBefore;
        },
        &events, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(entered, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(counter.CoCreateInstance(CLSID_TestCounter), S_OK);
    SetEvent(leave);
    ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    DWORD depthInThread = 1;
    GetExitCodeThread(thread, &depthInThread);
    EXPECT_EQ(depthInThread, 0u);  // apartments are per thread
    counter.Release();
    EXPECT_EQ(counter.CoCreateInstance(CLSID_TestCounter), CO_E_NOTINITIALIZED);
    CloseHandle(thread);
    CloseHandle(entered);
    CloseHandle(leave);
    platform::UnregisterComClass(cookie);
}

TEST(ComApartment, InjectedInitialisationFailureEntersNothing) {
    platform::InjectFailure("CoInitializeEx");
    EXPECT_EQ(CoInitialize(nullptr), RPC_E_CHANGED_MODE);
    EXPECT_EQ(platform::ApartmentDepth(), 0);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
}

TEST(ComTaskMemory, GuidTextsRoundTrip) {
    OLECHAR text[39];
    ASSERT_EQ(StringFromGUID2(CLSID_TestCounter, text, 39), 39);
    CLSID parsed;
    ASSERT_EQ(CLSIDFromString(text, &parsed), S_OK);
    EXPECT_EQ(parsed, CLSID_TestCounter);
    EXPECT_EQ(StringFromGUID2(CLSID_TestCounter, text, 38), 0);
    EXPECT_EQ(CLSIDFromString(L"not a guid", &parsed), CO_E_CLASSSTRING);
    void* block = CoTaskMemAlloc(16);
    ASSERT_NE(block, nullptr);
    block = CoTaskMemRealloc(block, 64);
    ASSERT_NE(block, nullptr);
    CoTaskMemFree(block);
    CoTaskMemFree(nullptr);
}

}  // namespace
