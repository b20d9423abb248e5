// The MPEG-2 Demultiplexer.
#include "Mpeg2Demultiplexer.h"

#include <algorithm>
#include <cstring>

#include "dshow/Enumerators.h"
#include "dshow/GraphRecord.h"
#include "dshow/Inject.h"
#include "vfwmsgs.h"

namespace platform::dshow {

namespace {

class StreamIdEnumerator : public ComObject<IEnumStreamIdMap> {
public:
    StreamIdEnumerator(std::vector<STREAM_ID_MAP> map, size_t position) : m_map(std::move(map)), m_position(position) {}

    STDMETHODIMP Next(ULONG cRequest, STREAM_ID_MAP* pStreamIdMap, ULONG* pcReceived) override {
        if (!pStreamIdMap) return E_POINTER;
        ULONG n = 0;
        for (; n < cRequest && m_position < m_map.size(); ++n) pStreamIdMap[n] = m_map[m_position++];
        if (pcReceived) *pcReceived = n;
        return n == cRequest ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG cRecords) override {
        bool all = m_map.size() - m_position >= cRecords;
        m_position = all ? m_position + cRecords : m_map.size();
        return all ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        m_position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumStreamIdMap** pp) override {
        if (!pp) return E_POINTER;
        return CreateComObject<StreamIdEnumerator>(IID_IEnumStreamIdMap, reinterpret_cast<void**>(pp), m_map,
                                                   m_position);
    }

private:
    std::vector<STREAM_ID_MAP> m_map;
    size_t m_position;
};

}  // namespace

STDMETHODIMP StreamIdMapMixin::MapStreamId(ULONG ulStreamId, DWORD MediaSampleContent, ULONG ulSubstreamFilterValue,
                                           int iDataOffset) {
    HRESULT hr;
    if (Injected("IMPEG2StreamIdMap::MapStreamId", E_FAIL, &hr)) return hr;
    if (MediaSampleContent > MPEG2_PROGRAM_SYSTEM_HEADER) return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(m_lock);
    if (std::any_of(m_map.begin(), m_map.end(), [&](const STREAM_ID_MAP& m) { return m.stream_id == ulStreamId; }))
        return E_INVALIDARG;
    m_map.push_back(STREAM_ID_MAP{ulStreamId, MediaSampleContent, ulSubstreamFilterValue, iDataOffset});
    return S_OK;
}

STDMETHODIMP StreamIdMapMixin::UnmapStreamId(ULONG culStreamId, ULONG* pulStreamId) {
    if (culStreamId && !pulStreamId) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    for (ULONG i = 0; i < culStreamId; ++i)
        m_map.erase(std::remove_if(m_map.begin(), m_map.end(),
                                   [&](const STREAM_ID_MAP& m) { return m.stream_id == pulStreamId[i]; }),
                    m_map.end());
    return S_OK;
}

STDMETHODIMP StreamIdMapMixin::EnumStreamIdMap(IEnumStreamIdMap** ppIEnumStreamIdMap) {
    if (!ppIEnumStreamIdMap) return E_POINTER;
    return CreateComObject<StreamIdEnumerator>(IID_IEnumStreamIdMap, reinterpret_cast<void**>(ppIEnumStreamIdMap),
                                               Mappings(), 0);
}

std::vector<STREAM_ID_MAP> StreamIdMapMixin::Mappings() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_map;
}

STDMETHODIMP DemuxPinControl::CreateOutputPin(AM_MEDIA_TYPE* pMediaType, LPWSTR pszPinName, IPin** ppIPin) {
    if (!pMediaType || !pszPinName || !ppIPin) return E_POINTER;
    *ppIPin = nullptr;
    HRESULT hr;
    if (Injected("IMpeg2Demultiplexer::CreateOutputPin", E_FAIL, &hr)) return hr;
    FilterBase& demux = Demux();
    if (demux.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    if (!*pszPinName || demux.FindPinByName(pszPinName)) return E_INVALIDARG;
    CComPtr<PinBase> pin;
    pin.Attach(new DemuxOutputPin(&demux, PinDescription{PINDIR_OUTPUT, pszPinName, L"", GUID_NULL,
                                                         {MediaType(*pMediaType)}}));
    demux.AddPin(pin);
    *ppIPin = pin.Detach();
    return S_OK;
}

STDMETHODIMP DemuxPinControl::SetOutputPinMediaType(LPWSTR pszPinName, AM_MEDIA_TYPE* pMediaType) {
    if (!pszPinName || !pMediaType) return E_POINTER;
    PinBase* pin = Demux().FindPinByName(pszPinName);
    if (!pin || pin->Direction() != PINDIR_OUTPUT) return VFW_E_NOT_FOUND;
    if (pin->IsConnected()) return VFW_E_ALREADY_CONNECTED;
    pin->SetMediaTypes({MediaType(*pMediaType)});
    return S_OK;
}

STDMETHODIMP DemuxPinControl::DeleteOutputPin(LPWSTR pszPinName) {
    if (!pszPinName) return E_POINTER;
    HRESULT hr;
    if (Injected("IMpeg2Demultiplexer::DeleteOutputPin", E_FAIL, &hr)) return hr;
    FilterBase& demux = Demux();
    if (demux.State() != State_Stopped) return VFW_E_NOT_STOPPED;
    CComPtr<PinBase> pin(demux.FindPinByName(pszPinName));
    if (!pin || pin->Direction() != PINDIR_OUTPUT) return VFW_E_NOT_FOUND;
    // A connected pin is disconnected at both ends first.
    if (CComPtr<IPin> peer = pin->Peer()) peer->Disconnect();
    pin->Disconnect();
    return demux.RemovePin(pin) ? S_OK : E_FAIL;
}

namespace {
constexpr DWORD kStateVersion = 1;
}  // namespace

STDMETHODIMP DemuxPersist::GetClassID(CLSID* pClassID) { return Demux().GetClassID(pClassID); }
STDMETHODIMP DemuxPersist::IsDirty() { return S_OK; }

STDMETHODIMP DemuxPersist::GetSizeMax(ULARGE_INTEGER* pcbSize) {
    if (pcbSize) pcbSize->QuadPart = 0;
    return E_NOTIMPL;
}

// Layout: the version, the count of output pins, per pin its name, media type, the count of
// its stream ids and per id the four fields of STREAM_ID_MAP.
STDMETHODIMP DemuxPersist::Save(IStream* pStm, BOOL) {
    if (!pStm) return E_POINTER;
    RecordWriter w;
    std::vector<CComPtr<PinBase>> outputs;
    for (auto& pin : Demux().Pins())
        if (pin->Direction() == PINDIR_OUTPUT) outputs.push_back(pin);
    w.Dword(kStateVersion);
    w.Dword(DWORD(outputs.size()));
    for (auto& pin : outputs) {
        std::vector<MediaType> types = pin->MediaTypes();
        w.Text(pin->Name());
        w.Type(types.empty() ? MediaType() : types.front());
        auto* mapped = dynamic_cast<StreamIdMapMixin*>(pin.p);
        std::vector<STREAM_ID_MAP> ids = mapped ? mapped->Mappings() : std::vector<STREAM_ID_MAP>();
        w.Dword(DWORD(ids.size()));
        for (const STREAM_ID_MAP& id : ids) {
            w.Dword(id.stream_id);
            w.Dword(id.dwMediaSampleContent);
            w.Dword(id.ulSubstreamFilterValue);
            w.Dword(DWORD(id.iDataOffset));
        }
    }
    return w.Flush(pStm);
}

STDMETHODIMP DemuxPersist::Load(IStream* pStm) {
    if (!pStm) return E_POINTER;
    RecordReader r(pStm);
    DWORD version, count;
    if (!r.Dword(&version) || version != kStateVersion || !r.Dword(&count) || count > RecordWriter::kMaxCount)
        return VFW_E_INVALID_FILE_FORMAT;
    for (DWORD i = 0; i < count; ++i) {
        std::wstring name;
        MediaType type;
        DWORD ids;
        if (!r.Text(&name) || !r.Type(&type) || !r.Dword(&ids) || ids > RecordWriter::kMaxCount)
            return VFW_E_INVALID_FILE_FORMAT;
        CComPtr<IPin> pin;
        HRESULT hr = PinControl().CreateOutputPin(const_cast<AM_MEDIA_TYPE*>(&type.Get()), name.data(), &pin);
        if (FAILED(hr)) return hr;
        CComPtr<IMPEG2StreamIdMap> map;
        hr = pin->QueryInterface(IID_IMPEG2StreamIdMap, reinterpret_cast<void**>(&map));
        for (DWORD j = 0; SUCCEEDED(hr) && j < ids; ++j) {
            DWORD id, content, substream, offset;
            if (!r.Dword(&id) || !r.Dword(&content) || !r.Dword(&substream) || !r.Dword(&offset))
                return VFW_E_INVALID_FILE_FORMAT;
            hr = map->MapStreamId(id, content, substream, int(offset));
        }
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

Mpeg2DemultiplexerFilter::Mpeg2DemultiplexerFilter()
    : With(CLSID_MPEG2Demultiplexer), m_parser([this](const ProgramStreamParser::Packet& p) { Deliver(p); }) {
    AddPin(PinDescription{PINDIR_INPUT, L"MPEG-2 Stream", L"", GUID_NULL,
                          {MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM),
                           MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT)}});
}

}  // namespace platform::dshow

namespace platform::dshow {

namespace {

constexpr uint64_t kPtsMask = (1ull << 33) - 1;
constexpr uint8_t kPrivateStream1 = 0xBD;

// A step between PTS values longer than this either way is a discontinuity (two recordings
// spliced), not time that passed: 10 s at 90 kHz.
constexpr int64_t kPtsJump = 900000;

// The signed distance from PTS `from` to PTS `to` on the 33-bit circle.
int64_t PtsDistance(uint64_t from, uint64_t to) {
    const uint64_t d = (to - from) & kPtsMask;
    return d >= (1ull << 32) ? int64_t(d) - int64_t(1ull << 33) : int64_t(d);
}

bool IsJump(int64_t distance) { return distance > kPtsJump || distance < -kPtsJump; }

}  // namespace

// The routes are taken when the stream starts: the pins and their maps cannot change then.
HRESULT Mpeg2DemultiplexerFilter::OnStateChange(FILTER_STATE from, FILTER_STATE) {
    if (from != State_Stopped) return S_OK;
    std::lock_guard<std::mutex> lock(m_streamLock);
    m_parser.Reset();
    m_routes.clear();
    m_hasBase = false;
    m_clocks.clear();
    m_transportTraced = false;
    for (auto& pin : ConnectedOutputs())
        if (auto* out = dynamic_cast<DemuxOutputPin*>(pin.p))
            for (const STREAM_ID_MAP& map : out->Mappings()) m_routes.push_back(Route{map, pin.p});
    return S_OK;
}

HRESULT Mpeg2DemultiplexerFilter::OnReceive(PinBase* pin, IMediaSample* sample) {
    if (IsEqualGUID(pin->ConnectionType().Subtype(), MEDIASUBTYPE_MPEG2_TRANSPORT)) {
        if (!m_transportTraced) OutputDebugStringA("MPEG-2 Demultiplexer: transport stream not parsed, samples dropped\n");
        m_transportTraced = true;
        return S_OK;
    }
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_streamLock);
    m_deliveryResult = S_OK;
    m_parser.Feed(data, size_t(sample->GetActualDataLength()));
    return FAILED(m_deliveryResult) ? m_deliveryResult : S_OK;
}

// What comes after a flush starts anew: a packet cut short is dropped, and each stream's next
// PTS is placed by its distance from the first.
void Mpeg2DemultiplexerFilter::OnEndFlush(PinBase* pin) {
    {
        std::lock_guard<std::mutex> lock(m_streamLock);
        m_parser.Reset();
        m_clocks.clear();
    }
    FilterBase::OnEndFlush(pin);
}

int64_t Mpeg2DemultiplexerFilter::TicksOf(uint8_t streamId, uint64_t pts) {
    if (!m_hasBase) {
        m_hasBase = true;
        m_basePts = pts;
    }
    auto clock = std::find_if(m_clocks.begin(), m_clocks.end(), [&](auto& c) { return c.streamId == streamId; });
    if (clock == m_clocks.end()) {
        // A stream that starts far from the others starts where they are now.
        int64_t ticks = PtsDistance(m_basePts, pts);
        if (IsJump(ticks)) {
            ticks = 0;
            for (const StreamClock& other : m_clocks) ticks = std::max(ticks, other.lastTicks);
        }
        m_clocks.push_back(StreamClock{streamId, pts, ticks});
        return ticks;
    }
    // After a discontinuity the stamps go on from the last one.
    const int64_t step = PtsDistance(clock->lastPts, pts);
    if (!IsJump(step)) clock->lastTicks += step;
    clock->lastPts = pts;
    return clock->lastTicks;
}

void Mpeg2DemultiplexerFilter::Deliver(const ProgramStreamParser::Packet& packet) {
    // Only the mapped streams are placed on the time line: one nobody takes sets no base.
    const bool mapped = std::any_of(m_routes.begin(), m_routes.end(),
                                    [&](const Route& route) { return route.map.stream_id == packet.streamId; });
    if (!mapped) return;
    const int64_t ticks = packet.hasPts ? TicksOf(packet.streamId, packet.pts) : 0;
    for (const Route& route : m_routes) {
        if (FAILED(m_deliveryResult)) return;
        if (route.map.stream_id != packet.streamId) continue;
        const ULONG substream = route.map.ulSubstreamFilterValue;
        if (packet.streamId == kPrivateStream1 && substream != SUBSTREAM_FILTER_VAL_NONE &&
            (!packet.size || packet.payload[0] != substream))
            continue;
        HRESULT hr = DeliverTo(route, packet, packet.hasPts, ticks);
        if (FAILED(hr)) m_deliveryResult = hr;
    }
}

HRESULT Mpeg2DemultiplexerFilter::DeliverTo(const Route& route, const ProgramStreamParser::Packet& packet,
                                            bool hasTime, int64_t ticks) {
    const size_t offset = size_t(std::max(0, route.map.iDataOffset));
    if (offset >= packet.size) return S_OK;  // nothing of the payload is left to deliver
    const size_t size = packet.size - offset;
    CComPtr<IMediaSample> out;
    HRESULT hr = route.pin->GetDeliveryBuffer(&out);
    BYTE* target = nullptr;
    if (SUCCEEDED(hr)) hr = out->GetPointer(&target);
    if (SUCCEEDED(hr) && size_t(out->GetSize()) < size) hr = VFW_E_BUFFER_OVERFLOW;
    if (FAILED(hr)) return hr;
    std::memcpy(target, packet.payload + offset, size);
    out->SetActualDataLength(long(size));
    if (hasTime) {
        REFERENCE_TIME start = REFERENCE_TIME(ticks) * 1000 / 9;
        out->SetTime(&start, nullptr);
        out->SetSyncPoint(TRUE);
    }
    return route.pin->Deliver(out);
}

}  // namespace platform::dshow
