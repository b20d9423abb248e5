// The MPEG decoders a maker's package installs (package "intervideo"): a video decoder that
// takes MPEG-2 video and gives YUY2 pictures on "Video Output" at the stream's own size
// (whatever size the input's type announces: a picture of another size carries its type), and
// an audio decoder that takes MPEG audio and gives 16-bit PCM on "Audio Output". Both decode
// with libavcodec as samples arrive, on the upstream thread; a damaged stream gives fewer
// frames. The audio decoder's output exists from the start; the video decoder's appears once its
// input is connected.
#pragma once

#include <mutex>

#include "platform/dshow/ConnectionPins.h"
#include "platform/dshow/CriticalSection.h"

#include "hwsim/installed/InstalledFilter.h"
#include "hwsim/installed/InstalledFilterRow.h"
#include "hwsim/installed/LibavDecoder.h"
#include "makers/intervideo.h"

namespace hwsim {

inline constexpr const CLSID& kMpegVideoDecoderClsid = CLSID_IVVideoDecoder;
// {7E2E0DC1-31FD-11D2-9C21-00104B3801F6}
inline constexpr CLSID kMpegAudioDecoderClsid = {0x7E2E0DC1, 0x31FD, 0x11D2, {0x9C, 0x21, 0x00, 0x10, 0x4B, 0x38, 0x01, 0xF6}};

// What both share: the decoder, fed on the upstream thread and started again at Stop.
class MpegDecoderFilter : public InstalledFilterOf<> {
public:
    MpegDecoderFilter(REFCLSID clsid, std::shared_ptr<FilterBehaviour> behaviour, int codecId);

    // Frames decoded since the filter last left Stop.
    long FramesDecoded() const;

protected:
    HRESULT OnReceive(platform::dshow::PinBase* pin, IMediaSample* sample) override;
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;
    // One decoded frame to pass on through `output`; called with the decoder's lock held.
    virtual HRESULT DeliverFrame(const AVFrame& frame, platform::dshow::PinBase* output) = 0;

private:
    const int m_codecId;
    mutable platform::dshow::CriticalSection m_lock;  // a stream thread queueing for it waits on the clock
    std::unique_ptr<LibavDecoder> m_decoder;
    long m_frames = 0;
};

class MpegVideoDecoderFilter : public MpegDecoderFilter {
public:
    explicit MpegVideoDecoderFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const InstalledFilterRow& row, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                        void** ppv);

protected:
    HRESULT DeliverFrame(const AVFrame& frame, platform::dshow::PinBase* output) override;
    void OnPinConnected(platform::dshow::PinBase* pin) override;
    void OnPinDisconnected(platform::dshow::PinBase* pin) override;

private:
    platform::dshow::ConnectionPins m_outputs;
};

class MpegAudioDecoderFilter : public MpegDecoderFilter {
public:
    explicit MpegAudioDecoderFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const InstalledFilterRow& row, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                        void** ppv);

protected:
    HRESULT DeliverFrame(const AVFrame& frame, platform::dshow::PinBase* output) override;
};

}  // namespace hwsim
