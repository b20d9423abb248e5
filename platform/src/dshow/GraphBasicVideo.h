// The filter graph's basic-video properties (IBasicVideo): the video's size and timing, read
// from the format its video renderer is connected with, source and destination rectangles
// kept as set, and the current image: the video renderer's latest frame (a 32-bit DIB), or
// a black bitmap of the video's size before the first frame.
#pragma once

#include <mutex>
#include <vector>

#include "amvideo.h"
#include "control.h"

namespace platform::dshow {

class GraphBasicVideo : public IBasicVideo {
public:
    using Interface = IBasicVideo;

    STDMETHODIMP get_AvgTimePerFrame(REFTIME* pAvgTimePerFrame) override;
    STDMETHODIMP get_BitRate(long* pBitRate) override;
    STDMETHODIMP get_BitErrorRate(long* pBitErrorRate) override;
    STDMETHODIMP get_VideoWidth(long* pVideoWidth) override;
    STDMETHODIMP get_VideoHeight(long* pVideoHeight) override;
    STDMETHODIMP put_SourceLeft(long SourceLeft) override;
    STDMETHODIMP get_SourceLeft(long* pSourceLeft) override;
    STDMETHODIMP put_SourceWidth(long SourceWidth) override;
    STDMETHODIMP get_SourceWidth(long* pSourceWidth) override;
    STDMETHODIMP put_SourceTop(long SourceTop) override;
    STDMETHODIMP get_SourceTop(long* pSourceTop) override;
    STDMETHODIMP put_SourceHeight(long SourceHeight) override;
    STDMETHODIMP get_SourceHeight(long* pSourceHeight) override;
    STDMETHODIMP put_DestinationLeft(long DestinationLeft) override;
    STDMETHODIMP get_DestinationLeft(long* pDestinationLeft) override;
    STDMETHODIMP put_DestinationWidth(long DestinationWidth) override;
    STDMETHODIMP get_DestinationWidth(long* pDestinationWidth) override;
    STDMETHODIMP put_DestinationTop(long DestinationTop) override;
    STDMETHODIMP get_DestinationTop(long* pDestinationTop) override;
    STDMETHODIMP put_DestinationHeight(long DestinationHeight) override;
    STDMETHODIMP get_DestinationHeight(long* pDestinationHeight) override;
    STDMETHODIMP SetSourcePosition(long Left, long Top, long Width, long Height) override;
    STDMETHODIMP GetSourcePosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) override;
    STDMETHODIMP SetDefaultSourcePosition() override;
    STDMETHODIMP SetDestinationPosition(long Left, long Top, long Width, long Height) override;
    STDMETHODIMP GetDestinationPosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) override;
    STDMETHODIMP SetDefaultDestinationPosition() override;
    STDMETHODIMP GetVideoSize(long* pWidth, long* pHeight) override;
    STDMETHODIMP GetVideoPaletteEntries(long StartIndex, long Entries, long* pRetrieved, long* pPalette) override;
    STDMETHODIMP GetCurrentImage(long* pBufferSize, long* pDIBImage) override;
    STDMETHODIMP IsUsingDefaultSource() override;
    STDMETHODIMP IsUsingDefaultDestination() override;

protected:
    virtual ~GraphBasicVideo() = default;
    // The format the graph's video renderer is connected with; false when there is none.
    virtual bool RendererFormat(VIDEOINFOHEADER* format) = 0;
    // The renderer's latest frame as a packed DIB, written to `dib` when it holds `capacity`
    // bytes; answers its size (0 before the first frame). A null `dib` only asks the size.
    virtual size_t RendererImage(BYTE* dib, size_t capacity) = 0;

private:
    // A rectangle kept as set; `isDefault` until set.
    struct Rect {
        bool isDefault = true;
        long left = 0, top = 0, width = 0, height = 0;
    };
    HRESULT Video(VIDEOINFOHEADER* format);
    HRESULT SetRect(Rect* rect, long left, long top, long width, long height);
    HRESULT GetRect(const Rect& rect, long* left, long* top, long* width, long* height);
    HRESULT PutPart(Rect* rect, long Rect::*field, long value);
    HRESULT GetPart(const Rect& rect, long Rect::*field, long* value);

    std::mutex m_lock;
    Rect m_source, m_destination;
};

}  // namespace platform::dshow
