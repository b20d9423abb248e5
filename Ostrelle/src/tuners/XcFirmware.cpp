// The firmware set of the Xceive tuners.
#include "tuners/XcFirmware.h"

#include "tuners/XcFirmwareGenerator.h"

namespace {

using xcfw::Shape;

constexpr Shape kBasePalSecam = {0, 8714, 957, true, {{{6, 100}, {939, 10}}}, 2985, 1};
constexpr Shape kBaseNtsc = {1, 8684, 952, true, {{{6, 100}, {934, 10}}}, 2985, 1};

constexpr Shape StandardPatch(int id) { return {id, 171, 23, false, {}, 13, 3}; }
constexpr Shape SoundIfPatch(int id) { return {id, 163, 21, false, {}, 13, 3}; }

constexpr auto kBasePalSecamBytes = xcfw::Generate<8714>(kBasePalSecam);
constexpr auto kBaseNtscBytes = xcfw::Generate<8684>(kBaseNtsc);
constexpr auto kPatchPalBgBytes = xcfw::Generate<171>(StandardPatch(2));
constexpr auto kPatchDkBytes = xcfw::Generate<171>(StandardPatch(3));
constexpr auto kPatchPalIBytes = xcfw::Generate<171>(StandardPatch(4));
constexpr auto kPatchSecamBgLBytes = xcfw::Generate<171>(StandardPatch(5));
constexpr auto kPatchMnBytes = xcfw::Generate<171>(StandardPatch(6));
constexpr auto kPatchSifBgiBytes = xcfw::Generate<163>(SoundIfPatch(7));
constexpr auto kPatchSifDkBytes = xcfw::Generate<163>(SoundIfPatch(8));
constexpr auto kPatchSifLBytes = xcfw::Generate<163>(SoundIfPatch(9));
constexpr auto kPatchSifMnBytes = xcfw::Generate<163>(SoundIfPatch(10));

template <size_t N>
constexpr XcFirmware List(const char* name, const std::array<uint8_t, N>& bytes)
{
    return {name, bytes.data(), bytes.size()};
}

}  // namespace

extern const XcFirmware XcBasePalSecam = List("XcBasePalSecam", kBasePalSecamBytes);
extern const XcFirmware XcBaseNtsc = List("XcBaseNtsc", kBaseNtscBytes);
extern const XcFirmware XcPatchPalBg = List("XcPatchPalBg", kPatchPalBgBytes);
extern const XcFirmware XcPatchDk = List("XcPatchDk", kPatchDkBytes);
extern const XcFirmware XcPatchPalI = List("XcPatchPalI", kPatchPalIBytes);
extern const XcFirmware XcPatchSecamBgL = List("XcPatchSecamBgL", kPatchSecamBgLBytes);
extern const XcFirmware XcPatchMn = List("XcPatchMn", kPatchMnBytes);
extern const XcFirmware XcPatchSifBgi = List("XcPatchSifBgi", kPatchSifBgiBytes);
extern const XcFirmware XcPatchSifDk = List("XcPatchSifDk", kPatchSifDkBytes);
extern const XcFirmware XcPatchSifL = List("XcPatchSifL", kPatchSifLBytes);
extern const XcFirmware XcPatchSifMn = List("XcPatchSifMn", kPatchSifMnBytes);

std::span<const XcFirmware* const> XcFirmwareSet()
{
    static const XcFirmware* const set[xcfw::kListCount] = {
        &XcBasePalSecam, &XcBaseNtsc,    &XcPatchPalBg,  &XcPatchDk,   &XcPatchPalI,  &XcPatchSecamBgL,
        &XcPatchMn,      &XcPatchSifBgi, &XcPatchSifDk,  &XcPatchSifL, &XcPatchSifMn,
    };
    return set;
}
