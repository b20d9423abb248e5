// Saving and loading filter graphs. Layout, little-endian: "PGRF", version 1, the filter count,
// per filter its kind (0 class, 1 device), CLSID, name, and for a device its category,
// FriendlyName and ordinal among plugged devices of that name; then the connection count and
// per connection the output filter's index and pin id, the input filter's index and pin id
// and the media type. Texts are a 32-bit count of UTF-16 units and the units.
#include "GraphFile.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/devicetree.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/MediaType.h"
#include "vfwmsgs.h"

namespace platform::dshow {

namespace {

constexpr char kMagic[4] = {'P', 'G', 'R', 'F'};
constexpr DWORD kVersion = 1;
constexpr DWORD kMaxCount = 0x10000;

class Writer {
public:
    void Bytes(const void* data, size_t size) {
        const BYTE* p = static_cast<const BYTE*>(data);
        m_bytes.insert(m_bytes.end(), p, p + size);
    }
    void Dword(DWORD v) {
        for (int i = 0; i < 4; ++i) m_bytes.push_back(BYTE(v >> (8 * i)));
    }
    void Guid(REFGUID g) {
        Dword(g.Data1);
        Dword(DWORD(g.Data2) | (DWORD(g.Data3) << 16));
        Bytes(g.Data4, 8);
    }
    void Text(const std::wstring& text) {
        std::vector<char16_t> units;
        for (wchar_t c : text) {
            auto cp = static_cast<uint32_t>(c);
            if (cp >= 0x10000) {
                cp -= 0x10000;
                units.push_back(char16_t(0xD800 + (cp >> 10)));
                units.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
            } else {
                units.push_back(char16_t(cp));
            }
        }
        Dword(DWORD(units.size()));
        for (char16_t u : units) {
            m_bytes.push_back(BYTE(u));
            m_bytes.push_back(BYTE(u >> 8));
        }
    }
    HRESULT Flush(IStream* stream) {
        ULONG written = 0;
        HRESULT hr = stream->Write(m_bytes.data(), ULONG(m_bytes.size()), &written);
        if (SUCCEEDED(hr) && written != m_bytes.size()) hr = STG_E_CANTSAVE;
        return hr;
    }

private:
    std::vector<BYTE> m_bytes;
};

class Reader {
public:
    explicit Reader(IStream* stream) : m_stream(stream) {}
    bool Bytes(void* data, ULONG size) {
        ULONG got = 0;
        return SUCCEEDED(m_stream->Read(data, size, &got)) && got == size;
    }
    bool Dword(DWORD* v) {
        BYTE b[4];
        if (!Bytes(b, 4)) return false;
        *v = DWORD(b[0]) | (DWORD(b[1]) << 8) | (DWORD(b[2]) << 16) | (DWORD(b[3]) << 24);
        return true;
    }
    bool Guid(GUID* g) {
        DWORD a, b;
        if (!Dword(&a) || !Dword(&b) || !Bytes(g->Data4, 8)) return false;
        g->Data1 = a;
        g->Data2 = WORD(b);
        g->Data3 = WORD(b >> 16);
        return true;
    }
    bool Text(std::wstring* text) {
        DWORD count;
        if (!Dword(&count) || count > kMaxCount) return false;
        std::vector<BYTE> raw(size_t(count) * 2);
        if (count && !Bytes(raw.data(), ULONG(raw.size()))) return false;
        text->clear();
        for (size_t i = 0; i < count; ++i) {
            uint32_t u = raw[2 * i] | (uint32_t(raw[2 * i + 1]) << 8);
            if (u >= 0xD800 && u < 0xDC00 && i + 1 < count) {
                uint32_t low = raw[2 * i + 2] | (uint32_t(raw[2 * i + 3]) << 8);
                if (low >= 0xDC00 && low < 0xE000) {
                    u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
            text->push_back(wchar_t(u));
        }
        return true;
    }

private:
    IStream* m_stream;
};

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

}  // namespace

HRESULT SaveGraph(IFilterGraph* graph, IStream* stream) {
    std::vector<SavedFilter> filters = GraphFilters(graph);
    Writer w;
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
        const AM_MEDIA_TYPE& mt = c.type.Get();
        w.Dword(c.out);
        w.Text(c.outPin);
        w.Dword(c.in);
        w.Text(c.inPin);
        w.Guid(mt.majortype);
        w.Guid(mt.subtype);
        w.Guid(mt.formattype);
        w.Dword(DWORD(mt.bFixedSizeSamples));
        w.Dword(DWORD(mt.bTemporalCompression));
        w.Dword(mt.lSampleSize);
        w.Dword(mt.cbFormat);
        if (mt.cbFormat) w.Bytes(mt.pbFormat, mt.cbFormat);
    }
    return w.Flush(stream);
}

HRESULT LoadGraph(IFilterGraph* graph, IStream* stream) {
    Reader r(stream);
    char magic[4];
    DWORD version, count;
    if (!r.Bytes(magic, 4) || std::memcmp(magic, kMagic, 4) != 0 || !r.Dword(&version) || version != kVersion ||
        !r.Dword(&count) || count > kMaxCount)
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
        hr = graph->AddFilter(filter, name.c_str());
        if (FAILED(hr)) return hr;
        filters.push_back(filter);
    }

    if (!r.Dword(&count) || count > kMaxCount) return VFW_E_CORRUPT_GRAPH_FILE;
    for (DWORD i = 0; i < count; ++i) {
        DWORD out, in, fixed, temporal, sampleSize, formatSize;
        std::wstring outPin, inPin;
        GUID major, subtype, formatType;
        if (!r.Dword(&out) || !r.Text(&outPin) || !r.Dword(&in) || !r.Text(&inPin) || !r.Guid(&major) ||
            !r.Guid(&subtype) || !r.Guid(&formatType) || !r.Dword(&fixed) || !r.Dword(&temporal) ||
            !r.Dword(&sampleSize) || !r.Dword(&formatSize) || formatSize > kMaxCount || out >= filters.size() ||
            in >= filters.size())
            return VFW_E_CORRUPT_GRAPH_FILE;
        std::vector<BYTE> format(formatSize);
        if (formatSize && !r.Bytes(format.data(), formatSize)) return VFW_E_CORRUPT_GRAPH_FILE;
        MediaType type(major, subtype, formatType, format.data(), formatSize);
        type.SetSampleSize(sampleSize, BOOL(fixed));
        CComPtr<IPin> from, to;
        HRESULT hr = filters[out]->FindPin(outPin.c_str(), &from);
        if (SUCCEEDED(hr)) hr = filters[in]->FindPin(inPin.c_str(), &to);
        if (SUCCEEDED(hr)) hr = graph->ConnectDirect(from, to, &type.Get());
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

}  // namespace platform::dshow
