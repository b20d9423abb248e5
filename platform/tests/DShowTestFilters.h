// Test filters and helpers for the DirectShow stand-in's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dshow.h"
#include "qedit.h"
#include "platform/devicetree.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/MediaType.h"

namespace dshowtest {

using platform::dshow::FilterBase;
using platform::dshow::MediaType;
using platform::dshow::PinBase;
using platform::dshow::PinDescription;

DEFINE_GUID(CLSID_TestFilter, 0x7E57F117, 0x0001, 0x4000, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01);

inline PinDescription Out(const wchar_t* name, std::vector<MediaType> types, REFGUID category = GUID_NULL) {
    return PinDescription{PINDIR_OUTPUT, name, L"", category, std::move(types)};
}
inline PinDescription In(const wchar_t* name, std::vector<MediaType> types = {}) {
    return PinDescription{PINDIR_INPUT, name, L"", GUID_NULL, std::move(types)};
}

inline MediaType Yuy2() { return platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 720, 576, 16); }
inline MediaType Rgb24() { return platform::dshow::VideoInfoType(MEDIASUBTYPE_RGB24, 720, 576, 24); }
inline MediaType AnyVideo() { return MediaType(MEDIATYPE_Video, GUID_NULL); }

// A filter with the pins it is given; it can be made to refuse running.
class TestFilter : public FilterBase {
public:
    explicit TestFilter(std::vector<PinDescription> pins, REFCLSID clsid = CLSID_TestFilter) : FilterBase(clsid) {
        for (auto& p : pins) AddPin(std::move(p));
    }
    HRESULT runResult = S_OK;

protected:
    HRESULT OnStateChange(FILTER_STATE, FILTER_STATE to) override { return to == State_Running ? runResult : S_OK; }
};

inline CComPtr<IBaseFilter> MakeFilter(std::vector<PinDescription> pins, TestFilter** self = nullptr) {
    CComPtr<IBaseFilter> filter;
    auto* f = new TestFilter(std::move(pins));
    filter.Attach(f);
    if (self) *self = f;
    return filter;
}

inline CComPtr<IPin> PinOf(IBaseFilter* filter, const wchar_t* id) {
    CComPtr<IPin> pin;
    filter->FindPin(id, &pin);
    return pin;
}

inline CComPtr<IPin> PeerOf(IPin* pin) {
    CComPtr<IPin> peer;
    pin->ConnectedTo(&peer);
    return peer;
}

inline std::vector<std::wstring> PinNames(IBaseFilter* filter) {
    std::vector<std::wstring> names;
    CComPtr<IEnumPins> e;
    filter->EnumPins(&e);
    CComPtr<IPin> pin;
    while (e->Next(1, &pin, nullptr) == S_OK) {
        PIN_INFO info;
        pin->QueryPinInfo(&info);
        if (info.pFilter) info.pFilter->Release();
        names.push_back(info.achName);
        pin.Release();
    }
    return names;
}

inline std::wstring FilterName(IBaseFilter* filter) {
    FILTER_INFO info;
    if (FAILED(filter->QueryFilterInfo(&info))) return L"";
    if (info.pGraph) info.pGraph->Release();
    return info.achName;
}

template <class I>
CComPtr<I> Create(REFCLSID clsid) {
    CComPtr<I> object;
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, platform::InterfaceTraits<I>::Iid(),
                               reinterpret_cast<void**>(&object)),
              S_OK);
    return object;
}

template <class I>
CComPtr<I> As(IUnknown* object) {
    CComPtr<I> result;
    if (object) object->QueryInterface(platform::InterfaceTraits<I>::Iid(), reinterpret_cast<void**>(&result));
    return result;
}

// Every test runs in an apartment of its own thread; the device tree starts empty.
class DShowTest : public ::testing::Test {
protected:
    DShowTest() { EXPECT_GE(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), 0); }
    ~DShowTest() override {
        platform::RemoveAllDevices();
        platform::ClearFailures();
        CoUninitialize();
    }
};

}  // namespace dshowtest
