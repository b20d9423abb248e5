// The card library's wrappers of the filters that preview, time-shift and record graphs put
// behind a card, each registered by its filter's CLSID: the Infinite Pin Tee, the colour
// converter, the MPEG-2 and MPEG-1 splitters and the video decoder. The tee, the splitters and
// the decoder make pins as they are connected, so their wrappers re-read the pin list after every
// connection change. The time-shift filter's wrapper is in TimeShiftFilter.h, the TV-audio
// wrappers in cards/base/TVAudioFilter.h.
#pragma once

#include <makers/intervideo.h>
#include <makers/vorlane.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CInfTeeFilter : public CRootFilter {
public:
    FILTER_WRAPPER_DECLARATIONS(CInfTeeFilter);
};

// Valid whenever its filter is; the setters open the filter's IVorlaneColorConvert per call.
class CColorConvertFilter : public CRootFilter {
public:
    FILTER_WRAPPER_DECLARATIONS(CColorConvertFilter);

    // The interface's first (A) or second (B) method with the value; the query's own result
    // when the filter has no such interface, E_FAIL without a filter.
    HRESULT SetParameterA(DWORD value);
    HRESULT SetParameterB(DWORD value);

private:
    HRESULT SetParameter(bool first, DWORD value);
};

class CMpeg2SplitterFilter : public CRootFilter {
public:
    FILTER_WRAPPER_DECLARATIONS(CMpeg2SplitterFilter);
};

class CIVVideoDecoderFilter : public CRootFilter {
public:
    FILTER_WRAPPER_DECLARATIONS(CIVVideoDecoderFilter);
};

class CMpeg1SplitterFilter : public CRootFilter {
public:
    FILTER_WRAPPER_DECLARATIONS(CMpeg1SplitterFilter);
};
