// Reads a recording back with FFmpeg: the container, its video and audio streams, and the
// decoded pictures with how many of them show the station at a given place.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstring>
#include <string>
#include <vector>

#include "hwsim/boards/CardSignal.h"

namespace hwsim {

struct RecordingStreams {
    bool opened = false;  // libavformat opened the file and found its streams
    bool programStream = false;
    unsigned streams = 0;
    int videoId = -1, audioId = -1;
    AVCodecID videoCodec = AV_CODEC_ID_NONE, audioCodec = AV_CODEC_ID_NONE;
    int width = 0, height = 0, frameRate = 0, sampleRate = 0;
    int pictures = 0;         // decoded pictures
    int stationPictures = 0;  // of them, the station at the place asked for
    double videoSeconds = 0, audioSeconds = 0;  // each stream's length, from its time stamps
};

// The luma plane of a decoded picture as YUY2 (chroma grey), for the code row reader.
inline std::vector<BYTE> LumaAsYuy2(const AVFrame* frame) {
    std::vector<BYTE> yuy2(size_t(frame->width) * frame->height * 2, 128);
    for (int y = 0; y < frame->height; ++y) {
        for (int x = 0; x < frame->width; ++x) yuy2[(size_t(y) * frame->width + x) * 2] = frame->data[0][y * frame->linesize[0] + x];
    }
    return yuy2;
}

inline RecordingStreams ReadRecording(const std::string& path, long place) {
    RecordingStreams got;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) != 0) return got;
    if (avformat_find_stream_info(format, nullptr) < 0) {
        avformat_close_input(&format);
        return got;
    }
    got.opened = true;
    got.programStream = std::strstr(format->iformat->name, "mpeg") != nullptr;
    got.streams = format->nb_streams;
    const AVStream* video = nullptr;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO) {
            video = stream;
            got.videoId = stream->id;
            got.videoCodec = stream->codecpar->codec_id;
            got.width = stream->codecpar->width;
            got.height = stream->codecpar->height;
            got.frameRate = int(av_q2d(stream->r_frame_rate) + 0.5);
            got.videoSeconds = double(stream->duration) * av_q2d(stream->time_base);
        } else if (stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            got.audioId = stream->id;
            got.audioCodec = stream->codecpar->codec_id;
            got.sampleRate = stream->codecpar->sample_rate;
            got.audioSeconds = double(stream->duration) * av_q2d(stream->time_base);
        }
    }
    if (video != nullptr) {
        const AVCodec* codec = avcodec_find_decoder(video->codecpar->codec_id);
        AVCodecContext* decoder = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoder, video->codecpar);
        AVPacket* packet = av_packet_alloc();
        AVFrame* frame = av_frame_alloc();
        auto drain = [&] {
            while (avcodec_receive_frame(decoder, frame) == 0) {
                ++got.pictures;
                const std::vector<BYTE> luma = LumaAsYuy2(frame);
                got.stationPictures += CardSignal::ReadPlace(luma.data(), frame->width, frame->height) == place;
            }
        };
        if (avcodec_open2(decoder, codec, nullptr) == 0) {
            while (av_read_frame(format, packet) >= 0) {
                if (packet->stream_index == video->index) {
                    avcodec_send_packet(decoder, packet);
                    drain();
                }
                av_packet_unref(packet);
            }
            avcodec_send_packet(decoder, nullptr);
            drain();
        }
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&decoder);
    }
    avformat_close_input(&format);
    return got;
}

}  // namespace hwsim
