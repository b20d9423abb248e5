// The system device enumerator (CLSID_SystemDeviceEnum): one moniker per plugged device of a
// category, in registration order, with a property bag (FriendlyName, CLSID, DevicePath)
// and a bind that makes the device's filter.
#include "SystemDeviceEnum.h"

#include "DeviceTreeState.h"
#include "Inject.h"
#include "platform/comservices.h"

namespace platform::dshow {

namespace {

HRESULT WriteText(IPropertyBag* bag, const wchar_t* name, const std::wstring& text) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text.c_str());
    HRESULT hr = bag->Write(name, &value);
    VariantClear(&value);
    return hr;
}

HRESULT MakeMoniker(const std::shared_ptr<DeviceRecord>& record, IMoniker** moniker) {
    const DeviceEntry& entry = record->entry;
    DeviceFault fault = record->fault;
    CComPtr<IPropertyBag> bag;
    if (fault != DeviceFault::PropertyBag) {
        HRESULT hr = CreatePropertyBag(&bag);
        if (FAILED(hr)) return hr;
        if (fault != DeviceFault::FriendlyName) WriteText(bag, L"FriendlyName", entry.friendlyName);
        if (!IsEqualGUID(entry.clsid, GUID_NULL)) {
            std::string text = FormatGuid(entry.clsid);
            WriteText(bag, L"CLSID", std::wstring(text.begin(), text.end()));
        }
        if (!entry.devicePath.empty()) WriteText(bag, L"DevicePath", entry.devicePath);
    }
    std::string category = FormatGuid(entry.category);
    std::wstring displayName = L"@device:pnp:\\\\?\\" + std::wstring(category.begin(), category.end()) + L"\\" +
                               std::to_wstring(record->id);
    std::shared_ptr<DeviceRecord> bound = record;
    return CreateDeviceMoniker(
        displayName, bag, [bound](REFIID riid, void** ppv) { return BindRecord(*bound, riid, ppv); }, moniker);
}

}  // namespace

STDMETHODIMP SystemDeviceEnum::CreateClassEnumerator(REFCLSID clsidDeviceClass, IEnumMoniker** ppEnumMoniker,
                                                     DWORD) {
    if (!ppEnumMoniker) return E_POINTER;
    *ppEnumMoniker = nullptr;
    HRESULT hr;
    if (Injected("ICreateDevEnum::CreateClassEnumerator", E_FAIL, &hr)) return hr;
    std::vector<std::shared_ptr<DeviceRecord>> records = PluggedDevices(clsidDeviceClass);
    if (records.empty()) return S_FALSE;
    std::vector<CComPtr<IMoniker>> monikers(records.size());
    std::vector<IMoniker*> list;
    for (size_t i = 0; i < records.size(); ++i) {
        hr = MakeMoniker(records[i], &monikers[i]);
        if (FAILED(hr)) return hr;
        list.push_back(monikers[i]);
    }
    return CreateEnumMoniker(list, ppEnumMoniker);
}

}  // namespace platform::dshow
