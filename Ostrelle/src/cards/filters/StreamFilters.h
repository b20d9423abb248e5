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

// A wrapper whose filter makes pins on connection: valid with its filter, its pins re-read.
template <class Class>
class CDynamicPinWrapper : public CFilterWrapper<Class> {
public:
    using CFilterWrapper<Class>::CFilterWrapper;

    BOOL Init() override
    {
        this->m_bDyncPin = TRUE;
        return this->IsValid();
    }
};

class CInfTeeFilter : public CDynamicPinWrapper<CInfTeeFilter> {
public:
    using CDynamicPinWrapper::CDynamicPinWrapper;
    static CFilterClassRecord s_classRecord;
};

// Valid whenever its filter is; the setters open the filter's IVorlaneColorConvert per call.
class CColorConvertFilter : public CFilterWrapper<CColorConvertFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CColorConvertFilter() override;
    BOOL Init() override;
    static CFilterClassRecord s_classRecord;

    // The interface's first (A) or second (B) method with the value; the query's own result
    // when the filter has no such interface, E_FAIL without a filter.
    HRESULT SetParameterA(DWORD value);
    HRESULT SetParameterB(DWORD value);

private:
    HRESULT SetParameter(bool first, DWORD value);
};

class CMpeg2SplitterFilter : public CDynamicPinWrapper<CMpeg2SplitterFilter> {
public:
    using CDynamicPinWrapper::CDynamicPinWrapper;
    static CFilterClassRecord s_classRecord;
};

class CIVVideoDecoderFilter : public CDynamicPinWrapper<CIVVideoDecoderFilter> {
public:
    using CDynamicPinWrapper::CDynamicPinWrapper;
    static CFilterClassRecord s_classRecord;
};

class CMpeg1SplitterFilter : public CDynamicPinWrapper<CMpeg1SplitterFilter> {
public:
    using CDynamicPinWrapper::CDynamicPinWrapper;
    static CFilterClassRecord s_classRecord;
};
