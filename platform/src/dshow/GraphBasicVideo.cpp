// The filter graph's basic-video properties.
#include "GraphBasicVideo.h"

#include <cstring>

#include "Inject.h"
#include "StoreLocked.h"
#include "vfwmsgs.h"

namespace platform::dshow {

HRESULT GraphBasicVideo::Video(VIDEOINFOHEADER* format) {
    return RendererFormat(format) ? S_OK : VFW_E_NOT_CONNECTED;
}

// A rectangle that was never set stands for the whole video.
HRESULT GraphBasicVideo::GetRect(const Rect& rect, long* left, long* top, long* width, long* height) {
    if (!left || !top || !width || !height) return E_POINTER;
    VIDEOINFOHEADER vih;
    HRESULT hr = Video(&vih);
    if (FAILED(hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    if (rect.isDefault) {
        *left = *top = 0;
        *width = vih.bmiHeader.biWidth;
        *height = vih.bmiHeader.biHeight < 0 ? -vih.bmiHeader.biHeight : vih.bmiHeader.biHeight;
    } else {
        *left = rect.left;
        *top = rect.top;
        *width = rect.width;
        *height = rect.height;
    }
    return S_OK;
}

HRESULT GraphBasicVideo::SetRect(Rect* rect, long left, long top, long width, long height) {
    if (width <= 0 || height <= 0) return E_INVALIDARG;
    VIDEOINFOHEADER vih;
    HRESULT hr = Video(&vih);
    if (FAILED(hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    *rect = Rect{false, left, top, width, height};
    return S_OK;
}

HRESULT GraphBasicVideo::PutPart(Rect* rect, long Rect::*field, long value) {
    long l, t, w, h;
    HRESULT hr = GetRect(*rect, &l, &t, &w, &h);
    if (FAILED(hr)) return hr;
    Rect changed{false, l, t, w, h};
    changed.*field = value;
    return SetRect(rect, changed.left, changed.top, changed.width, changed.height);
}

HRESULT GraphBasicVideo::GetPart(const Rect& rect, long Rect::*field, long* value) {
    if (!value) return E_POINTER;
    Rect current;
    HRESULT hr = GetRect(rect, &current.left, &current.top, &current.width, &current.height);
    if (SUCCEEDED(hr)) *value = current.*field;
    return hr;
}

STDMETHODIMP GraphBasicVideo::get_AvgTimePerFrame(REFTIME* pAvgTimePerFrame) {
    if (!pAvgTimePerFrame) return E_POINTER;
    VIDEOINFOHEADER vih;
    HRESULT hr = Video(&vih);
    if (SUCCEEDED(hr)) *pAvgTimePerFrame = double(vih.AvgTimePerFrame) / 10000000.0;
    return hr;
}

STDMETHODIMP GraphBasicVideo::get_BitRate(long* pBitRate) {
    if (!pBitRate) return E_POINTER;
    VIDEOINFOHEADER vih;
    HRESULT hr = Video(&vih);
    if (SUCCEEDED(hr)) *pBitRate = long(vih.dwBitRate);
    return hr;
}

STDMETHODIMP GraphBasicVideo::get_BitErrorRate(long* pBitErrorRate) {
    if (!pBitErrorRate) return E_POINTER;
    VIDEOINFOHEADER vih;
    HRESULT hr = Video(&vih);
    if (SUCCEEDED(hr)) *pBitErrorRate = long(vih.dwBitErrorRate);
    return hr;
}

STDMETHODIMP GraphBasicVideo::GetVideoSize(long* pWidth, long* pHeight) {
    if (!pWidth || !pHeight) return E_POINTER;
    VIDEOINFOHEADER vih;
    HRESULT hr = Video(&vih);
    if (FAILED(hr)) return hr;
    *pWidth = vih.bmiHeader.biWidth;
    *pHeight = vih.bmiHeader.biHeight < 0 ? -vih.bmiHeader.biHeight : vih.bmiHeader.biHeight;
    return S_OK;
}

STDMETHODIMP GraphBasicVideo::get_VideoWidth(long* pVideoWidth) {
    long height;
    return pVideoWidth ? GetVideoSize(pVideoWidth, &height) : E_POINTER;
}

STDMETHODIMP GraphBasicVideo::get_VideoHeight(long* pVideoHeight) {
    long width;
    return pVideoHeight ? GetVideoSize(&width, pVideoHeight) : E_POINTER;
}

STDMETHODIMP GraphBasicVideo::put_SourceLeft(long v) { return PutPart(&m_source, &Rect::left, v); }
STDMETHODIMP GraphBasicVideo::get_SourceLeft(long* v) { return GetPart(m_source, &Rect::left, v); }
STDMETHODIMP GraphBasicVideo::put_SourceWidth(long v) { return PutPart(&m_source, &Rect::width, v); }
STDMETHODIMP GraphBasicVideo::get_SourceWidth(long* v) { return GetPart(m_source, &Rect::width, v); }
STDMETHODIMP GraphBasicVideo::put_SourceTop(long v) { return PutPart(&m_source, &Rect::top, v); }
STDMETHODIMP GraphBasicVideo::get_SourceTop(long* v) { return GetPart(m_source, &Rect::top, v); }
STDMETHODIMP GraphBasicVideo::put_SourceHeight(long v) { return PutPart(&m_source, &Rect::height, v); }
STDMETHODIMP GraphBasicVideo::get_SourceHeight(long* v) { return GetPart(m_source, &Rect::height, v); }
STDMETHODIMP GraphBasicVideo::put_DestinationLeft(long v) { return PutPart(&m_destination, &Rect::left, v); }
STDMETHODIMP GraphBasicVideo::get_DestinationLeft(long* v) { return GetPart(m_destination, &Rect::left, v); }
STDMETHODIMP GraphBasicVideo::put_DestinationWidth(long v) { return PutPart(&m_destination, &Rect::width, v); }
STDMETHODIMP GraphBasicVideo::get_DestinationWidth(long* v) { return GetPart(m_destination, &Rect::width, v); }
STDMETHODIMP GraphBasicVideo::put_DestinationTop(long v) { return PutPart(&m_destination, &Rect::top, v); }
STDMETHODIMP GraphBasicVideo::get_DestinationTop(long* v) { return GetPart(m_destination, &Rect::top, v); }
STDMETHODIMP GraphBasicVideo::put_DestinationHeight(long v) { return PutPart(&m_destination, &Rect::height, v); }
STDMETHODIMP GraphBasicVideo::get_DestinationHeight(long* v) { return GetPart(m_destination, &Rect::height, v); }

STDMETHODIMP GraphBasicVideo::SetSourcePosition(long Left, long Top, long Width, long Height) {
    return SetRect(&m_source, Left, Top, Width, Height);
}
STDMETHODIMP GraphBasicVideo::GetSourcePosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) {
    return GetRect(m_source, pLeft, pTop, pWidth, pHeight);
}
STDMETHODIMP GraphBasicVideo::SetDefaultSourcePosition() { return StoreLocked(m_lock, std::tie(m_source), Rect()); }
STDMETHODIMP GraphBasicVideo::SetDestinationPosition(long Left, long Top, long Width, long Height) {
    return SetRect(&m_destination, Left, Top, Width, Height);
}
STDMETHODIMP GraphBasicVideo::GetDestinationPosition(long* pLeft, long* pTop, long* pWidth, long* pHeight) {
    return GetRect(m_destination, pLeft, pTop, pWidth, pHeight);
}
STDMETHODIMP GraphBasicVideo::SetDefaultDestinationPosition() {
    return StoreLocked(m_lock, std::tie(m_destination), Rect());
}

STDMETHODIMP GraphBasicVideo::GetVideoPaletteEntries(long, long, long* pRetrieved, long*) {
    if (pRetrieved) *pRetrieved = 0;
    return VFW_E_NO_PALETTE_AVAILABLE;
}

STDMETHODIMP GraphBasicVideo::GetCurrentImage(long* pBufferSize, long* pDIBImage) {
    if (!pBufferSize) return E_POINTER;
    HRESULT hr;
    if (Injected("IBasicVideo::GetCurrentImage", E_FAIL, &hr)) return hr;
    VIDEOINFOHEADER vih;
    hr = Video(&vih);
    if (FAILED(hr)) return hr;
    // The size alone copies nothing; the frame is written straight into the caller's buffer.
    auto* target = reinterpret_cast<BYTE*>(pDIBImage);
    const size_t capacity = pDIBImage && *pBufferSize > 0 ? size_t(*pBufferSize) : 0;
    size_t needed = RendererImage(target, capacity);
    if (!needed) {  // no frame yet: a black picture of the connection's size
        BITMAPINFOHEADER header = vih.bmiHeader;
        header.biSize = sizeof(BITMAPINFOHEADER);
        header.biSizeImage = DIBSIZE(header);
        needed = sizeof(header) + header.biSizeImage;
        if (target && capacity >= needed) {
            std::memcpy(target, &header, sizeof(header));
            std::memset(target + sizeof(header), 0, header.biSizeImage);
        }
    }
    if (pDIBImage && capacity < needed) return E_OUTOFMEMORY;
    *pBufferSize = long(needed);
    return S_OK;
}

STDMETHODIMP GraphBasicVideo::IsUsingDefaultSource() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_source.isDefault ? S_OK : S_FALSE;
}

STDMETHODIMP GraphBasicVideo::IsUsingDefaultDestination() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_destination.isDefault ? S_OK : S_FALSE;
}

}  // namespace platform::dshow
