// A libavcodec decoder fed with an elementary stream in pieces of any size.
#include "hwsim/installed/LibavDecoder.h"

#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/log.h>
}

namespace hwsim {

void QuietLibav() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });
}

struct LibavDecoder::Codec {
    AVCodecParserContext* parser = nullptr;
    AVCodecContext* context = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;

    explicit Codec(int codecId) {
        QuietLibav();
        const AVCodec* codec = avcodec_find_decoder(static_cast<AVCodecID>(codecId));
        if (!codec) return;
        parser = av_parser_init(codec->id);
        context = avcodec_alloc_context3(codec);
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        context->pkt_timebase = AVRational{1, 10000000};
        if (!parser || !context || !packet || !frame || avcodec_open2(context, codec, nullptr) < 0) {
            avcodec_free_context(&context);
        }
    }
    ~Codec() {
        av_parser_close(parser);
        avcodec_free_context(&context);
        av_packet_free(&packet);
        av_frame_free(&frame);
    }

    void Decode(const std::function<void(const AVFrame&)>& deliver) {
        if (avcodec_send_packet(context, packet->size ? packet : nullptr) < 0) return;
        while (avcodec_receive_frame(context, frame) == 0) {
            deliver(*frame);
            av_frame_unref(frame);
        }
    }
};

LibavDecoder::LibavDecoder(int codecId) : m_codec(std::make_unique<Codec>(codecId)), m_codecId(codecId) {}

LibavDecoder::~LibavDecoder() = default;

bool LibavDecoder::IsOpen() const { return m_codec->context != nullptr; }

void LibavDecoder::Feed(const uint8_t* data, size_t size, int64_t pts,
                        const std::function<void(const AVFrame&)>& frame) {
    Codec& c = *m_codec;
    if (!c.context) return;
    const int64_t stamp = pts == kNoTime ? AV_NOPTS_VALUE : pts;
    while (size > 0) {
        uint8_t* out = nullptr;
        int outSize = 0;
        const int used = av_parser_parse2(c.parser, c.context, &out, &outSize, data, int(size), stamp, stamp, 0);
        if (used < 0) return;
        data += used;
        size -= size_t(used);
        if (outSize > 0) {
            c.packet->data = out;
            c.packet->size = outSize;
            c.packet->pts = c.parser->pts;
            c.packet->dts = c.parser->dts;
            c.Decode(frame);
            c.packet->data = nullptr;
            c.packet->size = 0;
        } else if (used == 0) {
            return;
        }
    }
}

void LibavDecoder::Drain(const std::function<void(const AVFrame&)>& frame) {
    Codec& c = *m_codec;
    if (!c.context) return;
    uint8_t* out = nullptr;
    int outSize = 0;
    av_parser_parse2(c.parser, c.context, &out, &outSize, nullptr, 0, AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
    if (outSize > 0) {
        c.packet->data = out;
        c.packet->size = outSize;
        c.Decode(frame);
    }
    c.packet->data = nullptr;
    c.packet->size = 0;
    c.Decode(frame);
    m_codec = std::make_unique<Codec>(m_codecId);
}

}  // namespace hwsim
