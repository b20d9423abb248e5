// Test objects for the COM tests: a counting object with a private interface, and its class.
#pragma once

#include <objbase.h>

#include <set>
#include <string>

#include "platform/comobject.h"

DEFINE_GUID(IID_ITestCounter, 0x6f1c0a10, 0x3b2d, 0x4e5f, 0x90, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x01);
DEFINE_GUID(CLSID_TestCounter, 0x6f1c0a10, 0x3b2d, 0x4e5f, 0x90, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x02);

struct ITestCounter : public IUnknown {
    STDMETHOD_(int, Value)() PURE;
};
PLATFORM_INTERFACE_TRAITS(ITestCounter, IUnknown);

// Answers ITestCounter and IPersist; a test can make it refuse interfaces or answer S_FALSE.
class TestCounter : public platform::ComObject<ITestCounter, IPersist> {
public:
    explicit TestCounter(int value = 7) : m_value(value) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (ppv && refused.count(platform::FormatGuid(riid))) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        HRESULT hr = ComObject::QueryInterface(riid, ppv);
        return hr == S_OK && answerFalse ? S_FALSE : hr;
    }
    STDMETHODIMP_(int) Value() override { return m_value; }
    STDMETHODIMP GetClassID(CLSID* clsid) override {
        *clsid = CLSID_TestCounter;
        return S_OK;
    }

    std::set<std::string> refused;
    bool answerFalse = false;

private:
    int m_value;
};

// The object's reference count, read by an AddRef/Release pair.
inline ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}
