// The renderers: the video renderer, the video mixing renderers 7 and 9, the waveOut audio
// renderer and the DirectSound renderer. Each has one input pin; the stand-in shows nothing
// and plays nothing.
#pragma once

#include "platform/dshow/FilterBase.h"

namespace platform::dshow {

class VideoRendererFilter : public FilterBase {
public:
    VideoRendererFilter(REFCLSID clsid, const wchar_t* pinName);
};

class AudioRendererFilter : public FilterBase {
public:
    explicit AudioRendererFilter(REFCLSID clsid);
};

}  // namespace platform::dshow
