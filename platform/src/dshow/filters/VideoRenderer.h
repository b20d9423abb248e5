// The video renderers (Video Renderer, VMR-7, VMR-9): one input taking uncompressed RGB and
// YUV pictures (and the Overlay Mixer's overlay type), shown in the renderer's video window, a
// platform window made on the thread that first pauses the graph. The latest sample is kept
// (a reference, until the next comes; the input raises its allocator's count by one for it),
// and its bytes copied only when it comes from another allocator (a filter before passes its
// own input's samples on) and when the graph stops. A new frame is drawn on the streaming
// thread through the window's DC, as it comes (a hidden window's paint draws it when the window
// shows), and WM_PAINT draws the kept frame again; either converts only the pixels the client
// area shows (nearest neighbour) straight into the window's surface. Frames received
// and frames shown are counted; a change of picture size (a new connection type, or a sample
// that carries one) reports EC_VIDEO_SIZE_CHANGED.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "Picture.h"
#include "RowScaler.h"
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
    // The latest frame as a packed DIB: BITMAPINFOHEADER and 32-bit bottom-up pixels, written
    // to `dib` when it holds `capacity` bytes or more. Answers the DIB's size (0 before the
    // first frame); a null `dib` only asks it.
    size_t CurrentImage(BYTE* dib, size_t capacity) const;
    long FramesReceived() const { return SamplesReceived(); }
    long FramesShown() const { return m_shown.load(); }

protected:
    ~VideoRendererFilter() override;
    HRESULT Render(PinBase* pin, IMediaSample* sample) override;
    HRESULT OnStateChange(FILTER_STATE from, FILTER_STATE to) override;
    void OnStateChanged(FILTER_STATE from, FILTER_STATE to) override;
    long Received() const override { return FramesReceived(); }
    long Shown() const override { return FramesShown(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Present();
    void Paint(HWND window);
    void PaintFrameLocked(HDC dc, const RECT& client);
    void ShownLocked(HWND window);
    void PublishLocked(HWND window) const;

    // The streaming thread's: the connection's picture and the buffer a copied frame goes to.
    Picture m_incomingPicture;
    bool m_hasIncomingPicture = false;
    std::vector<BYTE> m_incoming;
    // The latest frame: the sample kept, or its copy (swapped in from m_incoming).
    mutable std::mutex m_frameLock;
    Picture m_picture;  // width 0 until the first frame
    CComPtr<IMediaSample> m_sample;
    std::vector<BYTE> m_frame;
    const BYTE* m_bits = nullptr;  // the frame's bytes: the sample's or m_frame's
    RowScaler m_scaler;            // under the frame lock
    bool m_newFrame = false;       // arrived since the window last painted (frame lock)
    std::atomic<bool> m_invalidated{false};  // a hidden window's invalidation waits for its paint
    std::atomic<long> m_shown{0};
    std::atomic<HWND> m_window{nullptr};
};

}  // namespace platform::dshow
