// Video format blocks: VIDEOINFOHEADER (88 bytes) and the helpers around its bitmap header;
// MPEG1VIDEOINFO (the sequence header follows at byte 96).
#pragma once

#include "platform/dibheaders.h"
#include "strmif.h"

typedef struct tagVIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    DWORD dwBitRate;
    DWORD dwBitErrorRate;
    REFERENCE_TIME AvgTimePerFrame;  // 100-nanosecond units
    BITMAPINFOHEADER bmiHeader;
} VIDEOINFOHEADER;
static_assert(sizeof(VIDEOINFOHEADER) == 88);

typedef struct tagMPEG1VIDEOINFO {
    VIDEOINFOHEADER hdr;
    DWORD dwStartTimeCode;
    DWORD cbSequenceHeader;  // bytes of bSequenceHeader
    BYTE bSequenceHeader[1];
} MPEG1VIDEOINFO;
static_assert(offsetof(MPEG1VIDEOINFO, bSequenceHeader) == 96);

// The size of an MPEG1VIDEOINFO block with its sequence header.
#define SIZE_MPEG1VIDEOINFO(pv) (offsetof(MPEG1VIDEOINFO, bSequenceHeader[0]) + (pv)->cbSequenceHeader)
#define MPEG1_SEQUENCE_INFO(pv) ((const BYTE*)(pv)->bSequenceHeader)

#define HEADER(pVideoInfo) (&(((VIDEOINFOHEADER*)(pVideoInfo))->bmiHeader))
#define DIBWIDTHBYTES(bi) ((DWORD)((((bi).biWidth * (bi).biBitCount) + 31) & ~31) / 8)
#define DIBSIZE(bi) ((bi).biHeight < 0 ? (-1) * (bi).biHeight * DIBWIDTHBYTES(bi) : (bi).biHeight * DIBWIDTHBYTES(bi))

// A renderer's quality figures: frames drawn and dropped since it last left Stop.
DEFINE_DSHOW_GUID(IID_IQualProp, 0x0190);
struct IQualProp : public IUnknown {
    STDMETHOD(get_FramesDroppedInRenderer)(int* pcFrames) PURE;
    STDMETHOD(get_FramesDrawn)(int* pcFramesDrawn) PURE;
    STDMETHOD(get_AvgFrameRate)(int* piAvgFrameRate) PURE;
    STDMETHOD(get_Jitter)(int* iJitter) PURE;
    STDMETHOD(get_AvgSyncOffset)(int* piAvg) PURE;
    STDMETHOD(get_DevSyncOffset)(int* piDev) PURE;
};
PLATFORM_INTERFACE_TRAITS(IQualProp, IUnknown);
