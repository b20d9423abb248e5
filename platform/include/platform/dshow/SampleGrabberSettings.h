// What a test reads back from the stand-in's Sample Grabber: its buffering and one-shot
// settings and the callback it holds with the method it calls.
#pragma once

#include "qedit.h"

namespace platform::dshow {

struct SampleGrabberSettings {
    BOOL oneShot = FALSE;
    BOOL bufferSamples = FALSE;
    ISampleGrabberCB* callback = nullptr;  // not AddRef'd
    long method = 0;                       // 0 SampleCB, 1 BufferCB
};

// False when `filter` is not the stand-in's Sample Grabber.
PLATFORM_API bool ReadSampleGrabberSettings(IBaseFilter* filter, SampleGrabberSettings* settings);

}  // namespace platform::dshow
