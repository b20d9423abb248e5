// A card's capture filter as its driver publishes it.
#include "hwsim/boards/CaptureFilter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "hwsim/boards/CardSignal.h"
#include "hwsim/boards/PublishDriver.h"
#include "hwsim/boards/TunerFilter.h"
#include "hwsim/chips/Saa713x.h"
#include "platform/dshow/StreamConfigMixin.h"
#include "uuids.h"
#include "vfwmsgs.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinBase;
using platform::dshow::PinDescription;

namespace {

constexpr LONG kMaxWidth = 720;
constexpr SIZE kMinSize = {90, 72};
constexpr ULONGLONG kAudioFrames = CardSignal::kSampleRate / 25;  // 40 ms a sample
constexpr long kLines525 = AnalogVideo_NTSC_M | AnalogVideo_NTSC_M_J | AnalogVideo_NTSC_433 | AnalogVideo_PAL_M;

LONG Height(long lines) { return lines == 525 ? 480 : 576; }
REFERENCE_TIME FrameTime(long lines) { return lines == 525 ? 333667 : 400000; }

// The capture pin's capabilities: YUY2, RGB24, UYVY (or the kind's own UYVY ones), YV12.
std::vector<platform::dshow::StreamCapability> CaptureCapabilities(const CardKind& kind) {
    VIDEO_STREAM_CONFIG_CAPS caps = {};
    caps.guid = FORMAT_VideoInfo;
    caps.VideoStandard = kCardStandards;
    caps.InputSize = {kMaxWidth, 576};
    caps.MinOutputSize = kMinSize;
    caps.MaxOutputSize = {kMaxWidth, 576};
    caps.MaxCroppingSize = {kMaxWidth, 576};
    caps.OutputGranularityX = 2;
    caps.MinFrameInterval = 333667;
    caps.MaxFrameInterval = 400000;
    std::vector<platform::dshow::StreamCapability> capabilities;
    for (auto [subtype, bits] : {std::pair<GUID, WORD>{MEDIASUBTYPE_YUY2, 16}, {MEDIASUBTYPE_RGB24, 24},
                                 {MEDIASUBTYPE_UYVY, 16}, {MEDIASUBTYPE_YV12, 12}}) {
        const platform::dshow::MediaType type = platform::dshow::VideoInfoType(subtype, kMaxWidth, 576, bits);
        if (IsEqualGUID(subtype, MEDIASUBTYPE_UYVY) && !kind.uyvyCapabilities.empty()) {
            for (const UyvyCapability& uyvy : kind.uyvyCapabilities) {
                VIDEO_STREAM_CONFIG_CAPS own = caps;
                own.VideoStandard = uyvy.videoStandard;
                own.MaxCroppingSize = uyvy.maxCropping;
                capabilities.push_back(platform::dshow::StreamCapability::Video(type, own));
            }
            continue;
        }
        capabilities.push_back(platform::dshow::StreamCapability::Video(type, caps));
    }
    return capabilities;
}

BYTE Clip(int v) { return BYTE(std::clamp(v, 0, 255)); }

// A YUY2 picture (rows of `srcWidth` pixels, even) written into a sample of another layout
// `width` pixels wide.
void ConvertYuy2(const BYTE* src, int srcWidth, int width, int height, const GUID& subtype, BYTE* dst) {
    const size_t pixels = size_t(width) * height;
    if (IsEqualGUID(subtype, MEDIASUBTYPE_UYVY)) {
        for (size_t i = 0; i < pixels * 2; i += 2) {
            dst[i] = src[i + 1];
            dst[i + 1] = src[i];
        }
    } else if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB24)) {
        const int stride = (width * 3 + 3) & ~3;
        for (int y = 0; y < height; ++y) {
            const BYTE* in = src + size_t(y) * srcWidth * 2;
            BYTE* out = dst + size_t(height - 1 - y) * stride;  // bottom-up
            for (int x = 0; x < width; ++x) {
                const int c = 298 * (in[x * 2] - 16);
                const int d = in[(x & ~1) * 2 + 1] - 128;
                const int e = in[(x & ~1) * 2 + 3] - 128;
                out[x * 3] = Clip((c + 516 * d + 128) >> 8);
                out[x * 3 + 1] = Clip((c - 100 * d - 208 * e + 128) >> 8);
                out[x * 3 + 2] = Clip((c + 409 * e + 128) >> 8);
            }
        }
    } else if (IsEqualGUID(subtype, MEDIASUBTYPE_YV12)) {
        BYTE* v = dst + pixels;
        BYTE* u = v + pixels / 4;
        for (size_t i = 0; i < pixels; ++i) dst[i] = src[i * 2];
        for (int y = 0; y < height / 2; ++y) {
            for (int x = 0; x < width / 2; ++x) {
                const BYTE* pair = src + (size_t(y) * 2 * width + x * 2) * 2;
                u[y * (width / 2) + x] = pair[1];
                v[y * (width / 2) + x] = pair[3];
            }
        }
    } else {
        std::memcpy(dst, src, pixels * 2);
    }
}

size_t PictureBytes(const GUID& subtype, int width, int height) {
    if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB24)) return size_t((width * 3 + 3) & ~3) * height;
    if (IsEqualGUID(subtype, MEDIASUBTYPE_YV12)) return size_t(width) * height * 3 / 2;
    return size_t(width) * height * 2;
}

}  // namespace

// The capture output: a format up to 720 x the standard's lines; the 656 port follows its size.
class CapturePin : public platform::dshow::StreamConfigPin {
public:
    CapturePin(CaptureFilter* filter, PinDescription description)
        : StreamConfigPin(filter, std::move(description), CaptureCapabilities(filter->Driver().GetCard().Kind())),
          m_owner(*filter) {}

protected:
    HRESULT OnSetFormat(const MediaType& format) override {
        const auto* info = format.FormatAs<VIDEOINFOHEADER>();
        if (!info) return VFW_E_INVALIDMEDIATYPE;
        const LONG width = info->bmiHeader.biWidth;
        const LONG height = std::abs(info->bmiHeader.biHeight);
        const long lines = m_owner.Lines();
        if (width <= 0 || width > kMaxWidth || height <= 0 || height > Height(lines)) {
            return VFW_E_INVALIDMEDIATYPE;
        }
        const HRESULT hr = StreamConfigPin::OnSetFormat(format);
        if (SUCCEEDED(hr)) m_owner.OfferTypes(lines, SIZE{width, height});
        return hr;
    }

private:
    CaptureFilter& m_owner;
};

CaptureFilter::CaptureFilter(std::shared_ptr<KsDriver> driver, bool interleavedPin)
    : With(kCaptureFilterClsid), m_driver(std::move(driver)) {
    AddPin(PinDescription{PINDIR_INPUT, L"Analog Video In", L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogVideo, GUID_NULL)}});
    AddPin(PinDescription{PINDIR_INPUT, L"Analog Audio In", L"", GUID_NULL, {MediaType(MEDIATYPE_AnalogAudio, GUID_NULL)}});
    CComPtr<PinBase> capture;
    capture.Attach(new CapturePin(this, PinDescription{PINDIR_OUTPUT, L"Capture", L"", PIN_CATEGORY_CAPTURE, {}}));
    m_capture = AddPin(capture);
    m_preview = AddPin(PinDescription{PINDIR_OUTPUT, L"Preview", L"", PIN_CATEGORY_PREVIEW, {}});
    const MediaType pcm = platform::dshow::PcmAudioType(2, CardSignal::kSampleRate, 16);
    AddPin(PinDescription{PINDIR_OUTPUT, L"Audio", L"", PIN_CATEGORY_CAPTURE, {pcm}});
    if (interleavedPin) {
        AddPin(PinDescription{PINDIR_OUTPUT, L"Interleaved", L"", PIN_CATEGORY_CAPTURE,
                              {MediaType(MEDIATYPE_Interleaved, GUID_NULL)}});
    }
    if (m_driver->GetCard().HasEncoder()) {
        m_port656 = AddPin(PinDescription{PINDIR_OUTPUT, L"656", L"", GUID_NULL, {}});
        AddPin(PinDescription{PINDIR_OUTPUT, L"I2S", L"", GUID_NULL, {pcm}});
    }

    PublishDriver(*this, m_driver);
    SetTVFormats(kCardStandards, AnalogVideo_PAL_D);
    OfferTypes(625, SIZE{kMaxWidth, 576});
    for (long property : {VideoProcAmp_Brightness, VideoProcAmp_Contrast, VideoProcAmp_Saturation}) {
        SetProcAmpRange(property, {0, 255, 1, 128, VideoProcAmp_Flags_Manual});
    }
    SetProcAmpRange(VideoProcAmp_Hue, {-128, 127, 1, 0, VideoProcAmp_Flags_Manual});
}

void CaptureFilter::OfferTypes(long lines, SIZE capture) {
    const REFERENCE_TIME frame = FrameTime(lines);
    m_preview->SetMediaTypes({platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, kMaxWidth, Height(lines), 16, frame)});
    if (m_port656) {
        m_port656->SetMediaTypes(
            {platform::dshow::VideoInfoType(MEDIASUBTYPE_UYVY, capture.cx, std::min(capture.cy, Height(lines)), 16, frame)});
    }
}

SIZE CaptureFilter::CaptureSize() const {
    const MediaType format = static_cast<platform::dshow::StreamConfigPin*>(m_capture)->CurrentFormat();
    const auto* info = format.FormatAs<VIDEOINFOHEADER>();
    if (!info) return SIZE{kMaxWidth, 576};
    return SIZE{info->bmiHeader.biWidth, std::abs(info->bmiHeader.biHeight)};
}

long CaptureFilter::Lines() const {
    long lines = 625;
    const_cast<CaptureFilter*>(this)->get_NumberOfLines(&lines);
    return lines;
}

HRESULT CaptureFilter::OnTVFormat(long standard) {
    const long lines = (standard & kLines525) ? 525 : 625;
    SIZE capture = CaptureSize();
    capture.cy = std::min(capture.cy, Height(lines));
    OfferTypes(lines, capture);
    return S_OK;
}

STDMETHODIMP CaptureFilter::QueryInterface(REFIID riid, void** ppv) {
    const HRESULT hr = With::QueryInterface(riid, ppv);
    if (hr != E_NOINTERFACE || !ppv) return hr;
    return m_driver->QueryDriverInterface(GetUnknown(), riid, ppv);
}

STDMETHODIMP CaptureFilter::JoinFilterGraph(IFilterGraph* pGraph, LPCWSTR pName) {
    m_driver->GetCard().NoteGraph("capture", pGraph != nullptr);
    return With::JoinFilterGraph(pGraph, pName);
}

HRESULT CaptureFilter::HorizontalLocked(long* locked) {
    Card& card = m_driver->GetCard();
    if (!card.IsPlugged()) return kDeviceGone;
    if (card.VideoSource() == Card::Source::Tuner) {
        *locked = (card.Bridge().Read(Saa713x::kVideoStatus) & 1) ? 1 : 0;
    } else {
        *locked = CardSignal::Video(card).HasPicture() ? 1 : 0;
    }
    return S_OK;
}

REFERENCE_TIME CaptureFilter::SampleTime(PinBase* pin, ULONGLONG index) {
    if (IsEqualGUID(pin->ConnectionType().Major(), MEDIATYPE_Audio)) {
        return REFERENCE_TIME(index * kAudioFrames * 10000000 / CardSignal::kSampleRate);
    }
    return Lines() == 525 ? REFERENCE_TIME(index * 1001000 / 3) : REFERENCE_TIME(index) * 400000;
}

HRESULT CaptureFilter::FillSample(PinBase* pin, ULONGLONG index, IMediaSample* sample) {
    const Card& card = m_driver->GetCard();
    if (!card.IsPlugged()) return kDeviceGone;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    const MediaType type = pin->ConnectionType();
    if (IsEqualGUID(type.Major(), MEDIATYPE_Audio)) {
        const size_t bytes = kAudioFrames * 2 * sizeof(int16_t);
        if (size_t(sample->GetSize()) < bytes) return E_OUTOFMEMORY;
        CardSignal::Audio(card).FillPcm(index * kAudioFrames, kAudioFrames, reinterpret_cast<int16_t*>(data));
        return sample->SetActualDataLength(long(bytes));
    }
    const auto* info = type.FormatAs<VIDEOINFOHEADER>();
    if (!info) return VFW_E_INVALIDMEDIATYPE;
    const int width = info->bmiHeader.biWidth;
    const int height = std::abs(info->bmiHeader.biHeight);
    if (width <= 0 || width > kMaxWidth || height <= 0) return VFW_E_INVALIDMEDIATYPE;
    const size_t bytes = PictureBytes(type.Subtype(), width, height);
    if (size_t(sample->GetSize()) < bytes) return E_OUTOFMEMORY;
    const CardSignal signal = CardSignal::Video(card);
    const int drawWidth = (width + 1) & ~1;  // YUY2 pixels come in pairs
    if (IsEqualGUID(type.Subtype(), MEDIASUBTYPE_YUY2) && drawWidth == width) {
        signal.DrawYuy2(index, width, height, data);
    } else {
        std::vector<BYTE> picture(size_t(drawWidth) * height * 2);
        signal.DrawYuy2(index, drawWidth, height, picture.data());
        const bool rgb = IsEqualGUID(type.Subtype(), MEDIASUBTYPE_RGB24);
        ConvertYuy2(picture.data(), drawWidth, rgb ? width : width & ~1, height, type.Subtype(), data);
    }
    return sample->SetActualDataLength(long(bytes));
}

STDMETHODIMP CaptureFilter::Set(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                                LPVOID pPropData, DWORD cbPropData) {
    if (!m_driver->GetCard().IsPlugged()) {
        return m_driver->Set(guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData);
    }
    return FilterBase::Set(guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData);
}

STDMETHODIMP CaptureFilter::Get(REFGUID guidPropSet, DWORD dwPropID, LPVOID pInstanceData, DWORD cbInstanceData,
                                LPVOID pPropData, DWORD cbPropData, DWORD* pcbReturned) {
    if (!m_driver->GetCard().IsPlugged()) {
        DWORD returned = 0;
        return m_driver->Get(guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData,
                             pcbReturned ? pcbReturned : &returned);
    }
    return FilterBase::Get(guidPropSet, dwPropID, pInstanceData, cbInstanceData, pPropData, cbPropData, pcbReturned);
}

STDMETHODIMP CaptureFilter::QuerySupported(REFGUID guidPropSet, DWORD dwPropID, DWORD* pTypeSupport) {
    if (!m_driver->GetCard().IsPlugged()) return m_driver->QuerySupported(guidPropSet, dwPropID, pTypeSupport);
    return FilterBase::QuerySupported(guidPropSet, dwPropID, pTypeSupport);
}

}  // namespace hwsim
