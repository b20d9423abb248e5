// What a card's decoders receive through its crossbar, and the pictures and sound made of it.
//
// The video route picks the picture: the tuner on a frequency that carries a station of the
// bench's RF environment shows that station's picture (eight colour bars turned by the
// station's place in the bench's list, a code row with that place and the frame count, and a
// bar that moves one step a frame); the tuner without a station shows noise that is the same
// for the same frame; composite and S-video show the bench's pattern for that input, or black.
// The audio route picks the sound: a station's tone (its pitch follows its place), the input's
// tone, or silence.
//
// Pictures are YUY2 (BT.601 studio range); sound is 48 kHz stereo 16-bit PCM whose phase
// follows the sample count, so chunks of any size join without a click.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/wintypes.h"

namespace hwsim {

class Card;

struct CardSignal {
    enum class Kind { Station, Noise, Pattern, None };
    Kind kind = Kind::None;
    int place = 0;        // a station's place in the bench's list
    std::string pattern;  // Pattern: one of kInputPatterns
    int toneHz = 0;       // 0: silence
    int seed = 0;         // Noise: the card's own

    static constexpr int kSampleRate = 48000;
    // The tone of the station at `place`.
    static int StationToneHz(int place) { return 500 + 250 * place; }
    // The bars' colours in their order on the station at place 0 and in the "colorBars" pattern,
    // as RGB: white, yellow, cyan, green, magenta, red, blue, black.
    static const std::array<std::array<BYTE, 3>, 8> kBarRgb;
    // Blocks of the code row: place bits, then frame count bits (lowest first).
    static constexpr int kPlaceBits = 8;
    static constexpr int kFrameBits = 16;

    // What the card's video and audio routes carry now.
    static CardSignal Video(const Card& card);
    static CardSignal Audio(const Card& card);

    bool HasPicture() const { return kind == Kind::Station || kind == Kind::Pattern; }

    // Draws frame `frame` into a YUY2 picture of width x height (width even).
    void DrawYuy2(ULONGLONG frame, int width, int height, BYTE* yuy2) const;
    // Fills `frames` stereo sample pairs, starting at sample `first` of the stream.
    void FillPcm(ULONGLONG first, size_t frames, int16_t* stereo) const;

    // ---- reading a station picture back (tests, and the decoders' checks) ----
    // The colour index (into kBarRgb) of bar `bar` of the station at `place`.
    static int BarColour(int place, int bar) { return (bar + place) % 8; }
    // The place and frame count the code row of a YUY2 station picture carries; -1 when the
    // row holds no code (a block neither white nor black).
    static long ReadPlace(const BYTE* yuy2, int width, int height);
    static long ReadFrameCount(const BYTE* yuy2, int width, int height);
};

}  // namespace hwsim
