// The MPEG decoders a maker's package installs (package "intervideo").
#include "hwsim/installed/MpegDecoders.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libswscale/swscale.h>
}

#include "uuids.h"
#include "vfwmsgs.h"

namespace hwsim {

using platform::dshow::MediaType;
using platform::dshow::PinBase;
using platform::dshow::PinDescription;

namespace {

constexpr long kLargestPicture = 1920 * 1088 * 2;

// An output whose buffers hold the largest picture (or block of sound) the stream may bring,
// whatever the type it connected with.
class DecoderOutputPin : public PinBase {
public:
    using PinBase::PinBase;

protected:
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override {
        request->cbBuffer = std::max(request->cbBuffer, kLargestPicture);
        request->cBuffers = std::max(request->cBuffers, 1L);
        ALLOCATOR_PROPERTIES actual;
        return allocator->SetProperties(request, &actual);
    }
};

void AddOutput(platform::dshow::FilterBase* filter, const wchar_t* name, MediaType type) {
    CComPtr<PinBase> pin;
    pin.Attach(new DecoderOutputPin(filter, PinDescription{PINDIR_OUTPUT, name, L"", GUID_NULL, {std::move(type)}}));
    filter->AddPin(pin);
}

HRESULT Send(PinBase* output, const AVFrame& frame, const void* data, size_t bytes, REFERENCE_TIME duration,
             const MediaType* changed) {
    CComPtr<IMediaSample> sample;
    HRESULT hr = output->GetDeliveryBuffer(&sample);
    if (FAILED(hr)) return hr;
    if (size_t(sample->GetSize()) < bytes) return S_OK;  // larger than any stream this decoder takes
    BYTE* target = nullptr;
    sample->GetPointer(&target);
    std::memcpy(target, data, bytes);
    sample->SetActualDataLength(long(bytes));
    if (frame.pts != AV_NOPTS_VALUE) {
        REFERENCE_TIME start = frame.pts, stop = frame.pts + duration;
        sample->SetTime(&start, &stop);
    }
    if (changed) sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&changed->Get()));
    return output->Deliver(sample);
}

}  // namespace

MpegDecoderFilter::MpegDecoderFilter(REFCLSID clsid, std::shared_ptr<FilterBehaviour> behaviour, int codecId)
    : InstalledFilterOf(clsid, std::move(behaviour)), m_codecId(codecId) {}

long MpegDecoderFilter::FramesDecoded() const {
    std::lock_guard<platform::dshow::CriticalSection> lock(m_lock);
    return m_frames;
}

HRESULT MpegDecoderFilter::OnStateChange(FILTER_STATE from, FILTER_STATE to) {
    std::lock_guard<platform::dshow::CriticalSection> lock(m_lock);
    if (from == State_Stopped) {
        m_decoder = std::make_unique<LibavDecoder>(m_codecId);
        m_frames = 0;
    }
    if (to == State_Stopped) m_decoder.reset();
    return S_OK;
}

HRESULT MpegDecoderFilter::OnReceive(PinBase*, IMediaSample* sample) {
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    REFERENCE_TIME start = 0, stop = 0;
    const int64_t pts = SUCCEEDED(sample->GetTime(&start, &stop)) ? start : LibavDecoder::kNoTime;
    std::vector<CComPtr<PinBase>> outputs = ConnectedOutputs();
    std::lock_guard<platform::dshow::CriticalSection> lock(m_lock);
    if (!m_decoder) return VFW_E_WRONG_STATE;
    HRESULT result = S_OK;
    m_decoder->Feed(data, size_t(sample->GetActualDataLength()), pts, [&](const AVFrame& frame) {
        ++m_frames;
        if (!outputs.empty() && SUCCEEDED(result)) result = DeliverFrame(frame, outputs[0]);
    });
    return FAILED(result) ? result : S_OK;
}

MpegVideoDecoderFilter::MpegVideoDecoderFilter(std::shared_ptr<FilterBehaviour> behaviour)
    : MpegDecoderFilter(kMpegVideoDecoderClsid, std::move(behaviour), AV_CODEC_ID_MPEG2VIDEO),
      m_outputs({PinDescription{PINDIR_OUTPUT, L"Video Output", L"", GUID_NULL,
                                {platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 720, 576, 16)}}},
                [](platform::dshow::FilterBase* filter, const PinDescription& output) {
                    AddOutput(filter, output.name.c_str(), output.mediaTypes.front());
                }) {
    AddPin(PinDescription{PINDIR_INPUT, L"Video Input", L"", GUID_NULL, {MediaType(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO)}});
}

void MpegVideoDecoderFilter::OnPinConnected(PinBase* pin) { m_outputs.Connected(this, pin); }

void MpegVideoDecoderFilter::OnPinDisconnected(PinBase* pin) { m_outputs.Disconnected(this, pin); }

HRESULT MpegVideoDecoderFilter::Make(const InstalledFilterRow&, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                   void** ppv) {
    return platform::CreateComObject<MpegVideoDecoderFilter>(riid, ppv, behaviour);
}

HRESULT MpegVideoDecoderFilter::DeliverFrame(const AVFrame& frame, PinBase* output) {
    if (frame.width <= 0 || frame.height <= 0 || frame.width * frame.height * 2 > kLargestPicture) return S_OK;
    const int width = frame.width & ~1;
    SwsContext* scale = sws_getContext(width, frame.height, AVPixelFormat(frame.format), width, frame.height,
                                       AV_PIX_FMT_YUYV422, SWS_POINT, nullptr, nullptr, nullptr);
    if (!scale) return S_OK;
    std::vector<BYTE> picture(size_t(width) * frame.height * 2);
    uint8_t* planes[1] = {picture.data()};
    const int strides[1] = {width * 2};
    sws_scale(scale, frame.data, frame.linesize, 0, frame.height, planes, strides);
    sws_freeContext(scale);

    const MediaType current = output->ConnectionType();
    const auto* info = current.FormatAs<VIDEOINFOHEADER>();
    const REFERENCE_TIME duration = info && info->AvgTimePerFrame ? info->AvgTimePerFrame : 400000;
    std::unique_ptr<MediaType> changed;
    if (!info || info->bmiHeader.biWidth != width || std::abs(info->bmiHeader.biHeight) != frame.height) {
        changed = std::make_unique<MediaType>(platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, width, frame.height, 16, duration));
    }
    return Send(output, frame, picture.data(), picture.size(), duration, changed.get());
}

MpegAudioDecoderFilter::MpegAudioDecoderFilter(std::shared_ptr<FilterBehaviour> behaviour)
    : MpegDecoderFilter(kMpegAudioDecoderClsid, std::move(behaviour), AV_CODEC_ID_MP2) {
    AddPin(PinDescription{PINDIR_INPUT, L"Audio Input", L"", GUID_NULL,
                          {MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload),
                           MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1Payload),
                           MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1Packet),
                           MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG2_AUDIO)}});
    AddOutput(this, L"Audio Output", platform::dshow::PcmAudioType(2, 48000, 16));
}

HRESULT MpegAudioDecoderFilter::Make(const InstalledFilterRow&, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                   void** ppv) {
    return platform::CreateComObject<MpegAudioDecoderFilter>(riid, ppv, behaviour);
}

// Any of the codec's sample layouts into interleaved 16-bit stereo (a mono stream on both sides).
HRESULT MpegAudioDecoderFilter::DeliverFrame(const AVFrame& frame, PinBase* output) {
    const int channels = frame.ch_layout.nb_channels;
    if (channels <= 0 || frame.nb_samples <= 0) return S_OK;
    const auto format = AVSampleFormat(frame.format);
    std::vector<int16_t> pcm(size_t(frame.nb_samples) * 2);
    for (int i = 0; i < frame.nb_samples; ++i) {
        for (int side = 0; side < 2; ++side) {
            const int channel = std::min(side, channels - 1);
            int16_t value = 0;
            switch (format) {
            case AV_SAMPLE_FMT_S16:
                value = reinterpret_cast<const int16_t*>(frame.data[0])[i * channels + channel];
                break;
            case AV_SAMPLE_FMT_S16P:
                value = reinterpret_cast<const int16_t*>(frame.data[channel])[i];
                break;
            case AV_SAMPLE_FMT_FLT:
                value = int16_t(std::clamp(reinterpret_cast<const float*>(frame.data[0])[i * channels + channel], -1.0f, 1.0f) * 32767);
                break;
            case AV_SAMPLE_FMT_FLTP:
                value = int16_t(std::clamp(reinterpret_cast<const float*>(frame.data[channel])[i], -1.0f, 1.0f) * 32767);
                break;
            default:
                return S_OK;
            }
            pcm[size_t(i) * 2 + side] = value;
        }
    }
    const REFERENCE_TIME duration = REFERENCE_TIME(frame.nb_samples) * 10000000 / std::max(1, frame.sample_rate);
    std::unique_ptr<MediaType> changed;
    const MediaType current = output->ConnectionType();
    const auto* wave = current.FormatAs<WAVEFORMATEX>();
    if (wave && int(wave->nSamplesPerSec) != frame.sample_rate) {
        changed = std::make_unique<MediaType>(platform::dshow::PcmAudioType(2, DWORD(frame.sample_rate), 16));
    }
    return Send(output, frame, pcm.data(), pcm.size() * sizeof(int16_t), duration, changed.get());
}

}  // namespace hwsim
