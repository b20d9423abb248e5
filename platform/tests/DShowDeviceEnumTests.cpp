// The system device enumerator over the device tree: order, empty categories, faults of one
// device, binds, unplugging.
#include "DShowTestFilters.h"
#include "platform/runtime.h"

using namespace dshowtest;

namespace {

platform::DeviceId Plug(REFGUID category, const wchar_t* name) {
    return platform::AddDevice({category, name, [](REFIID riid, void** ppv) {
                                    return platform::CreateComObject<TestFilter>(
                                        riid, ppv, std::vector<PinDescription>{Out(L"Capture", {Yuy2()})});
                                }});
}

class DeviceEnum : public DShowTest {
protected:
    CComPtr<ICreateDevEnum> devices = Create<ICreateDevEnum>(CLSID_SystemDeviceEnum);

    // The FriendlyNames the enumerator lists for a category, in its order; a device whose bag
    // or name cannot be read lists as "?".
    std::vector<std::wstring> Names(REFGUID category, HRESULT* result = nullptr) {
        std::vector<std::wstring> names;
        CComPtr<IEnumMoniker> e;
        HRESULT hr = devices->CreateClassEnumerator(category, &e, 0);
        if (result) *result = hr;
        if (hr != S_OK) return names;
        CComPtr<IMoniker> moniker;
        while (e->Next(1, &moniker, nullptr) == S_OK) {
            CComPtr<IPropertyBag> bag;
            VARIANT name;
            VariantInit(&name);
            name.vt = VT_BSTR;
            if (SUCCEEDED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag))) &&
                SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)))
                names.push_back(name.bstrVal);
            else
                names.push_back(L"?");
            VariantClear(&name);
            moniker.Release();
        }
        return names;
    }
};

TEST_F(DeviceEnum, ListsACategorysDevicesInRegistrationOrder) {
    Plug(CLSID_VideoInputDeviceCategory, L"713x BDA Analog Capture");
    Plug(AM_KSCATEGORY_CROSSBAR, L"713x BDA Analog Xbar");
    Plug(CLSID_VideoInputDeviceCategory, L"713x_4 TV Card Capture");
    Plug(CLSID_VideoInputDeviceCategory, L"713x BDA Analog Capture");
    EXPECT_EQ(Names(CLSID_VideoInputDeviceCategory),
              (std::vector<std::wstring>{L"713x BDA Analog Capture", L"713x_4 TV Card Capture",
                                         L"713x BDA Analog Capture"}));
    EXPECT_EQ(Names(AM_KSCATEGORY_CROSSBAR), std::vector<std::wstring>{L"713x BDA Analog Xbar"});
}

TEST_F(DeviceEnum, AnEmptyCategoryAnswersSFalseAndNoEnumerator) {
    Plug(CLSID_VideoInputDeviceCategory, L"713x BDA Analog Capture");
    CComPtr<IEnumMoniker> e;
    EXPECT_EQ(devices->CreateClassEnumerator(CLSID_AudioInputDeviceCategory, &e, 0), S_FALSE);
    EXPECT_EQ(e, nullptr);
    EXPECT_EQ(devices->CreateClassEnumerator(CLSID_AudioInputDeviceCategory, nullptr, 0), E_POINTER);
}

TEST_F(DeviceEnum, ADeviceWhoseBagOrNameFailsCannotBeNamedAndTheOthersStillAre) {
    Plug(CLSID_VideoInputDeviceCategory, L"First");
    auto broken = Plug(CLSID_VideoInputDeviceCategory, L"Second");
    auto nameless = Plug(CLSID_VideoInputDeviceCategory, L"Third");
    Plug(CLSID_VideoInputDeviceCategory, L"Fourth");
    platform::SetDeviceFault(broken, platform::DeviceFault::PropertyBag);
    platform::SetDeviceFault(nameless, platform::DeviceFault::FriendlyName);
    EXPECT_EQ(Names(CLSID_VideoInputDeviceCategory), (std::vector<std::wstring>{L"First", L"?", L"?", L"Fourth"}));
}

TEST_F(DeviceEnum, BindingAMonikerMakesTheDevicesFilterAndCountsIt) {
    auto id = Plug(CLSID_VideoInputDeviceCategory, L"713x BDA Analog Capture");
    CComPtr<IEnumMoniker> e;
    ASSERT_EQ(devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &e, 0), S_OK);
    CComPtr<IMoniker> moniker;
    ASSERT_EQ(e->Next(1, &moniker, nullptr), S_OK);
    EXPECT_EQ(platform::DeviceBindCount(id), 0);
    CComPtr<IBaseFilter> first, second;
    ASSERT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&first)), S_OK);
    ASSERT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&second)), S_OK);
    EXPECT_NE(first, second) << "each bind makes a filter of its own";
    EXPECT_EQ(platform::DeviceBindCount(id), 2);
    EXPECT_EQ(dynamic_cast<FilterBase*>(first.p)->Device(), id);
}

TEST_F(DeviceEnum, AnUnpluggedDeviceIsNotListedAndItsOldMonikerNoLongerBinds) {
    auto id = Plug(CLSID_VideoInputDeviceCategory, L"713x BDA Analog Capture");
    CComPtr<IEnumMoniker> e;
    ASSERT_EQ(devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &e, 0), S_OK);
    CComPtr<IMoniker> moniker;
    ASSERT_EQ(e->Next(1, &moniker, nullptr), S_OK);

    EXPECT_TRUE(platform::RemoveDevice(id));
    EXPECT_FALSE(platform::RemoveDevice(id));
    HRESULT hr;
    EXPECT_TRUE(Names(CLSID_VideoInputDeviceCategory, &hr).empty());
    EXPECT_EQ(hr, S_FALSE);
    CComPtr<IBaseFilter> filter;
    EXPECT_EQ(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter)),
              HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED));
}

TEST_F(DeviceEnum, CreatingTheEnumeratorCanBeMadeToFail) {
    Plug(CLSID_VideoInputDeviceCategory, L"713x BDA Analog Capture");
    platform::InjectFailure("ICreateDevEnum::CreateClassEnumerator");
    CComPtr<IEnumMoniker> e;
    EXPECT_EQ(devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &e, 0), E_FAIL);
    EXPECT_EQ(e, nullptr);
}

}  // namespace
