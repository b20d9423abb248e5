// The MPEG encoder chip's coding core: UYVY pictures into MPEG-2 video, 48 kHz stereo PCM into
// MPEG-1 layer II (256 kbit/s), both multiplexed into one MPEG-2 program stream (video 0xE0,
// audio 0xC0), which collects in memory until taken. Flush passes on what the coders hold and
// ends the stream; Open starts a new one. The chip's own rate control keeps the video to the
// maximum bit rate of the settings with the MPEG-2 main profile's buffer, whatever the pictures
// (noise included), aiming at the average rate.
//
// Not thread-safe: its owner serialises the calls.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/wintypes.h"

namespace hwsim {

class Mpeg2Encoder {
public:
    struct Settings {
        int width = 720;
        int height = 576;
        int rateNum = 25;  // pictures a second: rateNum / rateDen
        int rateDen = 1;
        DWORD averageBitRate = 6000000;
        DWORD maximumBitRate = 8000000;
        int gop = 15;
    };

    Mpeg2Encoder();
    ~Mpeg2Encoder();
    Mpeg2Encoder(const Mpeg2Encoder&) = delete;
    Mpeg2Encoder& operator=(const Mpeg2Encoder&) = delete;

    // False when the coders refuse the settings (the stream stays closed).
    bool Open(const Settings& settings);
    bool IsOpen() const;
    // One picture of the settings' size (UYVY, width * 2 bytes a row).
    bool EncodeVideo(const BYTE* uyvy, size_t bytes);
    // Stereo 16-bit sample pairs.
    bool EncodeAudio(const int16_t* stereo, size_t frames);
    // Drains the coders, ends the stream and closes it.
    void Flush();
    // The program stream bytes made since the last call.
    std::vector<BYTE> TakeOutput();

private:
    struct Codec;
    std::unique_ptr<Codec> m_codec;
    std::vector<BYTE> m_output;
};

}  // namespace hwsim
