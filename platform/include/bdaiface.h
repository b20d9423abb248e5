// The MPEG-2 demultiplexer's interfaces: output pins made on demand (IMpeg2Demultiplexer) and
// the stream ids an output pin carries (IMPEG2StreamIdMap).
#pragma once

#include "strmif.h"

DEFINE_GUID(IID_IMpeg2Demultiplexer, 0x436EEE9C, 0x264F, 0x4242, 0x90, 0xE1, 0x4E, 0x33, 0x0C, 0x10, 0x75, 0x12);
DEFINE_GUID(IID_IMPEG2StreamIdMap, 0xD0E04C47, 0x25B8, 0x4369, 0x92, 0x5A, 0x36, 0x2A, 0x01, 0xD9, 0x54, 0x44);
DEFINE_DSHOW_GUID(IID_IEnumStreamIdMap, 0x0150);

// What an output pin of a program-stream demultiplexer delivers for a stream id.
#define MPEG2_PROGRAM_STREAM_MAP 0x00000000
#define MPEG2_PROGRAM_ELEMENTARY_STREAM 0x00000001
#define MPEG2_PROGRAM_DIRECTORY_PES_PACKET 0x00000002
#define MPEG2_PROGRAM_PACK_HEADER 0x00000003
#define MPEG2_PROGRAM_PES_STREAM 0x00000004
#define MPEG2_PROGRAM_SYSTEM_HEADER 0x00000005

// A stream id mapped with this substream filter value takes every substream.
#define SUBSTREAM_FILTER_VAL_NONE 0x10000000

typedef struct {
    ULONG stream_id;
    DWORD dwMediaSampleContent;
    ULONG ulSubstreamFilterValue;
    int iDataOffset;
} STREAM_ID_MAP;

struct IEnumStreamIdMap : public IUnknown {
    STDMETHOD(Next)(ULONG cRequest, STREAM_ID_MAP* pStreamIdMap, ULONG* pcReceived) PURE;
    STDMETHOD(Skip)(ULONG cRecords) PURE;
    STDMETHOD(Reset)() PURE;
    STDMETHOD(Clone)(IEnumStreamIdMap** ppIEnumStreamIdMap) PURE;
};

struct IMpeg2Demultiplexer : public IUnknown {
    // A new output pin named `pszPinName` offering `pMediaType`; *ppIPin is AddRef'd.
    STDMETHOD(CreateOutputPin)(AM_MEDIA_TYPE* pMediaType, LPWSTR pszPinName, IPin** ppIPin) PURE;
    STDMETHOD(SetOutputPinMediaType)(LPWSTR pszPinName, AM_MEDIA_TYPE* pMediaType) PURE;
    STDMETHOD(DeleteOutputPin)(LPWSTR pszPinName) PURE;
};

struct IMPEG2StreamIdMap : public IUnknown {
    STDMETHOD(MapStreamId)(ULONG ulStreamId, DWORD MediaSampleContent, ULONG ulSubstreamFilterValue,
                           int iDataOffset) PURE;
    STDMETHOD(UnmapStreamId)(ULONG culStreamId, ULONG* pulStreamId) PURE;
    STDMETHOD(EnumStreamIdMap)(IEnumStreamIdMap** ppIEnumStreamIdMap) PURE;
};

PLATFORM_INTERFACE_TRAITS(IEnumStreamIdMap, IUnknown);
PLATFORM_INTERFACE_TRAITS(IMpeg2Demultiplexer, IUnknown);
PLATFORM_INTERFACE_TRAITS(IMPEG2StreamIdMap, IUnknown);
