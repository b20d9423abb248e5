// The walk over the devices of a DirectShow device category.
#include "graph/DeviceEnum.h"

#include <vector>

#include "graph/NameText.h"

namespace {

// The FriendlyName of a device into `name` (`size` bytes). FALSE when the property bag or the name
// cannot be read.
BOOL ReadFriendlyName(IMoniker* moniker, char* name, size_t size) {
    CComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag)))) {
        return FALSE;
    }
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    if (bag->Read(L"FriendlyName", &value, nullptr) != S_OK) {
        VariantClear(&value);
        return FALSE;
    }
    BOOL read = value.vt == VT_BSTR ? TRUE : FALSE;
    if (read) WideToNameText(name, size, value.bstrVal);
    VariantClear(&value);
    return read;
}

}  // namespace

HRESULT ForEachDevice(REFGUID category, const DeviceVisitor& visit, size_t nameSize) {
    CComPtr<ICreateDevEnum> devices;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                  reinterpret_cast<void**>(&devices));
    if (FAILED(hr)) return hr;
    CComPtr<IEnumMoniker> monikers;
    hr = devices->CreateClassEnumerator(category, &monikers, 0);
    if (hr != S_OK) return hr;
    monikers->Reset();
    for (;;) {
        CComPtr<IMoniker> moniker;
        hr = monikers->Next(1, &moniker, nullptr);
        if (hr != S_OK) return hr;
        std::vector<char> name(nameSize);
        if (!ReadFriendlyName(moniker, name.data(), nameSize)) continue;
        if (visit(moniker, name.data())) return S_OK;
    }
}
