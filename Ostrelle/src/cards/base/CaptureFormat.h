// The capture-side operations that the card base and the camera base share, over the owner
// graph's capture graph builder and the device filter: the decoder's video standard, the
// current format of the capture or preview pin, and the VideoFormatInfo record read from and
// written to it, each class with its own colour-code table.
#pragma once

#include <dshow.h>

#include <cstddef>

class CRootGraph;

// The capture format exchanged with the card manager.
struct VideoFormatInfo {
    int nColorFormat;  // colour format code (the class's table)
    RECT rcSource;
    RECT rcTarget;
    DWORD dwBitRate;
    DWORD dwBitErrorRate;
    REFERENCE_TIME AvgTimePerFrame;
    BITMAPINFOHEADER bmiHeader;
};

// One colour format code; a row marked setOnly is written but never read back as its code.
struct ColorFormat {
    int code;
    const GUID* subtype;
    bool setOnly;
};

struct ColorFormatTable {
    const ColorFormat* rows;
    size_t count;

    // The code of a subtype; -1 when it has none.
    int CodeOf(REFGUID subtype) const;
    // The subtype of a code; "YUY2" for a code without one.
    GUID SubtypeOf(int code) const;
};

// which 1: PIN_CATEGORY_CAPTURE; any other value: PIN_CATEGORY_PREVIEW.
const GUID& CapturePinCategory(int which);

// The decoder's standards (IAMAnalogVideoDecoder): the available ones, then the current one,
// each only for a pointer given. E_FAIL without a filter. stopAtFailure: a failing first call
// ends the operation with its result; otherwise the last call's result is answered.
HRESULT GetDecoderStandard(IBaseFilter* filter, long* available, long* current, bool stopAtFailure);
HRESULT SetDecoderStandard(IBaseFilter* filter, long standard);

// The IAMStreamConfig of the filter's capture (which 1) or preview pin; E_FAIL without graph,
// builder or filter, or when none is found.
HRESULT FindStreamConfig(CRootGraph* graph, IBaseFilter* filter, int which, IAMStreamConfig** config);
// Among the capabilities of `config` whose format is FORMAT_VideoInfo with `subtype` and whose
// video standard is non-zero, the largest MaxCroppingSize of non-zero area into *out; TRUE when
// one was taken. Each capability record is read into a buffer of the size the pin names, and
// a size smaller than a VIDEO_STREAM_CONFIG_CAPS is refused; the walk ends at the first index
// whose GetStreamCaps does not succeed.
BOOL FindLargestVideoCapability(IAMStreamConfig* config, REFGUID subtype, SIZE* out);
// The current format of the pin (its IAMStreamConfig, else the pin's first media type) into
// *mediaType (free with DeleteMediaType). E_POINTER for a null out, E_FAIL without graph,
// builder or filter.
HRESULT FindPinFormat(CRootGraph* graph, IBaseFilter* filter, AM_MEDIA_TYPE** mediaType, int which);
// The pin's format as a record; E_INVALIDARG unless it carries a whole VIDEOINFOHEADER.
HRESULT ReadVideoFormat(CRootGraph* graph, IBaseFilter* filter, VideoFormatInfo* info, int which,
                        const ColorFormatTable& colors);
// Writes the record over the pin's current format (fromPinFormat: as FindPinFormat finds it,
// else the stream config's GetFormat) with biSizeImage computed for the image, the subtype of
// the colour code, and sets it. E_INVALIDARG unless the format carries a whole VIDEOINFOHEADER.
HRESULT WriteVideoFormat(CRootGraph* graph, IBaseFilter* filter, const VideoFormatInfo& info, int which,
                         const ColorFormatTable& colors, bool fromPinFormat);
