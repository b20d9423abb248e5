// COM objects: reference counting, QueryInterface answers and the smart pointer.
#include <gtest/gtest.h>

#include "ComTestObjects.h"
#include "platform/runtime.h"

namespace {

TEST(ComObject, LastReleaseDestroysTheObject) {
    long before = platform::LiveComObjectCount();
    auto* object = new TestCounter;
    EXPECT_EQ(platform::LiveComObjectCount(), before + 1);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(platform::LiveComObjectCount(), before);
}

TEST(ComObject, QueryInterfaceAnswersAddRefedPointersOrNull) {
    CComPtr<ITestCounter> counter;
    counter.Attach(new TestCounter(42));
    IPersist* persist = nullptr;
    ASSERT_EQ(counter->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist)), S_OK);
    EXPECT_EQ(RefCount(counter), 2u);
    CLSID clsid;
    persist->GetClassID(&clsid);
    EXPECT_EQ(clsid, CLSID_TestCounter);
    persist->Release();

    IStream* stream = reinterpret_cast<IStream*>(0x1);
    EXPECT_EQ(counter->QueryInterface(IID_IStream, reinterpret_cast<void**>(&stream)), E_NOINTERFACE);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(counter->QueryInterface(IID_IPersist, nullptr), E_POINTER);
    EXPECT_EQ(RefCount(counter), 1u);
}

TEST(ComObject, EveryInterfaceAnswersTheSameIdentity) {
    CComPtr<ITestCounter> counter;
    counter.Attach(new TestCounter);
    CComPtr<IPersist> persist;
    ASSERT_EQ(counter.QueryInterface(&persist), S_OK);
    CComPtr<IUnknown> a, b;
    ASSERT_EQ(counter.QueryInterface(&a), S_OK);
    ASSERT_EQ(persist.QueryInterface(&b), S_OK);
    EXPECT_EQ(a.p, b.p);
}

TEST(ComObject, InjectedQueryInterfaceFailureAnswersNull) {
    CComPtr<ITestCounter> counter;
    counter.Attach(new TestCounter);
    platform::InjectFailure("QueryInterface:IPersist");
    CComPtr<IPersist> persist;
    EXPECT_EQ(counter.QueryInterface(&persist), E_NOINTERFACE);
    EXPECT_EQ(persist.p, nullptr);
    EXPECT_EQ(counter.QueryInterface(&persist), S_OK);
    EXPECT_EQ(RefCount(counter), 2u);
}

TEST(ComObject, TestObjectsCanRefuseOrAnswerSFalse) {
    auto* object = new TestCounter;
    CComPtr<ITestCounter> counter;
    counter.Attach(object);
    object->refused.insert(platform::FormatGuid(IID_IPersist));
    CComPtr<IPersist> persist;
    EXPECT_EQ(counter.QueryInterface(&persist), E_NOINTERFACE);
    object->refused.clear();
    object->answerFalse = true;
    EXPECT_EQ(counter.QueryInterface(&persist), S_FALSE);
    EXPECT_NE(persist.p, nullptr);
}

TEST(ComPtr, ReleasesOnResetAssignmentAndDestruction) {
    long before = platform::LiveComObjectCount();
    {
        CComPtr<ITestCounter> first;
        first.Attach(new TestCounter);
        CComPtr<ITestCounter> copy = first;
        EXPECT_EQ(RefCount(first), 2u);
        copy = nullptr;
        EXPECT_EQ(RefCount(first), 1u);
        CComPtr<ITestCounter> moved = std::move(first);
        EXPECT_EQ(first.p, nullptr);
        EXPECT_EQ(RefCount(moved), 1u);
        // Taking the address for an out-parameter lets go of what was held.
        ITestCounter** out = &moved;
        EXPECT_EQ(*out, nullptr);
        EXPECT_EQ(platform::LiveComObjectCount(), before);
        moved.Attach(new TestCounter);
        moved.Release();
        EXPECT_EQ(platform::LiveComObjectCount(), before);
        moved.Attach(new TestCounter);
    }
    EXPECT_EQ(platform::LiveComObjectCount(), before);
}

TEST(ComPtr, DetachHandsOverTheReference) {
    CComPtr<ITestCounter> held;
    held.Attach(new TestCounter);
    ITestCounter* raw = held.Detach();
    EXPECT_EQ(held.p, nullptr);
    EXPECT_EQ(raw->Release(), 0u);
}

}  // namespace
