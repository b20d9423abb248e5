// The video renderers (Video Renderer, VMR-7, VMR-9): one input taking uncompressed RGB and
// YUV pictures (and the Overlay Mixer's overlay type); each frame is kept as a 32-bit DIB and
// shown in the renderer's video window, a platform window made on the thread that first
// pauses the graph. A new frame invalidates the window from the streaming thread (once until
// it has painted); its WM_PAINT draws the latest frame over the client area. Frames received
// and frames shown are counted; a change of picture size reports EC_VIDEO_SIZE_CHANGED.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "Picture.h"
#include "platform/dshow/RendererBase.h"
#include "platform/dshow/With.h"

namespace platform::dshow {

// IQualProp of the renderers: frames drawn (shown) and dropped (received but replaced by a
// newer one before the window painted).
class RendererQuality : public IQualProp {
public:
    using Interface = IQualProp;
    STDMETHODIMP get_FramesDroppedInRenderer(int* pcFrames) override;
    STDMETHODIMP get_FramesDrawn(int* pcFramesDrawn) override;
    STDMETHODIMP get_AvgFrameRate(int* piAvgFrameRate) override;
    STDMETHODIMP get_Jitter(int* iJitter) override;
    STDMETHODIMP get_AvgSyncOffset(int* piAvg) override;
    STDMETHODIMP get_DevSyncOffset(int* piDev) override;

protected:
    virtual ~RendererQuality() = default;
    virtual long Received() const = 0;
    virtual long Shown() const = 0;
};

class VideoRendererFilter : public With<RendererBase, RendererQuality> {
public:
    VideoRendererFilter(REFCLSID clsid, const wchar_t* pinName);

    // The video window (null before the filter first left Stop).
    HWND Window() const { return m_window.load(); }
    // The latest frame as a packed DIB: BITMAPINFOHEADER and 32-bit bottom-up pixels; false
    // before the first frame.
    bool CurrentImage(std::vector<BYTE>* dib) const;
    long FramesReceived() const { return SamplesReceived(); }
    long FramesShown() const { return m_shown.load(); }

protected:
    ~VideoRendererFilter() override;
    HRESULT Render(PinBase* pin, IMediaSample* sample) override;
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;
    long Received() const override { return FramesReceived(); }
    long Shown() const override { return FramesShown(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HWND window);
    void PaintFrame(HDC dc, const RECT& client);
    void Publish();

    mutable std::mutex m_frameLock;
    BITMAPINFOHEADER m_header{};  // biWidth 0 until the first frame
    std::vector<BYTE> m_bits;
    std::atomic<bool> m_newFrame{false};     // arrived since the last paint
    std::atomic<bool> m_invalidated{false};  // an invalidation waits for its paint
    std::atomic<long> m_shown{0};
    std::atomic<HWND> m_window{nullptr};
};

}  // namespace platform::dshow
