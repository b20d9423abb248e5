// The MPEG encoder a board may carry, as its driver publishes it.
#include "hwsim/boards/EncoderFilter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "hwsim/boards/CaptureFilter.h"
#include "uuids.h"
#include "vfwmsgs.h"

namespace hwsim {

using platform::dshow::KsPropertyRequest;
using platform::dshow::KsVerb;
using platform::dshow::MediaType;
using platform::dshow::PinBase;
using platform::dshow::PinDescription;

namespace {

constexpr DWORD kRateId = 0;
constexpr DWORD kGopId = 2;

// An encoder input: takes the port of its own name on its own board's capture filter only
// (the one medium the two share on the board).
class PortPin : public PinBase {
public:
    PortPin(platform::dshow::FilterBase* filter, PinDescription description, Card& card)
        : PinBase(filter, std::move(description)), m_card(card) {}

    STDMETHODIMP ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) override {
        if (!SameBoardPort(pConnector)) return VFW_E_NO_TRANSPORT;
        return PinBase::ReceiveConnection(pConnector, pmt);
    }

private:
    bool SameBoardPort(IPin* connector) const {
        auto* pin = dynamic_cast<PinBase*>(connector);
        if (!pin || pin->Name() != Name()) return false;
        auto* capture = dynamic_cast<CaptureFilter*>(pin->Filter());
        return capture && &capture->Driver().GetCard() == &m_card;
    }

    Card& m_card;
};

std::string Hex(const void* data, DWORD length) {
    std::string text;
    char byte[4];
    for (DWORD i = 0; i < length && i < 16; ++i) {
        std::snprintf(byte, sizeof(byte), i ? " %02X" : "%02X", static_cast<const BYTE*>(data)[i]);
        text += byte;
    }
    return text;
}

}  // namespace

EncoderFilter::EncoderFilter(Card& card, WireLog& log, const GUID& set)
    : FilterBase(kEncoderFilterClsid), m_card(card), m_log(log) {
    CComPtr<PinBase> port;
    port.Attach(new PortPin(this, PinDescription{PINDIR_INPUT, L"656", L"", GUID_NULL,
                                                 {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_UYVY)}},
                            card));
    m_656 = AddPin(port);
    port.Release();
    port.Attach(new PortPin(this, PinDescription{PINDIR_INPUT, L"I2S", L"", GUID_NULL,
                                                 {MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM)}},
                            card));
    m_i2s = AddPin(port);
    const MediaType stream(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM);
    AddPin(PinDescription{PINDIR_OUTPUT, L"MPEG Out", L"", GUID_NULL, {stream}});
    AddPin(PinDescription{PINDIR_OUTPUT, L"MPEG Out 2", L"", GUID_NULL, {stream}});
    m_values[kGopId * 4] = 15;
    Properties().AddSet(
        set, [this](KsPropertyRequest& request) { return Property(request); },
        [](ULONG id, DWORD* support) {
            if (!PropertySize(id)) return E_PROP_ID_UNSUPPORTED;
            *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
            return S_OK;
        });
}

DWORD EncoderFilter::PropertySize(DWORD id) {
    switch (id) {
    case kRateId:
        return sizeof(RateRecord);
    case kGopId:
    case 4:
        return 1;
    case 1:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
        return 4;
    default:
        return 0;
    }
}

EncoderFilter::RateRecord EncoderFilter::Rates() const {
    std::lock_guard<std::mutex> lock(m_settingsLock);
    return m_rates;
}

BYTE EncoderFilter::Gop() const {
    std::lock_guard<std::mutex> lock(m_settingsLock);
    return m_values[kGopId * 4];
}

HRESULT EncoderFilter::Property(KsPropertyRequest& request) {
    WireRequest logged;
    logged.verb = request.verb == KsVerb::Set ? WireRequest::Verb::Set : WireRequest::Verb::Get;
    logged.set = request.set;
    logged.setName = "ENC";
    logged.id = request.id;
    logged.instanceLength = request.instanceLength;
    logged.dataLength = request.dataLength;
    if (request.data) {
        const BYTE* data = static_cast<const BYTE*>(request.data);
        logged.data.assign(data, data + request.dataLength);
    }
    const DWORD size = PropertySize(request.id);
    HRESULT hr = S_OK;
    if (!size) {
        hr = E_PROP_ID_UNSUPPORTED;
    } else if (!request.data || request.dataLength != size) {
        hr = E_INVALIDARG;
    } else if (request.verb == KsVerb::Set && State() != State_Stopped) {
        hr = VFW_E_NOT_STOPPED;
    } else if (request.verb == KsVerb::Set && request.id == kRateId) {
        RateRecord record;
        std::memcpy(&record, request.data, sizeof(record));
        if (record.averageBitRate > record.maximumBitRate || record.maximumBitRate > kEncoderMaxBitRate) {
            hr = E_INVALIDARG;
        } else {
            std::lock_guard<std::mutex> lock(m_settingsLock);
            m_rates = record;
        }
        char what[80];
        std::snprintf(what, sizeof(what), "rate mode %u average %u maximum %u", unsigned(record.mode),
                      unsigned(record.averageBitRate), unsigned(record.maximumBitRate));
        logged.what = what;
    } else {
        std::lock_guard<std::mutex> lock(m_settingsLock);
        if (request.verb == KsVerb::Set) {
            std::memcpy(&m_values[request.id * 4], request.data, size);
            logged.what = "value " + Hex(request.data, size);
        } else if (request.id == kRateId) {
            std::memcpy(request.data, &m_rates, size);
            request.returned = size;
        } else {
            std::memcpy(request.data, &m_values[request.id * 4], size);
            request.returned = size;
        }
    }
    logged.result = hr;
    m_log.Append(std::move(logged));
    return hr;
}

// The stream opens as the filter leaves Stopped, and again as a paused run goes on; it is drained
// and ended as the run ends. The graph pauses every filter, renderers first, before it stops
// any, so the writer downstream is still there to take the tail.
HRESULT EncoderFilter::OnStateChange(FILTER_STATE from, FILTER_STATE to) {
    std::lock_guard<platform::dshow::CriticalSection> lock(m_codeLock);
    const bool resumes = from == State_Paused && to == State_Running && !m_encoder.IsOpen();
    if ((from == State_Stopped || resumes) && m_656->IsConnected()) {
        const MediaType type = m_656->ConnectionType();
        const auto* info = type.FormatAs<VIDEOINFOHEADER>();
        if (!info) return VFW_E_TYPE_NOT_ACCEPTED;
        Mpeg2Encoder::Settings settings;
        settings.width = info->bmiHeader.biWidth;
        settings.height = std::abs(info->bmiHeader.biHeight);
        if (info->AvgTimePerFrame > 0 && info->AvgTimePerFrame < 370000) {
            settings.rateNum = 30000;
            settings.rateDen = 1001;
        }
        const RateRecord rates = Rates();
        settings.averageBitRate = rates.averageBitRate;
        settings.maximumBitRate = rates.maximumBitRate;
        settings.gop = Gop();
        if (!m_encoder.Open(settings)) return E_FAIL;
        if (!resumes) {
            m_pictures = 0;
            m_passedBytes = 0;
        }
        return PassOn();
    }
    if ((from == State_Running || to == State_Stopped) && m_encoder.IsOpen()) {
        // A stopped encoder has nothing more to give.
        const bool stopped = Stopped();
        m_encoder.Flush();
        if (stopped) m_encoder.TakeOutput();
        else PassOn();
    }
    return S_OK;
}

HRESULT EncoderFilter::OnReceive(PinBase* pin, IMediaSample* sample) {
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const long length = sample->GetActualDataLength();
    std::lock_guard<platform::dshow::CriticalSection> lock(m_codeLock);
    // A stopped encoder takes its input and makes nothing of it.
    if (!m_encoder.IsOpen() || Stopped()) return S_OK;
    bool coded;
    if (pin == m_656) {
        ++m_pictures;
        coded = m_encoder.EncodeVideo(data, size_t(length));
    } else {
        coded = m_encoder.EncodeAudio(reinterpret_cast<const int16_t*>(data), size_t(length) / 4);
    }
    if (!coded) return E_FAIL;
    return PassOn();
}

bool EncoderFilter::Stopped() const {
    const DWORD afterBytes = m_card.EncoderStopsAfterBytes();
    if (afterBytes != 0 && m_passedBytes >= afterBytes) return true;
    const DWORD afterMs = m_card.EncoderStopsAfterMs();
    if (afterMs == 0) return false;
    const MediaType type = m_656->ConnectionType();
    const auto* info = type.FormatAs<VIDEOINFOHEADER>();
    const ULONGLONG pictureMs = info && info->AvgTimePerFrame > 0 ? ULONGLONG(info->AvgTimePerFrame) / 10000 : 40;
    return m_pictures * pictureMs >= afterMs;
}

HRESULT EncoderFilter::PassOn() {
    std::vector<BYTE> made = m_encoder.TakeOutput();
    // The stream ends where the board's stop cuts it (EncoderStopsAfterBytes).
    const ULONGLONG afterBytes = m_card.EncoderStopsAfterBytes();
    if (afterBytes != 0) made.resize(size_t(std::min<ULONGLONG>(made.size(), afterBytes - std::min(afterBytes, m_passedBytes))));
    if (made.empty()) return S_OK;
    m_passedBytes += made.size();
    for (auto& output : ConnectedOutputs()) {
        size_t at = 0;
        while (at < made.size()) {
            CComPtr<IMediaSample> out;
            HRESULT hr = output->GetDeliveryBuffer(&out);
            if (FAILED(hr)) return hr;
            BYTE* target = nullptr;
            out->GetPointer(&target);
            const size_t n = std::min(made.size() - at, size_t(out->GetSize()));
            std::memcpy(target, made.data() + at, n);
            out->SetActualDataLength(long(n));
            at += n;
            hr = output->Deliver(out);
            if (FAILED(hr)) return hr;
        }
    }
    return S_OK;
}

}  // namespace hwsim
