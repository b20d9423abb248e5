// The video renderers and their video window.
#include "VideoRenderer.h"

#include <algorithm>
#include <cstring>

#include "display/DisplayHost.h"
#include "display/VideoWindows.h"
#include "evcode.h"
#include "gdi/Raster.h"
#include "platform/winctrl.h"
#include "vfwmsgs.h"

namespace platform::dshow {

namespace {

const char kWindowClass[] = "VideoRenderer";

class VideoInputPin : public PinBase {
public:
    VideoInputPin(FilterBase* filter, const wchar_t* name)
        : PinBase(filter, PinDescription{PINDIR_INPUT, name, L"", GUID_NULL,
                                         {MediaType(MEDIATYPE_Video, GUID_NULL, FORMAT_VideoInfo),
                                          MediaType(MEDIATYPE_Video, GUID_NULL, FORMAT_VideoInfo2)}}) {}

protected:
    // Pictures only: other subtypes are refused, so intelligent connect puts in a converter.
    HRESULT CheckMediaType(const AM_MEDIA_TYPE& mt) const override {
        Picture picture;
        return PinBase::CheckMediaType(mt) == S_OK && PictureOf(mt, &picture) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }

public:
    // The renderer keeps the latest sample until the next comes: one buffer more, so the
    // upstream always has one to fill.
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override {
        m_raised = false;
        HRESULT hr = PinBase::NotifyAllocator(allocator, readOnly);
        ALLOCATOR_PROPERTIES props, actual;
        if (SUCCEEDED(hr) && SUCCEEDED(allocator->GetProperties(&props))) {
            ++props.cBuffers;
            m_raised = SUCCEEDED(allocator->SetProperties(&props, &actual));
        }
        return hr;
    }
    // A sample from the allocator whose count the pin raised (not one a filter before passed on
    // from its own input).
    bool MayKeep(IMediaSample* sample) const {
        const auto* ours = dynamic_cast<const MediaSample*>(sample);
        return m_raised.load() && ours && ours->From(Allocator());
    }

private:
    std::atomic<bool> m_raised{false};
};

void RegisterWindowClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSA wc{};
        wc.lpszClassName = kWindowClass;
        wc.lpfnWndProc = &DefWindowProcA;
        RegisterClassA(&wc);
    });
}

}  // namespace

STDMETHODIMP RendererQuality::get_FramesDroppedInRenderer(int* pcFrames) {
    if (!pcFrames) return E_POINTER;
    *pcFrames = int(std::max(0L, Received() - Shown()));
    return S_OK;
}

STDMETHODIMP RendererQuality::get_FramesDrawn(int* pcFramesDrawn) {
    if (!pcFramesDrawn) return E_POINTER;
    *pcFramesDrawn = int(Shown());
    return S_OK;
}

STDMETHODIMP RendererQuality::get_AvgFrameRate(int* v) { return v ? (*v = 0, E_NOTIMPL) : E_POINTER; }
STDMETHODIMP RendererQuality::get_Jitter(int* v) { return v ? (*v = 0, E_NOTIMPL) : E_POINTER; }
STDMETHODIMP RendererQuality::get_AvgSyncOffset(int* v) { return v ? (*v = 0, E_NOTIMPL) : E_POINTER; }
STDMETHODIMP RendererQuality::get_DevSyncOffset(int* v) { return v ? (*v = 0, E_NOTIMPL) : E_POINTER; }

VideoRendererFilter::VideoRendererFilter(REFCLSID clsid, const wchar_t* pinName) : With(clsid) {
    CComPtr<PinBase> input;
    input.Attach(new VideoInputPin(this, pinName));
    AddPin(input);
}

VideoRendererFilter::~VideoRendererFilter() {
    if (HWND window = m_window.exchange(nullptr)) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        ForgetVideoWindow(window);
        DestroyWindow(window);
    }
}

HRESULT VideoRendererFilter::OnStateChange(FILTER_STATE from, FILTER_STATE to) {
    if (from == State_Stopped && !m_window.load()) {
        RegisterWindowClass();
        HWND window = CreateWindowExA(0, kWindowClass, "ActiveMovie Window",
                                      WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 240, 180,
                                      nullptr, nullptr, nullptr, nullptr);
        if (!window) return E_OUTOFMEMORY;
        SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(this));
        SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(&WindowProc));
        m_window = window;
    }
    if (from == State_Stopped) {
        m_shown = 0;
        // The connection's picture, taken again when the stream starts (no sample is on its way).
        m_hasIncomingPicture = PictureOf(Pins().front()->ConnectionType().Get(), &m_incomingPicture);
        std::lock_guard<std::mutex> lock(m_frameLock);
        PublishLocked(m_window.load());
    }
    return RendererBase::OnStateChange(from, to);
}

// The sample is kept when the pin may keep it, else its bytes are copied into the streaming
// thread's buffer, which then changes place with the frame kept: the frame lock is held only
// for the swap, and the sample it replaces is let go after it.
HRESULT VideoRendererFilter::Render(PinBase* pin, IMediaSample* sample) {
    AM_MEDIA_TYPE* changed = nullptr;
    if (sample->GetMediaType(&changed) == S_OK && changed) {
        m_hasIncomingPicture = PictureOf(*changed, &m_incomingPicture);
        DeleteMediaType(changed);
    }
    if (!m_hasIncomingPicture) return VFW_E_TYPE_NOT_ACCEPTED;
    const Picture in = m_incomingPicture;
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || size_t(sample->GetActualDataLength()) < in.Size())
        return VFW_E_BUFFER_UNDERFLOW;
    const bool keep = static_cast<VideoInputPin*>(pin)->MayKeep(sample);
    if (!keep) {
        m_incoming.resize(in.Size());
        std::memcpy(m_incoming.data(), data, in.Size());
    }
    CComPtr<IMediaSample> previous;
    bool resized;
    {
        std::lock_guard<std::mutex> lock(m_frameLock);
        if (State() == State_Stopped) return VFW_E_WRONG_STATE;  // stopped meanwhile: nothing is kept
        resized = m_picture.width && (m_picture.width != in.width || m_picture.height != in.height);
        m_picture = in;
        m_newFrame = true;
        previous = std::move(m_sample);
        if (keep) {
            m_sample = sample;
            m_bits = data;
        } else {
            m_frame.swap(m_incoming);
            m_bits = m_frame.data();
        }
    }
    if (resized) NotifyEvent(EC_VIDEO_SIZE_CHANGED, MAKELONG(in.width, in.height), 0);
    Present();
    return S_OK;
}

// The frame is drawn as it comes, on the streaming thread, through a DC of the window (the
// conversion under the frame lock, so a paint of the window's thread after a resize is never
// overdrawn at the old size); a display that shows pixels hears of it. A window that is not
// visible paints the frame when it shows.
void VideoRendererFilter::Present() {
    HWND window = m_window.load();
    if (!window) return;
    if (!IsWindowVisible(window)) {
        if (!m_invalidated.exchange(true)) InvalidateRect(window, nullptr, FALSE);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_frameLock);
        HDC dc = GetDC(window);
        if (!dc) return;
        RECT client;
        GetClientRect(window, &client);
        PaintFrameLocked(dc, client);
        ReleaseDC(window, dc);
        ShownLocked(window);
    }
    display::SurfaceDrawn();
}

// Stopped, the renderer gives the sample back (the allocator may be decommitted or set
// anew) and shows its copy.
void VideoRendererFilter::OnStateChanged(FILTER_STATE, FILTER_STATE to) {
    if (to != State_Stopped) return;
    CComPtr<IMediaSample> sample;
    std::lock_guard<std::mutex> lock(m_frameLock);
    if (!m_sample) return;
    m_frame.assign(m_bits, m_bits + m_picture.Size());
    m_bits = m_frame.data();
    sample = std::move(m_sample);
}

size_t VideoRendererFilter::CurrentImage(BYTE* dib, size_t capacity) const {
    std::lock_guard<std::mutex> lock(m_frameLock);
    if (!m_picture.width || !m_bits) return 0;
    const Picture out = MakePicture(PixelFormat::Rgb32, m_picture.width, m_picture.height);
    const size_t size = sizeof(BITMAPINFOHEADER) + out.Size();
    if (!dib || capacity < size) return size;
    const BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), out.width, out.height, 1, 32, BI_RGB, DWORD(out.Size())};
    std::memcpy(dib, &header, sizeof header);
    ConvertPicture(m_picture, m_bits, out, dib + sizeof header);
    return size;
}

LRESULT CALLBACK VideoRendererFilter::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<VideoRendererFilter*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_PAINT && self) {
        self->Paint(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// WM_PAINT: the frame kept, drawn again (exposed, resized), or for the first time when it came
// while the window was hidden.
void VideoRendererFilter::Paint(HWND window) {
    m_invalidated = false;  // a frame arriving for a hidden window while this paints invalidates again
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    {
        std::lock_guard<std::mutex> lock(m_frameLock);
        if (dc) PaintFrameLocked(dc, client);
        ShownLocked(window);
    }
    EndPaint(window, &ps);
}

// Draws the latest frame scaled over the client area (nearest neighbour, as COLORONCOLOR),
// converted straight into the window's surface (frame lock held).
void VideoRendererFilter::PaintFrameLocked(HDC dc, const RECT& client) {
    const LONG width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0 || m_picture.width <= 0 || !m_bits) return;
    m_scaler.Prepare(m_picture, width, height);
    gdi::DrawRows(dc, client, [&](int y, int x, int n, uint32_t* pixels) {
        m_scaler.Read(m_bits, y, x, n, reinterpret_cast<BYTE*>(pixels));
    });
}

// The window has painted: the frame that came since its last paint counts as shown (frame lock
// held).
void VideoRendererFilter::ShownLocked(HWND window) {
    if (m_newFrame) ++m_shown;
    m_newFrame = false;
    PublishLocked(window);
}

// What the displays show of the video window: its picture size and the frames shown, told in
// the order the frames were counted (frame lock held).
void VideoRendererFilter::PublishLocked(HWND window) const {
    if (!window) return;
    VideoWindowInfo info;
    info.width = m_picture.width;
    info.height = m_picture.height;
    info.framesShown = m_shown.load();
    SetVideoWindowInfo(window, info);
}

}  // namespace platform::dshow
