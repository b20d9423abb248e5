// CGrabberCallback: the station's receiver of grabbed frames (ISampleGrabberCB, buffer method).
#include "graph/GrabberCallback.h"

#include <dibsize.h>

#include <cstring>
#include <string>
#include <vector>

#include "graph/BitmapFile.h"

CGrabberCallback::CGrabberCallback() {
    std::memset(&m_bih, 0, sizeof(m_bih));
    std::memset(m_szSnapshotPath, 0, sizeof(m_szSnapshotPath));
}

STDMETHODIMP CGrabberCallback::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr) return E_POINTER;
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, IID_ISampleGrabberCB)) {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CGrabberCallback::AddRef() {
    return m_nRefs.fetch_add(1, std::memory_order_relaxed) + 1;
}

STDMETHODIMP_(ULONG) CGrabberCallback::Release() {
    const ULONG left = m_nRefs.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP CGrabberCallback::SampleCB(double, IMediaSample*) {
    return S_OK;
}

STDMETHODIMP CGrabberCallback::BufferCB(double, BYTE* pBuffer, long BufferLen) {
    BITMAPINFOHEADER format;
    std::vector<BYTE> info;
    std::string path;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_bSnapshotPending) return S_OK;
        format = m_bih;
        info = m_info;
        path = m_szSnapshotPath;
    }
    const DWORD imageSize = DibImageSize(format);
    if (pBuffer == nullptr || imageSize == 0 || BufferLen < 0 || static_cast<DWORD>(BufferLen) < imageSize) return S_OK;
    if (info.empty()) {
        OutputDebugStringA(("CGrabberCallback::BufferCB - the video format gives no colour table or bit masks for "
                            "its frames; " + path + " is not written\n").c_str());
    } else if (!WriteBitmap(path.c_str(), pBuffer, imageSize, info)) {
        OutputDebugStringA(("CGrabberCallback::BufferCB - cannot write " + path + "\n").c_str());
    }
    std::lock_guard<std::mutex> lock(m_lock);
    m_bSnapshotPending = FALSE;
    return S_OK;
}

// The frame behind the format's header and its colour table or masks, as one packed DIB for the
// BMP writer.
BOOL CGrabberCallback::WriteBitmap(const char* path, const BYTE* image, DWORD imageSize, std::vector<BYTE> info) {
    BITMAPINFOHEADER header;
    std::memcpy(&header, info.data(), sizeof(header));
    header.biSizeImage = imageSize;
    std::memcpy(info.data(), &header, sizeof(header));
    info.insert(info.end(), image, image + imageSize);
    return WriteBitmapFile(path, info.data(), DWORD(info.size()));
}

void CGrabberCallback::SetVideoFormat(const BITMAPINFOHEADER* bih, DWORD size) {
    if (bih == nullptr || size < sizeof(BITMAPINFOHEADER)) return;
    const BYTE* block = reinterpret_cast<const BYTE*>(bih);
    // Empty when the colour table or masks the header asks for do not lie inside the block.
    const DWORD infoSize = DibPixelOffset(block, size);
    std::lock_guard<std::mutex> lock(m_lock);
    std::memcpy(&m_bih, bih, sizeof(m_bih));
    m_info.assign(block, block + infoSize);
}

BOOL CGrabberCallback::RequestSnapshot(const char* path) {
    if (path == nullptr || std::strlen(path) >= MAX_PATH) return FALSE;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_bSnapshotPending) return FALSE;
    std::strcpy(m_szSnapshotPath, path);
    m_bSnapshotPending = TRUE;
    return TRUE;
}

BOOL CGrabberCallback::IsSnapshotPending() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_bSnapshotPending;
}

BITMAPINFOHEADER CGrabberCallback::GetVideoFormat() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_bih;
}
