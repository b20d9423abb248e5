// What the simulated WIS encoder says it can do.
#include "hwsim/boards/WisEncoderCapabilities.h"

#include <cstring>

namespace hwsim {

namespace {

const DWORD kNtsc = 0x807;  // every 525-line standard
const DWORD kPal = 0x7F0;   // every 625-line standard

template <size_t N>
void CopyName(char (&field)[N], const char* name) {
    std::strncpy(field, name, N - 1);
    field[N - 1] = '\0';
}

}  // namespace

const char* const kWisProfileNames[3] = {"VCD", "DVD", "MPEG4"};

const WisStreamCapability kWisStreamCapabilities[4] = {
    {"MPEG1", 0x1, 0, 0},
    {"MPEG2", 0x1, 1, 0},
    {"MPEG4", 0x1 | 0x10, 4, 0},
    {"DivX", 0x1 | 0x10, 4, 3},
};

const WisFrameRateCapability kWisFrameRateCapabilities[4] = {
    {"29.97 fps", kNtsc, 30000},
    {"25 fps", kPal, 25025},
    {"23.976 fps", kNtsc, 24000},
    {"14.99 fps", kNtsc, 15000},
};

const WisResolutionCapability kWisResolutionCapabilities[6] = {
    {"720x480", kNtsc, 720, 480, 9800000, 1000000}, {"720x576", kPal, 720, 576, 9800000, 1000000},
    {"352x240", kNtsc, 352, 240, 3000000, 500000},  {"352x288", kPal, 352, 288, 3000000, 500000},
    {"640x480", kNtsc, 640, 480, 8000000, 800000},  {"320x240", kNtsc, 320, 240, 2000000, 300000},
};

// MPEG-1 streams only at the two 352-pixel sizes.
const SettingLink kWisDriverLinks[3] = {
    {SETTING_KIND_STREAM, 0, SETTING_KIND_RESOLUTION, 2, 0, {}},
    {SETTING_KIND_STREAM, 0, SETTING_KIND_RESOLUTION, 3, 0, {}},
    {SETTING_KIND_STREAM, 0, SETTING_KIND_RESOLUTION, SETTING_LINK_ANY, 1, {}},
};

EncoderCapabilities WisEncoderCapabilities() {
    EncoderCapabilities caps = {};
    for (const char* name : kWisProfileNames) CopyName(caps.profiles[caps.profileCount++].name, name);
    for (const WisStreamCapability& c : kWisStreamCapabilities) {
        StreamSetting& s = caps.streams[caps.streamCount++];
        CopyName(s.head.name, c.name);
        s.head.flags = c.flags;
        s.compress_mode = c.compress_mode;
        s.mpeg4_mode = c.mpeg4_mode;
    }
    for (const WisFrameRateCapability& c : kWisFrameRateCapabilities) {
        FrameRateSetting& f = caps.framerates[caps.framerateCount++];
        CopyName(f.head.name, c.name);
        f.head.flags = 0x1 | 0x8;
        f.tv_standard = c.tv_standard;
        f.frame_rate = c.frame_rate;
    }
    for (const WisResolutionCapability& c : kWisResolutionCapabilities) {
        ResolutionSetting& r = caps.resolutions[caps.resolutionCount++];
        CopyName(r.head.name, c.name);
        r.head.flags = 0x1 | 0x2 | 0x200 | 0x400 | 0x800;
        r.tv_standard = c.tv_standard;
        r.width = c.width;
        r.height = c.height;
        r.max_bitrate = c.max_bitrate;
        r.min_bitrate = c.min_bitrate;
    }
    for (const SettingLink& link : kWisDriverLinks) caps.links[caps.linkCount++] = link;
    return caps;
}

std::string WisProfileFileSource() { return std::string(HWSIM_SOURCE_DATA) + "/video_profiles.txt"; }

}  // namespace hwsim
