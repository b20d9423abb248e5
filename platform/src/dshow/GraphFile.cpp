// Saving and loading filter graphs. Layout, little-endian: "PGRF", version 2, the filter count,
// per filter its kind (0 class, 1 device), CLSID, name, for a device its category,
// FriendlyName and ordinal among plugged devices of that name, and the byte count and bytes of
// the state the filter saved through IPersistStream (none when it offers no IPersistStream);
// then the connection count and per connection the output filter's index and pin id, the
// input filter's index and pin id and the media type. Version 1 files (without filter state)
// still load.
#include "GraphFile.h"

#include <cstring>
#include <string>
#include <vector>

#include "GraphRecord.h"
#include "platform/comservices.h"
#include "platform/devicetree.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/MediaType.h"
#include "vfwmsgs.h"

namespace platform::dshow {

namespace {

constexpr char kMagic[4] = {'P', 'G', 'R', 'F'};
constexpr DWORD kVersion = 2;  // 1: without the filters' own state
constexpr DWORD kMaxCount = RecordWriter::kMaxCount;
constexpr DWORD kMaxState = 0x100000;

struct SavedFilter {
    CComPtr<IBaseFilter> filter;
    std::wstring name;
};

std::vector<SavedFilter> GraphFilters(IFilterGraph* graph) {
    std::vector<SavedFilter> filters;
    CComPtr<IEnumFilters> e;
    if (FAILED(graph->EnumFilters(&e)) || !e) return filters;
    CComPtr<IBaseFilter> f;
    while (e->Next(1, &f, nullptr) == S_OK) {
        FILTER_INFO info;
        std::wstring name;
        if (SUCCEEDED(f->QueryFilterInfo(&info))) {
            name = info.achName;
            if (info.pGraph) info.pGraph->Release();
        }
        filters.push_back(SavedFilter{f, name});
        f.Release();
    }
    return filters;
}

// The device a filter was bound from, with its ordinal among the plugged devices of the same
// category and FriendlyName; false for a filter made by class.
bool DeviceOf(IBaseFilter* filter, DeviceEntry* entry, DWORD* ordinal) {
    auto* own = dynamic_cast<FilterBase*>(filter);
    if (!own || !own->Device() || !GetDevice(own->Device(), entry)) return false;
    *ordinal = 0;
    for (DeviceId id : DevicesInCategory(entry->category)) {
        if (id == own->Device()) return true;
        DeviceEntry other;
        if (GetDevice(id, &other) && other.friendlyName == entry->friendlyName) ++*ordinal;
    }
    return false;
}

HRESULT BindSavedDevice(REFGUID category, const std::wstring& name, DWORD ordinal, IBaseFilter** filter) {
    for (DeviceId id : DevicesInCategory(category)) {
        DeviceEntry entry;
        if (!GetDevice(id, &entry) || entry.friendlyName != name) continue;
        if (ordinal-- == 0) return BindDevice(id, IID_IBaseFilter, reinterpret_cast<void**>(filter));
    }
    return VFW_E_NOT_FOUND;
}

std::wstring PinId(IPin* pin) {
    LPWSTR id = nullptr;
    std::wstring text;
    if (SUCCEEDED(pin->QueryId(&id)) && id) text = id;
    CoTaskMemFree(id);
    return text;
}

CComPtr<IBaseFilter> OwnerOf(IPin* pin) {
    CComPtr<IBaseFilter> owner;
    PIN_INFO info;
    if (SUCCEEDED(pin->QueryPinInfo(&info))) owner.Attach(info.pFilter);
    return owner;
}

// What the filter saves of itself through IPersistStream; empty when it offers none.
HRESULT SaveFilterState(IBaseFilter* filter, std::vector<BYTE>* state) {
    state->clear();
    CComPtr<IPersistStream> persist;
    if (FAILED(filter->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist)))) return S_OK;
    CComPtr<IStream> memory;
    HRESULT hr = CreateMemoryStream(&memory);
    if (SUCCEEDED(hr)) hr = persist->Save(memory, TRUE);
    STATSTG stat = {};
    if (SUCCEEDED(hr)) hr = memory->Stat(&stat, STATFLAG_NONAME);
    if (SUCCEEDED(hr) && stat.cbSize.QuadPart > kMaxState) hr = STG_E_MEDIUMFULL;
    if (FAILED(hr)) return hr;
    state->resize(size_t(stat.cbSize.QuadPart));
    LARGE_INTEGER start{};
    ULONG got = 0;
    hr = memory->Seek(start, STREAM_SEEK_SET, nullptr);
    if (SUCCEEDED(hr) && !state->empty()) hr = memory->Read(state->data(), ULONG(state->size()), &got);
    if (SUCCEEDED(hr) && got != state->size()) hr = STG_E_READFAULT;
    return hr;
}

// Hands the saved state back to the filter; a filter that saved state must take it again.
HRESULT LoadFilterState(IBaseFilter* filter, const std::vector<BYTE>& state) {
    if (state.empty()) return S_OK;
    CComPtr<IPersistStream> persist;
    if (FAILED(filter->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist))))
        return VFW_E_CORRUPT_GRAPH_FILE;
    CComPtr<IStream> memory;
    HRESULT hr = CreateMemoryStream(&memory);
    if (SUCCEEDED(hr)) hr = memory->Write(state.data(), ULONG(state.size()), nullptr);
    LARGE_INTEGER start{};
    if (SUCCEEDED(hr)) hr = memory->Seek(start, STREAM_SEEK_SET, nullptr);
    if (SUCCEEDED(hr)) hr = persist->Load(memory);
    return hr;
}

}  // namespace

HRESULT SaveGraph(IFilterGraph* graph, IStream* stream) {
    std::vector<SavedFilter> filters = GraphFilters(graph);
    RecordWriter w;
    w.Bytes(kMagic, 4);
    w.Dword(kVersion);
    w.Dword(DWORD(filters.size()));
    for (SavedFilter& f : filters) {
        DeviceEntry device;
        DWORD ordinal = 0;
        bool isDevice = DeviceOf(f.filter, &device, &ordinal);
        CLSID clsid = GUID_NULL;
        f.filter->GetClassID(&clsid);
        w.Bytes(isDevice ? "\1" : "\0", 1);
        w.Guid(clsid);
        w.Text(f.name);
        if (isDevice) {
            w.Guid(device.category);
            w.Text(device.friendlyName);
            w.Dword(ordinal);
        }
        std::vector<BYTE> state;
        HRESULT hr = SaveFilterState(f.filter, &state);
        if (FAILED(hr)) return hr;
        w.Dword(DWORD(state.size()));
        w.Bytes(state.data(), state.size());
    }

    struct Connection {
        DWORD out, in;
        std::wstring outPin, inPin;
        MediaType type;
    };
    std::vector<Connection> connections;
    auto indexOf = [&](IBaseFilter* filter) {
        for (size_t i = 0; i < filters.size(); ++i)
            if (filters[i].filter == filter) return DWORD(i);
        return DWORD(kMaxCount);
    };
    for (size_t i = 0; i < filters.size(); ++i) {
        CComPtr<IEnumPins> pins;
        if (FAILED(filters[i].filter->EnumPins(&pins)) || !pins) continue;
        CComPtr<IPin> pin;
        while (pins->Next(1, &pin, nullptr) == S_OK) {
            PIN_DIRECTION direction;
            CComPtr<IPin> peer;
            AM_MEDIA_TYPE mt;
            if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_OUTPUT &&
                pin->ConnectedTo(&peer) == S_OK && SUCCEEDED(pin->ConnectionMediaType(&mt))) {
                DWORD in = indexOf(OwnerOf(peer));
                if (in != kMaxCount) connections.push_back(Connection{DWORD(i), in, PinId(pin), PinId(peer), MediaType(mt)});
                FreeMediaType(mt);
            }
            pin.Release();
        }
    }
    w.Dword(DWORD(connections.size()));
    for (Connection& c : connections) {
        w.Dword(c.out);
        w.Text(c.outPin);
        w.Dword(c.in);
        w.Text(c.inPin);
        w.Type(c.type);
    }
    return w.Flush(stream);
}

HRESULT LoadGraph(IFilterGraph* graph, IStream* stream) {
    RecordReader r(stream);
    char magic[4];
    DWORD version, count;
    if (!r.Bytes(magic, 4) || std::memcmp(magic, kMagic, 4) != 0 || !r.Dword(&version) || version < 1 ||
        version > kVersion || !r.Dword(&count) || count > kMaxCount)
        return VFW_E_CORRUPT_GRAPH_FILE;

    std::vector<CComPtr<IBaseFilter>> filters;
    for (DWORD i = 0; i < count; ++i) {
        BYTE kind;
        CLSID clsid;
        std::wstring name;
        if (!r.Bytes(&kind, 1) || kind > 1 || !r.Guid(&clsid) || !r.Text(&name)) return VFW_E_CORRUPT_GRAPH_FILE;
        CComPtr<IBaseFilter> filter;
        HRESULT hr;
        if (kind == 1) {
            GUID category;
            std::wstring friendlyName;
            DWORD ordinal;
            if (!r.Guid(&category) || !r.Text(&friendlyName) || !r.Dword(&ordinal)) return VFW_E_CORRUPT_GRAPH_FILE;
            hr = BindSavedDevice(category, friendlyName, ordinal, &filter);
        } else {
            hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                  reinterpret_cast<void**>(&filter));
        }
        if (FAILED(hr)) return hr;
        std::vector<BYTE> state;
        DWORD stateSize = 0;
        if (version >= 2 && (!r.Dword(&stateSize) || stateSize > kMaxState)) return VFW_E_CORRUPT_GRAPH_FILE;
        state.resize(stateSize);
        if (stateSize && !r.Bytes(state.data(), stateSize)) return VFW_E_CORRUPT_GRAPH_FILE;
        hr = graph->AddFilter(filter, name.c_str());
        if (SUCCEEDED(hr)) hr = LoadFilterState(filter, state);
        if (FAILED(hr)) return hr;
        filters.push_back(filter);
    }

    if (!r.Dword(&count) || count > kMaxCount) return VFW_E_CORRUPT_GRAPH_FILE;
    for (DWORD i = 0; i < count; ++i) {
        DWORD out, in;
        std::wstring outPin, inPin;
        MediaType type;
        if (!r.Dword(&out) || !r.Text(&outPin) || !r.Dword(&in) || !r.Text(&inPin) || !r.Type(&type) ||
            out >= filters.size() || in >= filters.size())
            return VFW_E_CORRUPT_GRAPH_FILE;
        CComPtr<IPin> from, to;
        HRESULT hr = filters[out]->FindPin(outPin.c_str(), &from);
        if (SUCCEEDED(hr)) hr = filters[in]->FindPin(inPin.c_str(), &to);
        if (SUCCEEDED(hr)) hr = graph->ConnectDirect(from, to, &type.Get());
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

}  // namespace platform::dshow
