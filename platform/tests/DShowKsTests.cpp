// Kernel-streaming property dispatch on the filter base: IKsPropertySet by set and id, and
// the kernel handle whose IOCTL_KS_PROPERTY requests reach the same driver handlers.
#include <atomic>
#include <cstring>

#include "DShowTestFilters.h"
#include "ksproxy.h"
#include "platform/runtime.h"

using namespace dshowtest;
using platform::dshow::KsPropertyRequest;
using platform::dshow::KsVerb;

namespace {

DEFINE_GUID(kDriverSet, 0xFC8FACFF, 0x0293, 0x4CE3, 0x85, 0x94, 0x4F, 0x63, 0x8C, 0xCD, 0x6B, 0xB0);
DEFINE_GUID(kControlSet, 0xC44A1A10, 0x0A37, 0x11D2, 0x83, 0x28, 0x00, 0x60, 0x97, 0xBA, 0x83, 0xAB);
DEFINE_GUID(kOtherSet, 0x7E57F117, 0x0003, 0x4000, 0x80, 0, 0, 0, 0, 0, 0, 3);

// A driver filter: set kDriverSet answers ids 0 to 2 (Get on 0 and 2, Set on 1 and 2), its
// register id 2 holding a DWORD at byte 24 of the data buffer; kControlSet id 4 answers
// through the kernel handle. Every request is logged.
class DriverFilter : public FilterBase {
public:
    DriverFilter() : FilterBase(CLSID_TestFilter) {
        Properties().AddSet(
            kDriverSet,
            [this](KsPropertyRequest& r) {
                log.push_back(r);
                if (r.id > 2 || (r.id == 0 && r.verb == KsVerb::Set) || (r.id == 1 && r.verb == KsVerb::Get))
                    return E_PROP_ID_UNSUPPORTED;
                if (r.dataLength < 28) return E_INVALIDARG;
                auto* data = static_cast<BYTE*>(r.data);
                if (r.verb == KsVerb::Set) {
                    std::memcpy(&value, data + 24, 4);
                } else {
                    std::memcpy(data + 24, &value, 4);
                    r.returned = 28;
                }
                return S_OK;
            },
            [](ULONG id, DWORD* support) {
                if (id > 2) return E_PROP_ID_UNSUPPORTED;
                *support = id == 0 ? KSPROPERTY_SUPPORT_GET
                                   : id == 1 ? KSPROPERTY_SUPPORT_SET : KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
                return S_OK;
            });
        Properties().AddProperty(
            kControlSet, 4,
            [this](KsPropertyRequest& r) {
                log.push_back(r);
                static_cast<BYTE*>(r.data)[28] = 0x5A;
                r.returned = r.dataLength;
                return S_OK;
            },
            [this](KsPropertyRequest& r) {
                log.push_back(r);
                return S_OK;
            });
        EnableKernelHandle();
    }
    std::vector<KsPropertyRequest> log;
    DWORD value = 0;
};

class Ks : public DShowTest {
protected:
    DriverFilter* driver = new DriverFilter;
    CComPtr<IBaseFilter> filter = Attach(driver);
    CComPtr<IKsPropertySet> ks = As<IKsPropertySet>(filter);

    static CComPtr<IBaseFilter> Attach(IBaseFilter* f) {
        CComPtr<IBaseFilter> p;
        p.Attach(f);
        return p;
    }
};

TEST_F(Ks, GetAndSetReachTheHandlerOfTheirSetWithBothBuffersAsGiven) {
    ASSERT_TRUE(ks);
    BYTE buffer[48] = {};
    DWORD v = 0x12345678;
    std::memcpy(buffer + 24, &v, 4);
    EXPECT_EQ(ks->Set(kDriverSet, 2, buffer, 24, buffer, 48), S_OK);
    EXPECT_EQ(driver->value, 0x12345678u);
    ASSERT_EQ(driver->log.size(), 1u);
    EXPECT_EQ(driver->log[0].instance, buffer);
    EXPECT_EQ(driver->log[0].instanceLength, 24u);
    EXPECT_EQ(driver->log[0].dataLength, 48u);
    EXPECT_FALSE(driver->log[0].deviceControl);

    BYTE answer[48] = {};
    DWORD returned = 0;
    EXPECT_EQ(ks->Get(kDriverSet, 2, answer, 24, answer, 48, &returned), S_OK);
    EXPECT_EQ(returned, 28u);
    EXPECT_EQ(std::memcmp(answer + 24, &v, 4), 0);
}

TEST_F(Ks, UnknownSetsAndIdsAreRefusedWithTheDriversCodes) {
    BYTE buffer[48] = {};
    DWORD returned;
    EXPECT_EQ(ks->Get(kOtherSet, 0, buffer, 24, buffer, 48, &returned), E_PROP_SET_UNSUPPORTED);
    EXPECT_EQ(ks->Get(kDriverSet, 7, buffer, 24, buffer, 48, &returned), E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(ks->Set(kDriverSet, 0, buffer, 24, buffer, 48), E_PROP_ID_UNSUPPORTED) << "id 0 is read-only";
    EXPECT_EQ(ks->Set(kControlSet, 5, buffer, 24, buffer, 48), E_PROP_ID_UNSUPPORTED);
}

TEST_F(Ks, QuerySupportedAnswersPerSetAndId) {
    DWORD support = 0xFF;
    EXPECT_EQ(ks->QuerySupported(kDriverSet, 0, &support), S_OK);
    EXPECT_EQ(support, DWORD(KSPROPERTY_SUPPORT_GET));
    EXPECT_EQ(ks->QuerySupported(kDriverSet, 2, &support), S_OK);
    EXPECT_EQ(support, DWORD(KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET));
    EXPECT_EQ(ks->QuerySupported(kControlSet, 4, &support), S_OK);
    EXPECT_EQ(support, DWORD(KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET));
    EXPECT_EQ(ks->QuerySupported(kDriverSet, 3, &support), E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(ks->QuerySupported(kOtherSet, 0, &support), E_PROP_SET_UNSUPPORTED);
    EXPECT_EQ(ks->QuerySupported(kDriverSet, 0, nullptr), E_POINTER);
}

TEST_F(Ks, PropertyCallsCanBeMadeToFail) {
    BYTE buffer[48] = {};
    DWORD returned, support;
    platform::InjectFailure("IKsPropertySet::Set", 1, E_ACCESSDENIED);
    platform::InjectFailure("IKsPropertySet::Get");
    platform::InjectFailure("IKsPropertySet::QuerySupported");
    EXPECT_EQ(ks->Set(kDriverSet, 2, buffer, 24, buffer, 48), E_ACCESSDENIED);
    EXPECT_EQ(ks->Get(kDriverSet, 2, buffer, 24, buffer, 48, &returned), E_FAIL);
    EXPECT_EQ(ks->QuerySupported(kDriverSet, 2, &support), E_PROP_SET_UNSUPPORTED);
    EXPECT_TRUE(driver->log.empty());
    EXPECT_EQ(ks->Set(kDriverSet, 2, buffer, 24, buffer, 48), S_OK);
}

TEST_F(Ks, AFilterWithoutPropertiesOrKernelHandleAnswersNeitherInterface) {
    auto plain = MakeFilter({});
    EXPECT_FALSE(As<IKsPropertySet>(plain));
    EXPECT_FALSE(As<IKsObject>(plain));
    EXPECT_TRUE(As<IKsObject>(filter));
}

TEST_F(Ks, DeviceControlOnTheKernelHandleReachesTheDriverWithTheRequestHeader) {
    auto object = As<IKsObject>(filter);
    HANDLE handle = object->KsGetObjectHandle();
    ASSERT_NE(handle, nullptr);

    // The command block of a device-control driver: KSPROPERTY header, then its fields.
    BYTE block[120] = {};
    KSPROPERTY header{kControlSet, 4, KSPROPERTY_TYPE_SET};
    std::memcpy(block, &header, sizeof(header));
    ULONG returned = 99;
    EXPECT_EQ(KsSynchronousDeviceControl(handle, IOCTL_KS_PROPERTY, block, sizeof(block), block, sizeof(block),
                                         &returned),
              S_OK);
    header.Flags = KSPROPERTY_TYPE_GET;
    std::memcpy(block, &header, sizeof(header));
    EXPECT_EQ(KsSynchronousDeviceControl(handle, IOCTL_KS_PROPERTY, block, sizeof(block), block, sizeof(block),
                                         &returned),
              S_OK);
    EXPECT_EQ(returned, 120u);
    EXPECT_EQ(block[28], 0x5A);
    ASSERT_EQ(driver->log.size(), 2u);
    EXPECT_EQ(driver->log[0].verb, KsVerb::Set);
    EXPECT_EQ(driver->log[1].verb, KsVerb::Get);
    EXPECT_TRUE(driver->log[1].deviceControl);
    EXPECT_EQ(driver->log[1].instance, block);
    EXPECT_EQ(driver->log[1].instanceLength, 120u);
}

TEST_F(Ks, DeviceControlRefusesBadRequestsAndHandlesThatAreGone) {
    HANDLE handle = As<IKsObject>(filter)->KsGetObjectHandle();
    BYTE block[24] = {};
    KSPROPERTY header{kControlSet, 4, 0};
    std::memcpy(block, &header, sizeof(header));
    ULONG returned;
    EXPECT_EQ(KsSynchronousDeviceControl(handle, IOCTL_KS_PROPERTY, block, 24, block, 24, &returned), E_INVALIDARG)
        << "neither GET nor SET";
    EXPECT_EQ(KsSynchronousDeviceControl(handle, IOCTL_KS_PROPERTY, block, 16, block, 24, &returned), E_INVALIDARG);
    EXPECT_EQ(KsSynchronousDeviceControl(handle, IOCTL_KS_METHOD, block, 24, block, 24, &returned),
              HRESULT_FROM_WIN32(ERROR_INVALID_FUNCTION));
    EXPECT_EQ(KsSynchronousDeviceControl(nullptr, IOCTL_KS_PROPERTY, block, 24, block, 24, &returned),
              HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE));

    platform::InjectFailure("KsSynchronousDeviceControl", 1, E_ACCESSDENIED);
    header.Flags = KSPROPERTY_TYPE_SET;
    std::memcpy(block, &header, sizeof(header));
    EXPECT_EQ(KsSynchronousDeviceControl(handle, IOCTL_KS_PROPERTY, block, 24, block, 24, &returned), E_ACCESSDENIED);

    filter.Release();
    ks.Release();
    EXPECT_EQ(KsSynchronousDeviceControl(handle, IOCTL_KS_PROPERTY, block, 24, block, 24, &returned),
              HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE))
        << "the handle closes with its filter";
}

// The user-interface thread, the EEPROM write thread and the remote-key thread of one card
// reach its driver at once, through both roads.
TEST_F(Ks, ThreadsReachTheDriverAtOnceThroughBothRoads) {
    struct Caller {
        IKsPropertySet* ks;
        HANDLE handle;
        bool viaHandle;
    };
    static std::atomic<int> failures{0};
    auto run = [](LPVOID p) -> DWORD {
        auto* c = static_cast<Caller*>(p);
        for (int i = 0; i < 200; ++i) {
            BYTE block[48] = {};
            if (c->viaHandle) {
                KSPROPERTY header{kControlSet, 4, KSPROPERTY_TYPE_GET};
                std::memcpy(block, &header, sizeof(header));
                ULONG returned;
                if (KsSynchronousDeviceControl(c->handle, IOCTL_KS_PROPERTY, block, 48, block, 48, &returned) != S_OK)
                    ++failures;
            } else if (c->ks->Set(kControlSet, 4, block, 24, block, 48) != S_OK) {
                ++failures;
            }
        }
        return 0;
    };
    auto* counting = new TestFilter({});
    CComPtr<IBaseFilter> owner;
    owner.Attach(counting);
    std::atomic<int> calls{0};
    counting->Properties().AddProperty(
        kControlSet, 4,
        [&](KsPropertyRequest&) {
            ++calls;
            return S_OK;
        },
        [&](KsPropertyRequest&) {
            ++calls;
            return S_OK;
        });
    counting->EnableKernelHandle();
    auto countingKs = As<IKsPropertySet>(owner);
    Caller callers[4] = {{countingKs, counting->KsGetObjectHandle(), false},
                         {countingKs, counting->KsGetObjectHandle(), true},
                         {countingKs, counting->KsGetObjectHandle(), false},
                         {countingKs, counting->KsGetObjectHandle(), true}};
    HANDLE threads[4];
    for (int i = 0; i < 4; ++i) threads[i] = CreateThread(nullptr, 0, run, &callers[i], 0, nullptr);
    EXPECT_EQ(WaitForMultipleObjects(4, threads, TRUE, INFINITE), WAIT_OBJECT_0);
    for (HANDLE t : threads) CloseHandle(t);
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(calls.load(), 800);
}

TEST_F(Ks, APinAnswersItsCategoryThroughThePinPropertySet) {
    auto capture = MakeFilter({Out(L"Capture", {Yuy2()}, PIN_CATEGORY_CAPTURE), In(L"In")});
    auto pinKs = As<IKsPropertySet>(PinOf(capture, L"Capture"));
    ASSERT_TRUE(pinKs);
    GUID category = GUID_NULL;
    DWORD returned = 0;
    EXPECT_EQ(pinKs->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, sizeof(category), &returned),
              S_OK);
    EXPECT_EQ(category, PIN_CATEGORY_CAPTURE);
    EXPECT_EQ(returned, sizeof(GUID));
    EXPECT_FALSE(As<IKsPropertySet>(PinOf(capture, L"In"))) << "a pin without a category has no property set";
}

}  // namespace
