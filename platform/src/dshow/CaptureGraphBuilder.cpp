// The capture graph builder (CLSID_CaptureGraphBuilder2): finds pins and interfaces around a
// capture filter, bringing a card's upstream devices (crossbar, TV tuner, TV audio) into the
// graph when its search goes upstream and the devices it feeds (a hardware encoder) when the
// search goes downstream from the filter, and renders capture streams.
#include "CaptureGraphBuilder.h"

#include <algorithm>

#include "Inject.h"
#include "platform/devicetree.h"
#include "platform/dshow/FilterBase.h"
#include "uuids.h"
#include "vfwmsgs.h"

namespace platform::dshow {

namespace {

// Device chains are short (tuner, TV audio, crossbar, capture); a longer one is a loop.
constexpr int kMaxUpstreamDepth = 8;

struct PinQuery {
    PIN_DIRECTION direction;
    const GUID* category;  // null: any
    const GUID* type;      // major type; null: any
    bool unconnectedOnly;
};

GUID PinCategory(IPin* pin) {
    GUID category = GUID_NULL;
    CComPtr<IKsPropertySet> ks;
    DWORD returned = 0;
    if (SUCCEEDED(pin->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&ks))))
        ks->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category, sizeof(category), &returned);
    return category;
}

bool OffersMajorType(IPin* pin, REFGUID major) {
    AM_MEDIA_TYPE connected;
    if (SUCCEEDED(pin->ConnectionMediaType(&connected))) {
        bool match = IsEqualGUID(connected.majortype, major);
        FreeMediaType(connected);
        return match;
    }
    CComPtr<IEnumMediaTypes> types;
    if (FAILED(pin->EnumMediaTypes(&types)) || !types) return false;
    AM_MEDIA_TYPE* mt = nullptr;
    bool match = false;
    while (!match && types->Next(1, &mt, nullptr) == S_OK) {
        match = IsEqualGUID(mt->majortype, major);
        DeleteMediaType(mt);
    }
    return match;
}

bool IsConnected(IPin* pin) {
    CComPtr<IPin> peer;
    return pin->ConnectedTo(&peer) == S_OK;
}

std::vector<CComPtr<IPin>> MatchingPins(IBaseFilter* filter, const PinQuery& q) {
    std::vector<CComPtr<IPin>> result;
    CComPtr<IEnumPins> e;
    if (!filter || FAILED(filter->EnumPins(&e)) || !e) return result;
    CComPtr<IPin> pin;
    while (e->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION d;
        bool match = SUCCEEDED(pin->QueryDirection(&d)) && d == q.direction &&
                     !(q.unconnectedOnly && IsConnected(pin)) &&
                     (!q.category || IsEqualGUID(PinCategory(pin), *q.category)) &&
                     (!q.type || OffersMajorType(pin, *q.type));
        if (match) result.push_back(pin);
        pin.Release();
    }
    return result;
}

CComPtr<IBaseFilter> OwnerOf(IPin* pin) {
    CComPtr<IBaseFilter> owner;
    PIN_INFO info;
    if (pin && SUCCEEDED(pin->QueryPinInfo(&info))) owner.Attach(info.pFilter);
    return owner;
}

CComPtr<IPin> PinNamed(IBaseFilter* filter, PIN_DIRECTION direction, const std::wstring& name) {
    for (auto& pin : MatchingPins(filter, {direction, nullptr, nullptr, false})) {
        PIN_INFO info;
        if (FAILED(pin->QueryPinInfo(&info))) continue;
        if (info.pFilter) info.pFilter->Release();
        if (name.empty() ? !IsConnected(pin) : name == info.achName) return pin;
    }
    return nullptr;
}

bool Ask(IUnknown* object, REFIID riid, void** ppv) { return object && SUCCEEDED(object->QueryInterface(riid, ppv)); }

// The filter, then its pins (of the major type, when one is given).
bool AskFilterAndPins(IBaseFilter* filter, const GUID* type, REFIID riid, void** ppv) {
    if (Ask(filter, riid, ppv)) return true;
    for (PIN_DIRECTION d : {PINDIR_OUTPUT, PINDIR_INPUT})
        for (auto& pin : MatchingPins(filter, {d, nullptr, type, false}))
            if (Ask(pin, riid, ppv)) return true;
    return false;
}

}  // namespace

// ---- upstream devices ----

CComPtr<IBaseFilter> CaptureGraphBuilder::DeviceFilterInGraph(DeviceId device) {
    CComPtr<IEnumFilters> e;
    if (FAILED(m_graph->EnumFilters(&e)) || !e) return nullptr;
    CComPtr<IBaseFilter> filter;
    while (e->Next(1, &filter, nullptr) == S_OK) {
        auto* own = dynamic_cast<FilterBase*>(filter.p);
        if (own && own->Device() == device) return filter;
        filter.Release();
    }
    return nullptr;
}

void CaptureGraphBuilder::BringInUpstream(IBaseFilter* filter, int depth) {
    auto* own = dynamic_cast<FilterBase*>(filter);
    if (depth > kMaxUpstreamDepth) return;
    DeviceEntry entry;
    if (!own || !own->Device() || !GetDevice(own->Device(), &entry)) return;
    for (const UpstreamLink& link : entry.upstream) {
        CComPtr<IPin> in = PinNamed(filter, PINDIR_INPUT, link.pin);
        if (!in || IsConnected(in)) continue;
        CComPtr<IBaseFilter> upstream = DeviceFilterBroughtIn(link.device);
        if (!upstream) continue;
        CComPtr<IPin> out = PinNamed(upstream, PINDIR_OUTPUT, link.upstreamPin);
        if (out && !IsConnected(out)) m_graph->ConnectDirect(out, in, nullptr);
        BringInUpstream(upstream, depth + 1);
    }
}

CComPtr<IBaseFilter> CaptureGraphBuilder::DeviceFilterBroughtIn(DeviceId device) {
    CComPtr<IBaseFilter> filter = DeviceFilterInGraph(device);
    if (filter) return filter;
    DeviceEntry entry;
    if (!GetDevice(device, &entry) || FAILED(BindDevice(device, IID_IBaseFilter, reinterpret_cast<void**>(&filter))) ||
        FAILED(m_graph->AddFilter(filter, entry.friendlyName.c_str())))
        return nullptr;
    return filter;
}

void CaptureGraphBuilder::BringInDownstream(IBaseFilter* filter) {
    auto* own = dynamic_cast<FilterBase*>(filter);
    if (!own || !own->Device()) return;
    for (DeviceId fed : DevicesFedBy(own->Device())) {
        DeviceEntry entry;
        if (!GetDevice(fed, &entry)) continue;
        for (const UpstreamLink& link : entry.upstream) {
            if (link.device != own->Device()) continue;
            CComPtr<IPin> out = PinNamed(filter, PINDIR_OUTPUT, link.upstreamPin);
            if (!out || IsConnected(out)) continue;
            CComPtr<IBaseFilter> downstream = DeviceFilterBroughtIn(fed);
            if (!downstream) break;
            CComPtr<IPin> in = PinNamed(downstream, PINDIR_INPUT, link.pin);
            if (in && !IsConnected(in)) m_graph->ConnectDirect(out, in, nullptr);
        }
    }
}

bool CaptureGraphBuilder::SearchUpstream(IBaseFilter* filter, const GUID* type, REFIID riid, void** ppv,
                                         std::vector<IBaseFilter*>& seen) {
    BringInUpstream(filter);
    for (auto& in : MatchingPins(filter, {PINDIR_INPUT, nullptr, nullptr, false})) {
        CComPtr<IPin> peer;
        if (in->ConnectedTo(&peer) != S_OK) continue;
        CComPtr<IBaseFilter> upstream = OwnerOf(peer);
        if (!upstream || std::find(seen.begin(), seen.end(), upstream.p) != seen.end()) continue;
        seen.push_back(upstream);
        if (AskFilterAndPins(upstream, type, riid, ppv) || SearchUpstream(upstream, type, riid, ppv, seen)) return true;
    }
    return false;
}

bool CaptureGraphBuilder::SearchDownstream(IPin* out, const GUID* type, REFIID riid, void** ppv,
                                           std::vector<IBaseFilter*>& seen) {
    CComPtr<IPin> peer;
    if (out->ConnectedTo(&peer) != S_OK) return false;
    if (Ask(peer, riid, ppv)) return true;
    CComPtr<IBaseFilter> downstream = OwnerOf(peer);
    if (!downstream || std::find(seen.begin(), seen.end(), downstream.p) != seen.end()) return false;
    seen.push_back(downstream);
    if (AskFilterAndPins(downstream, type, riid, ppv)) return true;
    for (auto& next : MatchingPins(downstream, {PINDIR_OUTPUT, nullptr, nullptr, false}))
        if (SearchDownstream(next, type, riid, ppv, seen)) return true;
    return false;
}

// ---- ICaptureGraphBuilder2 ----

STDMETHODIMP CaptureGraphBuilder::SetFiltergraph(IGraphBuilder* pfg) {
    if (!pfg) return E_POINTER;
    HRESULT hr;
    if (Injected("ICaptureGraphBuilder2::SetFiltergraph", E_FAIL, &hr)) return hr;
    if (m_graph) return E_UNEXPECTED;
    m_graph = pfg;
    return S_OK;
}

STDMETHODIMP CaptureGraphBuilder::GetFiltergraph(IGraphBuilder** ppfg) {
    if (!ppfg) return E_POINTER;
    *ppfg = nullptr;
    if (!m_graph) return E_UNEXPECTED;
    return m_graph.CopyTo(ppfg);
}

STDMETHODIMP CaptureGraphBuilder::SetOutputFileName(const GUID*, LPCOLESTR, IBaseFilter** ppf, IFileSinkFilter** ppSink) {
    if (ppf) *ppf = nullptr;
    if (ppSink) *ppSink = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CaptureGraphBuilder::FindInterface(const GUID* pCategory, const GUID* pType, IBaseFilter* pf, REFIID riid,
                                                void** ppint) {
    if (!ppint) return E_POINTER;
    *ppint = nullptr;
    if (!pf) return E_POINTER;
    HRESULT hr;
    if (Injected("ICaptureGraphBuilder2::FindInterface", E_FAIL, &hr)) return hr;
    if (!m_graph) return E_UNEXPECTED;
    bool up = !pCategory || !IsEqualGUID(*pCategory, LOOK_DOWNSTREAM_ONLY);
    bool down = !pCategory || !IsEqualGUID(*pCategory, LOOK_UPSTREAM_ONLY);
    bool pinCategory = pCategory && up && down;
    std::vector<IBaseFilter*> seen{pf};

    if (pinCategory) {
        // The filter's output pin of that category and type, then the filter, then downstream
        // of that pin, then upstream of the filter.
        std::vector<CComPtr<IPin>> pins = MatchingPins(pf, {PINDIR_OUTPUT, pCategory, pType, false});
        if (pins.empty()) return E_FAIL;
        IPin* pin = pins.front();
        if (IsEqualGUID(riid, IID_IPin)) {
            pin->AddRef();
            *ppint = pin;
            return S_OK;
        }
        if (Ask(pin, riid, ppint) || Ask(pf, riid, ppint) || SearchDownstream(pin, pType, riid, ppint, seen) ||
            SearchUpstream(pf, pType, riid, ppint, seen))
            return S_OK;
        return E_NOINTERFACE;
    }
    if (AskFilterAndPins(pf, pType, riid, ppint)) return S_OK;
    if (down) BringInDownstream(pf);
    if (down)
        for (auto& out : MatchingPins(pf, {PINDIR_OUTPUT, nullptr, nullptr, false}))
            if (SearchDownstream(out, pType, riid, ppint, seen)) return S_OK;
    if (up && SearchUpstream(pf, pType, riid, ppint, seen)) return S_OK;
    return E_NOINTERFACE;
}

STDMETHODIMP CaptureGraphBuilder::FindPin(IUnknown* pSource, PIN_DIRECTION pindir, const GUID* pCategory,
                                          const GUID* pType, BOOL fUnconnected, int num, IPin** ppPin) {
    if (!pSource || !ppPin) return E_POINTER;
    *ppPin = nullptr;
    CComPtr<IPin> asPin;
    if (SUCCEEDED(pSource->QueryInterface(IID_IPin, reinterpret_cast<void**>(&asPin)))) {
        PIN_DIRECTION d;
        bool match = SUCCEEDED(asPin->QueryDirection(&d)) && d == pindir && num == 0 &&
                     !(fUnconnected && IsConnected(asPin)) &&
                     (!pCategory || IsEqualGUID(PinCategory(asPin), *pCategory)) &&
                     (!pType || OffersMajorType(asPin, *pType));
        if (!match) return E_FAIL;
        *ppPin = asPin.Detach();
        return S_OK;
    }
    CComPtr<IBaseFilter> filter;
    if (FAILED(pSource->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter)))) return E_NOINTERFACE;
    std::vector<CComPtr<IPin>> pins = MatchingPins(filter, {pindir, pCategory, pType, bool(fUnconnected)});
    if (num < 0 || size_t(num) >= pins.size()) return E_FAIL;
    *ppPin = pins[num].Detach();
    return S_OK;
}

STDMETHODIMP CaptureGraphBuilder::RenderStream(const GUID* pCategory, const GUID* pType, IUnknown* pSource,
                                               IBaseFilter* pfCompressor, IBaseFilter* pfRenderer) {
    if (!pSource) return E_POINTER;
    HRESULT hr;
    if (Injected("ICaptureGraphBuilder2::RenderStream", E_FAIL, &hr)) return hr;
    if (!m_graph) return E_UNEXPECTED;
    CComPtr<IPin> out;
    hr = FindPin(pSource, PINDIR_OUTPUT, pCategory, pType, TRUE, 0, &out);
    if (FAILED(hr)) return hr;
    if (CComPtr<IBaseFilter> source = OwnerOf(out)) BringInUpstream(source);
    if (pfCompressor) {
        CComPtr<IPin> in;
        if (FAILED(hr = FindPin(pfCompressor, PINDIR_INPUT, nullptr, nullptr, TRUE, 0, &in))) return hr;
        if (FAILED(hr = m_graph->Connect(out, in))) return hr;
        out.Release();
        if (FAILED(hr = FindPin(pfCompressor, PINDIR_OUTPUT, nullptr, nullptr, TRUE, 0, &out))) return hr;
    }
    if (!pfRenderer) return m_graph->Render(out);
    CComPtr<IPin> in;
    if (FAILED(hr = FindPin(pfRenderer, PINDIR_INPUT, nullptr, nullptr, TRUE, 0, &in))) return hr;
    return m_graph->Connect(out, in);
}

STDMETHODIMP CaptureGraphBuilder::ControlStream(const GUID*, const GUID*, IBaseFilter*, REFERENCE_TIME*,
                                                REFERENCE_TIME*, WORD, WORD) {
    return E_NOTIMPL;
}

STDMETHODIMP CaptureGraphBuilder::AllocCapFile(LPCOLESTR, DWORDLONG) { return E_NOTIMPL; }

STDMETHODIMP CaptureGraphBuilder::CopyCaptureFile(LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*) {
    return E_NOTIMPL;
}

}  // namespace platform::dshow
