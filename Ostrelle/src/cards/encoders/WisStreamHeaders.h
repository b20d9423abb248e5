// The start-of-stream headers a decoder needs before the first picture of the WIS encoder's
// elementary stream, built from the encoder extension: the MPEG-1 sequence header, the MPEG-2
// sequence header with its sequence extension, the MPEG-4 video-object-layer header and the
// encoder's private header. Each builder answers its header's length and, through `out`, its
// own buffer, which the builder's next call on the same thread overwrites.
#pragma once

#include <windows.h>

#include "wisencoder.h"

// frame_rate values (frames per second times 1001) in the order of frame_rate_code 1..8.
extern const DWORD kWisFrameRates[8];
// frame_rate_code of a frame_rate: its place in kWisFrameRates counted from 1; 4 for any other.
int FrameRateCode(DWORD frameRate);

DWORD ToBigEndian32(DWORD value);

int BuildMpeg1SequenceHeader(const TCFG_FORMAT_EXTENSION* extension, BYTE** out);  // 12 bytes
int BuildMpeg2SequenceHeader(const TCFG_FORMAT_EXTENSION* extension, BYTE** out);  // 22 bytes
int BuildMpeg4VolHeader(const TCFG_FORMAT_EXTENSION* extension, BYTE** out);       // 18 bytes
int BuildPrivateStreamHeader(const TCFG_FORMAT_EXTENSION* extension, BYTE** out);  // 24 bytes
