// The MPEG-2 Demultiplexer: one input for a program stream, output pins made and deleted on
// request (IMpeg2Demultiplexer), each output with the stream ids it carries (IMPEG2StreamIdMap).
#pragma once

#include <mutex>
#include <vector>

#include "bdaiface.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/With.h"

namespace platform::dshow {

class StreamIdMapMixin : public IMPEG2StreamIdMap {
public:
    using Interface = IMPEG2StreamIdMap;
    // E_INVALIDARG for an id that is already mapped.
    STDMETHODIMP MapStreamId(ULONG ulStreamId, DWORD MediaSampleContent, ULONG ulSubstreamFilterValue,
                             int iDataOffset) override;
    STDMETHODIMP UnmapStreamId(ULONG culStreamId, ULONG* pulStreamId) override;
    STDMETHODIMP EnumStreamIdMap(IEnumStreamIdMap** ppIEnumStreamIdMap) override;
    std::vector<STREAM_ID_MAP> Mappings() const;

protected:
    virtual ~StreamIdMapMixin() = default;

private:
    mutable std::mutex m_lock;
    std::vector<STREAM_ID_MAP> m_map;
};

class DemuxOutputPin : public With<PinBase, StreamIdMapMixin> {
public:
    using With::With;
};

class DemuxPinControl : public IMpeg2Demultiplexer {
public:
    using Interface = IMpeg2Demultiplexer;
    STDMETHODIMP CreateOutputPin(AM_MEDIA_TYPE* pMediaType, LPWSTR pszPinName, IPin** ppIPin) override;
    STDMETHODIMP SetOutputPinMediaType(LPWSTR pszPinName, AM_MEDIA_TYPE* pMediaType) override;
    STDMETHODIMP DeleteOutputPin(LPWSTR pszPinName) override;

protected:
    virtual ~DemuxPinControl() = default;
    virtual FilterBase& Demux() = 0;
};

// The demultiplexer's state in saved graphs (IPersistStream): each output pin made on request,
// with its media type and stream ids, so that a loaded graph finds the pins to connect.
class DemuxPersist : public IPersistStream {
public:
    using Interface = IPersistStream;
    STDMETHODIMP GetClassID(CLSID* pClassID) override;
    STDMETHODIMP IsDirty() override;
    // VFW_E_NOT_STOPPED unless stopped; E_INVALIDARG for a pin whose name is taken.
    STDMETHODIMP Load(IStream* pStm) override;
    STDMETHODIMP Save(IStream* pStm, BOOL fClearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* pcbSize) override;

protected:
    virtual ~DemuxPersist() = default;
    virtual FilterBase& Demux() = 0;
    virtual IMpeg2Demultiplexer& PinControl() = 0;
};

class Mpeg2DemultiplexerFilter : public With<FilterBase, DemuxPinControl, DemuxPersist> {
public:
    Mpeg2DemultiplexerFilter();

protected:
    FilterBase& Demux() override { return *this; }
    IMpeg2Demultiplexer& PinControl() override { return *this; }
};

}  // namespace platform::dshow
