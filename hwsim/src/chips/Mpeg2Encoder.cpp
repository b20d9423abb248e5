// The MPEG encoder chip's coding core.
#include "hwsim/chips/Mpeg2Encoder.h"

#include "hwsim/installed/LibavDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace hwsim {

namespace {

constexpr int kSampleRate = 48000;
constexpr int kAudioBitRate = 256000;
constexpr int kIoBufferSize = 32768;

}  // namespace

// The chip's rate control: the coded pictures fill a buffer of the MPEG-2 main profile's size
// that drains at the maximum bit rate, one picture time a picture; each picture's quantiser
// scale aims at the average rate and never at more than the buffer leaves room for, from the
// coding cost (bits times scale) of the pictures before it. Where even the coarsest scale would
// leave the pictures over that (noise, dense detail), the chip's noise filter smooths them
// before coding, a level at a time, each level halving the detail kept in either direction;
// it steps back once the pictures would fit at a quarter of the coarsest scale without it.
class RateControl {
public:
    static constexpr int kMinScale = 2;
    static constexpr int kMaxScale = 28;  // the highest the non-linear scale takes
    static constexpr int kMaxSmoothing = 3;
    // A level of smoothing takes about this share of a picture's coding cost away.
    static constexpr double kSmoothingGain = 3;

    void Start(const Mpeg2Encoder::Settings& settings, int bufferBits) {
        const double pictures = double(settings.rateNum) / std::max(1, settings.rateDen);
        m_drain = settings.maximumBitRate / pictures;
        m_target = std::min<double>(settings.averageBitRate, settings.maximumBitRate) / pictures;
        m_buffer = bufferBits;
        m_fullness = 0;
        m_cost = 0;
        m_scale = kStartScale;
        m_smoothing = 0;
    }
    // The scale of the next picture.
    int Scale() {
        const double room = m_buffer - m_fullness;
        const double wanted = std::max(1.0, std::min(m_target, room * 0.5));
        if (m_cost > 0) {
            if (m_cost / wanted > kMaxScale && m_smoothing < kMaxSmoothing) {
                ++m_smoothing;
                m_cost /= kSmoothingGain;
            } else if (m_smoothing > 0 && m_cost * kSmoothingGain / wanted < kMaxScale / 4) {
                --m_smoothing;
                m_cost *= kSmoothingGain;
            }
            m_scale = std::clamp(int(std::ceil(m_cost / wanted)), kMinScale, kMaxScale);
        }
        m_fullness = std::max(0.0, m_fullness - m_drain);
        return m_scale;
    }
    // A coded picture of `bits` left the coder, made at `scale`.
    void Coded(double bits, int scale) {
        m_fullness += bits;
        const double cost = bits * scale;
        m_cost = m_cost == 0 ? cost : std::max(cost, 0.7 * m_cost + 0.3 * cost);
    }
    // The noise filter's level for the next picture (0: none), set by Scale.
    int Smoothing() const { return m_smoothing; }

private:
    static constexpr int kStartScale = 8;
    double m_drain = 0;
    double m_target = 0;
    double m_buffer = 0;
    double m_fullness = 0;
    double m_cost = 0;
    int m_scale = kStartScale;
    int m_smoothing = 0;
};

struct Mpeg2Encoder::Codec {
    Settings settings;
    RateControl rate;
    int lastScale = 0;
    AVFormatContext* format = nullptr;
    AVIOContext* io = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* scale = nullptr;
    SwsContext* reduce = nullptr;   // the noise filter: the picture down to its level's size
    SwsContext* restore = nullptr;  // and back up
    AVFrame* reduced = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVPacket* packet = nullptr;
    int64_t videoPts = 0;
    int64_t audioPts = 0;
    std::vector<int16_t> pending;  // stereo samples short of a whole audio frame
    std::vector<BYTE>* output = nullptr;
    bool headerWritten = false;

    ~Codec() {
        sws_freeContext(scale);
        sws_freeContext(reduce);
        sws_freeContext(restore);
        av_frame_free(&reduced);
        av_frame_free(&picture);
        av_frame_free(&sound);
        av_packet_free(&packet);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        if (io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
        avformat_free_context(format);
    }

    static int Write(void* opaque, uint8_t* buffer, int size) {
        auto* self = static_cast<Codec*>(opaque);
        self->output->insert(self->output->end(), buffer, buffer + size);
        return size;
    }

    bool Open(std::vector<BYTE>& sink) {
        QuietLibav();
        output = &sink;
        if (avformat_alloc_output_context2(&format, nullptr, "vob", nullptr) < 0 || !format) return false;
        auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
        io = avio_alloc_context(buffer, kIoBufferSize, 1, this, nullptr, &Codec::Write, nullptr);
        if (!io) {
            av_free(buffer);
            return false;
        }
        format->pb = io;
        format->flags |= AVFMT_FLAG_CUSTOM_IO;

        const AVCodec* videoCodec = avcodec_find_encoder_by_name("mpeg2video");
        const AVCodec* audioCodec = avcodec_find_encoder_by_name("mp2");
        if (!videoCodec || !audioCodec) return false;
        video = avcodec_alloc_context3(videoCodec);
        video->width = settings.width;
        video->height = settings.height;
        video->pix_fmt = AV_PIX_FMT_YUV420P;
        video->time_base = AVRational{settings.rateDen, settings.rateNum};
        video->framerate = AVRational{settings.rateNum, settings.rateDen};
        video->bit_rate = settings.averageBitRate;
        video->rc_max_rate = settings.maximumBitRate;
        video->rc_buffer_size = 1835008;  // the MPEG-2 main profile's video buffer
        // The chip's own rate control sets each picture's quantiser (RateControl); the
        // non-linear scale lets it quantise up to step 112.
        video->flags |= AV_CODEC_FLAG_QSCALE;
        video->qmax = RateControl::kMaxScale;
        av_opt_set_int(video->priv_data, "non_linear_quant", 1, 0);
        rate.Start(settings, video->rc_buffer_size);
        video->gop_size = std::max(1, settings.gop);
        video->max_b_frames = video->gop_size > 2 ? 2 : 0;
        if (avcodec_open2(video, videoCodec, nullptr) < 0) return false;

        audio = avcodec_alloc_context3(audioCodec);
        audio->sample_fmt = AV_SAMPLE_FMT_S16;
        audio->sample_rate = kSampleRate;
        av_channel_layout_default(&audio->ch_layout, 2);
        audio->bit_rate = kAudioBitRate;
        audio->time_base = AVRational{1, kSampleRate};
        if (avcodec_open2(audio, audioCodec, nullptr) < 0) return false;

        videoStream = avformat_new_stream(format, nullptr);
        audioStream = avformat_new_stream(format, nullptr);
        if (!videoStream || !audioStream) return false;
        avcodec_parameters_from_context(videoStream->codecpar, video);
        avcodec_parameters_from_context(audioStream->codecpar, audio);
        videoStream->time_base = video->time_base;
        audioStream->time_base = audio->time_base;
        if (avformat_write_header(format, nullptr) < 0) return false;
        headerWritten = true;

        scale = sws_getContext(settings.width, settings.height, AV_PIX_FMT_UYVY422, settings.width, settings.height,
                               AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
        picture = av_frame_alloc();
        sound = av_frame_alloc();
        packet = av_packet_alloc();
        if (!scale || !picture || !sound || !packet) return false;
        picture->format = AV_PIX_FMT_YUV420P;
        picture->width = settings.width;
        picture->height = settings.height;
        if (av_frame_get_buffer(picture, 0) < 0) return false;
        sound->format = AV_SAMPLE_FMT_S16;
        sound->sample_rate = kSampleRate;
        sound->nb_samples = audio->frame_size;
        av_channel_layout_default(&sound->ch_layout, 2);
        return av_frame_get_buffer(sound, 0) >= 0;
    }

    // The picture into `picture`, through the noise filter at `level`.
    bool Convert(const BYTE* uyvy, int level) {
        const uint8_t* source[1] = {uyvy};
        const int stride[1] = {settings.width * 2};
        if (level == 0) {
            sws_scale(scale, source, stride, 0, settings.height, picture->data, picture->linesize);
            return true;
        }
        const int width = std::max(16, settings.width >> level & ~1), height = std::max(16, settings.height >> level & ~1);
        if (!reduced || reduced->width != width) {
            av_frame_free(&reduced);
            reduced = av_frame_alloc();
            if (!reduced) return false;
            reduced->format = AV_PIX_FMT_YUV420P;
            reduced->width = width;
            reduced->height = height;
            if (av_frame_get_buffer(reduced, 0) < 0) return false;
        }
        reduce = sws_getCachedContext(reduce, settings.width, settings.height, AV_PIX_FMT_UYVY422, width, height,
                                      AV_PIX_FMT_YUV420P, SWS_AREA, nullptr, nullptr, nullptr);
        restore = sws_getCachedContext(restore, width, height, AV_PIX_FMT_YUV420P, settings.width, settings.height,
                                       AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!reduce || !restore) return false;
        sws_scale(reduce, source, stride, 0, settings.height, reduced->data, reduced->linesize);
        sws_scale(restore, reduced->data, reduced->linesize, 0, height, picture->data, picture->linesize);
        return true;
    }

    // Sends a frame (null: drains) and writes what comes out into the stream.
    bool Send(AVCodecContext* codec, AVStream* stream, AVFrame* frame) {
        if (avcodec_send_frame(codec, frame) < 0) return false;
        for (;;) {
            const int got = avcodec_receive_packet(codec, packet);
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
            if (got < 0) return false;
            if (codec == video) rate.Coded(packet->size * 8.0, lastScale);
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(format, packet) < 0) return false;
        }
    }

    bool SendAudioFrames(bool padLast) {
        const size_t frameSamples = size_t(audio->frame_size) * 2;
        if (padLast && !pending.empty() && pending.size() < frameSamples) pending.resize(frameSamples, 0);
        size_t used = 0;
        bool ok = true;
        while (ok && pending.size() - used >= frameSamples) {
            if (av_frame_make_writable(sound) < 0) return false;
            std::memcpy(sound->data[0], pending.data() + used, frameSamples * sizeof(int16_t));
            sound->pts = audioPts;
            audioPts += audio->frame_size;
            used += frameSamples;
            ok = Send(audio, audioStream, sound);
        }
        pending.erase(pending.begin(), pending.begin() + used);
        return ok;
    }
};

Mpeg2Encoder::Mpeg2Encoder() = default;
Mpeg2Encoder::~Mpeg2Encoder() = default;

bool Mpeg2Encoder::Open(const Settings& settings) {
    m_codec = std::make_unique<Codec>();
    m_codec->settings = settings;
    if (!m_codec->Open(m_output)) {
        m_codec.reset();
        return false;
    }
    return true;
}

bool Mpeg2Encoder::IsOpen() const { return m_codec != nullptr; }

bool Mpeg2Encoder::EncodeVideo(const BYTE* uyvy, size_t bytes) {
    if (!m_codec) return false;
    Codec& c = *m_codec;
    if (bytes < size_t(c.settings.width) * c.settings.height * 2) return false;
    if (av_frame_make_writable(c.picture) < 0) return false;
    c.lastScale = c.rate.Scale();
    if (!c.Convert(uyvy, c.rate.Smoothing())) return false;
    c.picture->pts = c.videoPts++;
    c.picture->quality = FF_QP2LAMBDA * c.lastScale;
    return c.Send(c.video, c.videoStream, c.picture);
}

bool Mpeg2Encoder::EncodeAudio(const int16_t* stereo, size_t frames) {
    if (!m_codec) return false;
    m_codec->pending.insert(m_codec->pending.end(), stereo, stereo + frames * 2);
    return m_codec->SendAudioFrames(false);
}

void Mpeg2Encoder::Flush() {
    if (!m_codec) return;
    Codec& c = *m_codec;
    c.SendAudioFrames(true);
    c.Send(c.video, c.videoStream, nullptr);
    c.Send(c.audio, c.audioStream, nullptr);
    if (c.headerWritten) av_write_trailer(c.format);
    avio_flush(c.io);
    m_codec.reset();
}

std::vector<BYTE> Mpeg2Encoder::TakeOutput() {
    if (m_codec && m_codec->io) avio_flush(m_codec->io);
    std::vector<BYTE> taken;
    taken.swap(m_output);
    return taken;
}

}  // namespace hwsim
