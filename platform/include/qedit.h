// The sample grabber: a transform filter that hands each sample (or a copy of its buffer) to a
// callback.
#pragma once

#include "strmif.h"

DEFINE_GUID(CLSID_SampleGrabber, 0xC1F400A0, 0x3F08, 0x11D3, 0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37);
DEFINE_GUID(IID_ISampleGrabber, 0x6B652FFF, 0x11FE, 0x4FCE, 0x92, 0xAD, 0x02, 0x66, 0xB5, 0xD7, 0xC7, 0x8F);
DEFINE_DSHOW_GUID(IID_ISampleGrabberCB, 0x0140);

struct ISampleGrabberCB : public IUnknown {
    STDMETHOD(SampleCB)(double SampleTime, IMediaSample* pSample) PURE;
    STDMETHOD(BufferCB)(double SampleTime, BYTE* pBuffer, long BufferLen) PURE;
};

struct ISampleGrabber : public IUnknown {
    STDMETHOD(SetOneShot)(BOOL OneShot) PURE;
    // The type the grabber accepts on its input (major type, subtype, format type; GUID_NULL
    // fields match anything).
    STDMETHOD(SetMediaType)(const AM_MEDIA_TYPE* pType) PURE;
    STDMETHOD(GetConnectedMediaType)(AM_MEDIA_TYPE* pType) PURE;
    STDMETHOD(SetBufferSamples)(BOOL BufferThem) PURE;
    STDMETHOD(GetCurrentBuffer)(long* pBufferSize, long* pBuffer) PURE;
    STDMETHOD(GetCurrentSample)(IMediaSample** ppSample) PURE;
    // WhichMethodToCallback: 0 SampleCB, 1 BufferCB.
    STDMETHOD(SetCallback)(ISampleGrabberCB* pCallback, long WhichMethodToCallback) PURE;
};

PLATFORM_INTERFACE_TRAITS(ISampleGrabberCB, IUnknown);
PLATFORM_INTERFACE_TRAITS(ISampleGrabber, IUnknown);
