// The PC's audio mixers as the winmm mixer calls see them (mmsystem.h): an ordered table that
// the simulated PC fills as it plugs sound cards. A mixer's index in the table is its mixer
// identifier. Each mixer has one destination (the recording destination) and its source lines;
// every line carries its controls, and each control keeps the value last set.
//
// Control identifiers are numbered per mixer from 1 (the destination's controls first, then each
// source's in order), so two mixers use the same numbers, as real drivers do. Line identifiers:
// 0xFFFF0000 for the destination, the source's index for a source.
#pragma once

#include <string>
#include <vector>

#include "mmsystem.h"

namespace platform {

typedef unsigned long MixerId;  // 0: none

struct MixerControlSpec {
    DWORD type = MIXERCONTROL_CONTROLTYPE_VOLUME;
    std::string name;
    DWORD value = 0;
    DWORD minimum = 0;
    DWORD maximum = 0xFFFF;
};

struct MixerLineSpec {
    std::string name;
    DWORD componentType = MIXERLINE_COMPONENTTYPE_SRC_LINE;
    std::vector<MixerControlSpec> controls;
};

struct MixerSpec {
    std::string productName;  // cut to 31 characters, as MIXERCAPSA holds it
    MixerLineSpec destination;
    std::vector<MixerLineSpec> sources;
};

// Appends a mixer (its index is the next identifier); returns its id.
PLATFORM_API MixerId AddMixer(MixerSpec mixer);
// Takes a mixer out; the mixers after it move up one identifier. Open handles to it answer
// MMSYSERR_INVALHANDLE from then on.
PLATFORM_API bool RemoveMixer(MixerId mixer);
PLATFORM_API void RemoveAllMixers();
// The mixer that serves wave-out device 0 (MIXER_OBJECTF_WAVEOUT); 0: none.
PLATFORM_API void SetWaveOutMixer(MixerId mixer);

// The control of `type` on the destination (line -1) or source `line`; 0 when there is none.
PLATFORM_API DWORD FindMixerControl(MixerId mixer, int line, DWORD type);
// The value a control holds; false for an unknown mixer or control.
PLATFORM_API bool GetMixerControlValue(MixerId mixer, DWORD controlId, DWORD* value);

// How often mixerOpen succeeded and mixerClose closed a handle since the start (or the last
// ResetMixerCounts), and the handles open now.
struct MixerCounts {
    int opens = 0;
    int closes = 0;
    int open = 0;
};
PLATFORM_API MixerCounts GetMixerCounts();
PLATFORM_API void ResetMixerCounts();

}  // namespace platform
