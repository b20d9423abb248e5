// CMPEG2Demultiplexer: the wrapper of the system's MPEG-2 demultiplexer in the recording graph.
// It makes the output pins "Video" and "Audio" with the fixed MPEG-2 video and MPEG-1 layer II
// audio types and maps the program stream's ids (0xE0, 0xC0) onto them.
#pragma once

#include <afx.h>
#include <bdaiface.h>

#include "graph/FilterClassRecord.h"
#include "graph/RootFilter.h"

class CMPEG2Demultiplexer : public CRootFilter {
public:
    CMPEG2Demultiplexer(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CMPEG2Demultiplexer(CRootGraph* owner, REFCLSID clsid);
    ~CMPEG2Demultiplexer() override;

    HRESULT OnHook2(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;
    // Opens IMpeg2Demultiplexer; without it the filter is let go and the wrapper is invalid.
    BOOL Init() override;

    // A new output pin `name` with the video type (kind 0) or the audio type (any other kind).
    BOOL CreateOutputPin(CString name, int kind);
    BOOL SetOutputPinMediaType(CString name, AM_MEDIA_TYPE* type);
    BOOL DeleteOutputPin(CString name);
    // Maps the audio (0xC0) or video (0xE0) elementary stream onto the pin `pinName`.
    BOOL MapStreamId(CString pinName, BOOL audio);

    // The fixed types of the two kinds of output pin.
    static const AM_MEDIA_TYPE& VideoPinType();
    static const AM_MEDIA_TYPE& AudioPinType();

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CFilterClassRecord s_classRecord;

private:
    CComPtr<IMpeg2Demultiplexer> m_pDemux;
};
