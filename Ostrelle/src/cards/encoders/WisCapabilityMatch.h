// Matching the station's encoder settings to the device's capabilities, and the setting links
// that restrict which capabilities may be combined. A capability's flag bits mark the fields
// that must match; a capability without any flag must match in every field.
#pragma once

#include <windows.h>

#include <vector>

#include "cards/encoders/WisProfileTables.h"
#include "wisencoder.h"

// TRUE when flags is 0 or holds every bit of mask.
BOOL FlagsCover(DWORD flags, DWORD mask);
// wanted 0: only an offered 0; otherwise offered is not 0 and holds every bit of wanted.
BOOL StandardsCompatible(long wanted, long offered);

// TRUE when no count of the block exceeds its array (16 profiles, 30 capabilities of each kind,
// 300 links): a block that does is not read.
BOOL CapabilitiesWithinArrays(const EncoderCapabilities* caps);

// The index of the first capability the setting matches, in table order; 0xFFFFFFFF when none.
// A matched resolution takes the capability's bit-rate bounds.
DWORD MatchStreamCapability(const EncoderCapabilities* caps, const StreamSetting* setting);
DWORD MatchFrameRateCapability(const EncoderCapabilities* caps, const FrameRateSetting* setting);
DWORD MatchResolutionCapability(const EncoderCapabilities* caps, ResolutionSetting* setting);

// The index of the first capability of the kind (stream, resolution or frame rate) with that
// name; -1 when none.
int FindCapabilityByName(const EncoderCapabilities* caps, int kind, const char* name);

// Appends the link to the block's table: the new link count, or -3 when it holds 300 links.
int AddSettingLink(EncoderCapabilities* caps, const SettingLink* link);

// The first link whose kinds equal the query's and whose ids equal it or are "any" decides:
// PROFILE_LINK_EXCLUDES when it is a closing link, else (or without one) 0.
int FindSettingLink(const EncoderCapabilities* caps, const SettingLink* query);

// Fills `combinations` with every {stream, resolution, frame rate} of capabilities that the
// standard allows and no link excludes: 0 when there is one, PROFILE_NOT_SUPPORTED when there is
// none, PROFILE_NO_MEMORY when the list cannot be had. The profile does not enter the result.
int BuildValidCombinations(const EncoderCapabilities* caps, int profile, long standard,
                           std::vector<ValidCombination>& combinations);
