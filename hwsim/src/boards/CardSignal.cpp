// What a card's decoders receive through its crossbar, and the pictures and sound made of it.
#include "hwsim/boards/CardSignal.h"

#include <cmath>
#include <cstring>

#include "hwsim/bench/TunerFitting.h"
#include "hwsim/boards/Card.h"

namespace hwsim {

namespace {

struct Yuv {
    BYTE y, u, v;
};

// kBarRgb in studio-range BT.601.
constexpr Yuv kBarYuv[8] = {{235, 128, 128}, {210, 16, 146}, {170, 166, 16}, {145, 54, 34},
                            {106, 202, 222}, {81, 90, 240},  {41, 240, 110}, {16, 128, 128}};
constexpr Yuv kWhite = kBarYuv[0];
constexpr Yuv kBlack = kBarYuv[7];
constexpr int kCodeBlocks = CardSignal::kPlaceBits + CardSignal::kFrameBits;
constexpr int kBarSteps = 16;  // positions of the moving bar
constexpr double kAmplitude = 8000.0;

void Put(BYTE* row, int x, Yuv c) {
    BYTE* pair = row + (x & ~1) * 2;
    pair[(x & 1) ? 2 : 0] = c.y;
    pair[1] = c.u;
    pair[3] = c.v;
}

void FillRows(BYTE* yuy2, int width, int top, int bottom, Yuv (*colour)(int x, int y, const void* arg),
              const void* arg) {
    for (int y = top; y < bottom; ++y) {
        BYTE* row = yuy2 + size_t(y) * width * 2;
        for (int x = 0; x < width; ++x) Put(row, x, colour(x, y, arg));
    }
}

struct StationArgs {
    int width, place;
    ULONGLONG frame;
};

long ReadBits(const BYTE* yuy2, int width, int height, int first, int count) {
    const int y = height * 2 / 3 + height / 12;
    const BYTE* row = yuy2 + size_t(y) * width * 2;
    long value = 0;
    for (int b = 0; b < count; ++b) {
        const int block = first + b;
        const int x = (block * width / kCodeBlocks + (block + 1) * width / kCodeBlocks) / 2;
        const BYTE luma = row[x * 2];
        if (luma > 180) {
            value |= 1L << b;
        } else if (luma >= 60) {
            return -1;
        }
    }
    return value;
}

// The station on the tuner's frequency, and its place in the bench's list.
bool TunerStation(const Card& card, int* place) {
    const std::optional<Station> station = PictureStation(card);
    if (!station) return false;
    const std::vector<Station> stations = card.Rf().Stations();
    *place = 0;
    for (size_t i = 0; i < stations.size(); ++i) {
        if (stations[i].frequencyKHz == station->frequencyKHz) *place = static_cast<int>(i);
    }
    return true;
}

CardSignal FromInput(const InputSignal& input) {
    CardSignal signal;
    if (!input.Plugged()) return signal;
    signal.kind = CardSignal::Kind::Pattern;
    signal.pattern = input.pattern;
    signal.toneHz = input.toneHz;
    return signal;
}

}  // namespace

const std::array<std::array<BYTE, 3>, 8> CardSignal::kBarRgb = {{{255, 255, 255}, {255, 255, 0}, {0, 255, 255},
                                                                  {0, 255, 0}, {255, 0, 255}, {255, 0, 0},
                                                                  {0, 0, 255}, {0, 0, 0}}};

CardSignal CardSignal::Video(const Card& card) {
    switch (card.VideoSource()) {
    case Card::Source::Tuner: {
        CardSignal signal;
        if (TunerStation(card, &signal.place)) {
            signal.kind = Kind::Station;
            signal.toneHz = StationToneHz(signal.place);
        } else {
            signal.kind = Kind::Noise;
            signal.seed = card.Instance() + 1;
        }
        return signal;
    }
    case Card::Source::Composite:
        return FromInput(card.Composite());
    case Card::Source::SVideo:
        return FromInput(card.SVideo());
    default:
        return CardSignal();
    }
}

CardSignal CardSignal::Audio(const Card& card) {
    switch (card.AudioSource()) {
    case Card::Source::Tuner: {
        CardSignal signal;
        if (TunerStation(card, &signal.place)) {
            signal.kind = Kind::Station;
            signal.toneHz = StationToneHz(signal.place);
        }
        return signal;
    }
    case Card::Source::Composite:
        return FromInput(card.Composite());
    case Card::Source::SVideo:
        return FromInput(card.SVideo());
    default:
        return CardSignal();
    }
}

void CardSignal::DrawYuy2(ULONGLONG frame, int width, int height, BYTE* yuy2) const {
    if (kind == Kind::None) {
        FillRows(yuy2, width, 0, height, [](int, int, const void*) { return kBlack; }, nullptr);
        return;
    }
    if (kind == Kind::Noise) {
        uint32_t state = uint32_t(seed) * 0x9E3779B9u ^ uint32_t(frame + 1) * 0x85EBCA6Bu;
        if (state == 0) state = 1;
        for (size_t i = 0, n = size_t(width) * height; i < n; ++i) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            yuy2[i * 2] = BYTE(16 + state % 220);
            yuy2[i * 2 + 1] = 128;
        }
        return;
    }
    if (kind == Kind::Station) {
        const StationArgs args{width, place, frame};
        const int barsEnd = height * 2 / 3;
        const int codeEnd = height * 5 / 6;
        FillRows(yuy2, width, 0, barsEnd,
                 [](int x, int, const void* a) {
                     auto* s = static_cast<const StationArgs*>(a);
                     return kBarYuv[BarColour(s->place, x * 8 / s->width)];
                 },
                 &args);
        FillRows(yuy2, width, barsEnd, codeEnd,
                 [](int x, int, const void* a) {
                     auto* s = static_cast<const StationArgs*>(a);
                     const int block = x * kCodeBlocks / s->width;
                     const bool one = block < kPlaceBits ? (s->place >> block) & 1
                                                         : (s->frame >> (block - kPlaceBits)) & 1;
                     return one ? kWhite : kBlack;
                 },
                 &args);
        FillRows(yuy2, width, codeEnd, height,
                 [](int x, int, const void* a) {
                     auto* s = static_cast<const StationArgs*>(a);
                     return int(s->frame % kBarSteps) == x * kBarSteps / s->width ? kWhite : kBlack;
                 },
                 &args);
        return;
    }
    const StationArgs args{width, height, frame};  // patterns: place holds the height
    Yuv (*draw)(int, int, const void*) = [](int x, int, const void* a) {
        return kBarYuv[x * 8 / static_cast<const StationArgs*>(a)->width];
    };
    if (pattern == "grid") {
        draw = [](int x, int y, const void*) { return (x % 32 < 2 || y % 32 < 2) ? kWhite : kBlack; };
    } else if (pattern == "ramp") {
        draw = [](int x, int, const void* a) {
            return Yuv{BYTE(16 + x * 219 / std::max(1, static_cast<const StationArgs*>(a)->width - 1)), 128, 128};
        };
    } else if (pattern == "checkerboard") {
        draw = [](int x, int y, const void* a) {
            auto* s = static_cast<const StationArgs*>(a);
            return ((x * 8 / s->width) + (y * 6 / s->place)) % 2 ? kBlack : kWhite;
        };
    }
    FillRows(yuy2, width, 0, height, draw, &args);
}

void CardSignal::FillPcm(ULONGLONG first, size_t frames, int16_t* stereo) const {
    if (toneHz <= 0) {
        std::memset(stereo, 0, frames * 2 * sizeof(int16_t));
        return;
    }
    for (size_t i = 0; i < frames; ++i) {
        const ULONGLONG cycle = ((first + i) * ULONGLONG(toneHz)) % kSampleRate;
        const auto value = static_cast<int16_t>(std::lround(kAmplitude * std::sin(2.0 * M_PI * double(cycle) / kSampleRate)));
        stereo[i * 2] = value;
        stereo[i * 2 + 1] = value;
    }
}

long CardSignal::ReadPlace(const BYTE* yuy2, int width, int height) {
    return ReadBits(yuy2, width, height, 0, kPlaceBits);
}

long CardSignal::ReadFrameCount(const BYTE* yuy2, int width, int height) {
    return ReadBits(yuy2, width, height, kPlaceBits, kFrameBits);
}

}  // namespace hwsim
