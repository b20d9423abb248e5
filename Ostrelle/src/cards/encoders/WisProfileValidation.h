// The checks of one entry of the encoder profile file, after its last key: 0 or the entry's
// error code. They also fill the fields the file may leave out with their defaults and reduce
// switches to 0 or 1. `earlier` are the entries of the same table read before.
#pragma once

#include <windows.h>

#include "cards/encoders/WisProfileTables.h"
#include "wisencoder.h"

int ValidateStreamSetting(StreamSetting* s, const StreamSetting* earlier, DWORD earlierCount);
int ValidateFrameRateSetting(FrameRateSetting* s, const FrameRateSetting* earlier, DWORD earlierCount);
int ValidateResolutionSetting(ResolutionSetting* s, const ResolutionSetting* earlier, DWORD earlierCount);
int ValidateBitrateSetting(BitrateSetting* s, const BitrateSetting* earlier, DWORD earlierCount);
