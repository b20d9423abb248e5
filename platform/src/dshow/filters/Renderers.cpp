// The renderers.
#include "Renderers.h"

#include "dvdmedia.h"

namespace platform::dshow {

VideoRendererFilter::VideoRendererFilter(REFCLSID clsid, const wchar_t* pinName) : FilterBase(clsid) {
    AddPin(PinDescription{PINDIR_INPUT, pinName, L"", GUID_NULL,
                          {MediaType(MEDIATYPE_Video, GUID_NULL, FORMAT_VideoInfo),
                           MediaType(MEDIATYPE_Video, GUID_NULL, FORMAT_VideoInfo2)}});
}

AudioRendererFilter::AudioRendererFilter(REFCLSID clsid) : FilterBase(clsid) {
    AddPin(PinDescription{PINDIR_INPUT, L"Audio Input pin (rendered)", L"", GUID_NULL,
                          {MediaType(MEDIATYPE_Audio, GUID_NULL, FORMAT_WaveFormatEx)}});
}

}  // namespace platform::dshow
