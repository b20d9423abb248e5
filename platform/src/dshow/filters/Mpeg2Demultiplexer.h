// The MPEG-2 Demultiplexer: one input for a program stream, output pins made and deleted on
// request (IMpeg2Demultiplexer), each output with the stream ids it carries (IMPEG2StreamIdMap).
// A program stream's PES payloads go to every output their stream id is mapped on, one sample
// per PES packet, from the map's data offset on; a private stream 1 mapping with a substream
// filter value takes only the packets whose payload starts with that substream id. Each sample
// is stamped with its PTS as stream time: the first PTS of any stream is time 0, and every PTS
// counts as the signed 33-bit distance from the stream's previous one, so a stream that starts a
// little before the first (audio ahead of video) starts a little before 0 and a PTS that wraps
// goes on rising. Unmapped streams are dropped; a flush drops a packet cut short. A transport
// stream connects but is not parsed: its samples are dropped, with one trace.
#pragma once

#include <mutex>
#include <vector>

#include "ProgramStreamParser.h"
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
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;
    HRESULT OnReceive(PinBase* pin, IMediaSample* sample) override;
    void OnEndFlush(PinBase* pin) override;
    FilterBase& Demux() override { return *this; }
    IMpeg2Demultiplexer& PinControl() override { return *this; }

private:
    struct Route {
        STREAM_ID_MAP map;
        PinBase* pin;  // the filter's own: held without a reference
    };
    // A PTS's place on the stream's time line (90 kHz from the first PTS).
    struct StreamClock {
        uint8_t streamId;
        uint64_t lastPts;
        int64_t lastTicks;
    };
    void Deliver(const ProgramStreamParser::Packet& packet);
    int64_t TicksOf(uint8_t streamId, uint64_t pts);
    HRESULT DeliverTo(const Route& route, const ProgramStreamParser::Packet& packet, bool hasTime, int64_t ticks);

    // Used on the upstream thread under m_streamLock, and reset while stopped and by a flush.
    std::mutex m_streamLock;
    ProgramStreamParser m_parser;
    std::vector<Route> m_routes;  // taken when the stream starts
    bool m_hasBase = false;
    uint64_t m_basePts = 0;
    std::vector<StreamClock> m_clocks;
    HRESULT m_deliveryResult = S_OK;
    bool m_transportTraced = false;
};

}  // namespace platform::dshow
