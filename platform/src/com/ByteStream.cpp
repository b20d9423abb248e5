// IStream over the bytes of one element.
#include "ByteStream.h"

#include <algorithm>
#include <cstring>

#include "ComText.h"

namespace platform::com {

namespace {
// Streams stay within what a version 3 compound file can hold.
constexpr uint64_t kMaxStreamSize = 0x7FFFFFFF;
}  // namespace

ByteStream::ByteStream(std::shared_ptr<cfb::Node> node, DWORD mode, std::unique_ptr<StreamHost> host)
    : m_node(std::move(node)), m_mode(mode), m_host(std::move(host)) {}

ByteStream::~ByteStream() {
    std::lock_guard<std::mutex> lock(m_host->Mutex());
    m_node->opened = false;
}

STDMETHODIMP ByteStream::Read(void* pv, ULONG cb, ULONG* pcbRead) {
    if (pcbRead) *pcbRead = 0;
    if (!pv && cb) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> lock(m_host->Mutex());
    if (HRESULT hr = m_host->CheckLive(); FAILED(hr)) return hr;
    if (!CanRead()) return STG_E_ACCESSDENIED;
    const auto& data = m_node->data;
    uint64_t take = m_position < data.size() ? std::min<uint64_t>(cb, data.size() - m_position) : 0;
    if (take) std::memcpy(pv, data.data() + m_position, size_t(take));
    m_position += take;
    if (pcbRead) *pcbRead = ULONG(take);
    return S_OK;
}

STDMETHODIMP ByteStream::Write(const void* pv, ULONG cb, ULONG* pcbWritten) {
    if (pcbWritten) *pcbWritten = 0;
    if (!pv && cb) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> lock(m_host->Mutex());
    if (HRESULT hr = m_host->CheckLive(); FAILED(hr)) return hr;
    if (!CanWrite()) return STG_E_ACCESSDENIED;
    if (cb == 0) return S_OK;
    if (m_position + cb > kMaxStreamSize) return STG_E_MEDIUMFULL;
    auto& data = m_node->data;
    if (data.size() < m_position + cb) data.resize(size_t(m_position + cb));
    std::memcpy(data.data() + m_position, pv, cb);
    m_position += cb;
    if (pcbWritten) *pcbWritten = cb;
    return m_host->Changed();
}

STDMETHODIMP ByteStream::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) {
    std::lock_guard<std::mutex> lock(m_host->Mutex());
    if (HRESULT hr = m_host->CheckLive(); FAILED(hr)) return hr;
    int64_t base;
    switch (dwOrigin) {
        case STREAM_SEEK_SET: base = 0; break;
        case STREAM_SEEK_CUR: base = int64_t(m_position); break;
        case STREAM_SEEK_END: base = int64_t(m_node->data.size()); break;
        default: return STG_E_INVALIDFUNCTION;
    }
    int64_t move = dlibMove.QuadPart;
    // base is never negative, so -base cannot overflow where -move could (the most negative move).
    if (move < -base || (move > 0 && uint64_t(move) > kMaxStreamSize)) return STG_E_INVALIDFUNCTION;
    m_position = uint64_t(base + move);
    if (plibNewPosition) plibNewPosition->QuadPart = m_position;
    return S_OK;
}

STDMETHODIMP ByteStream::SetSize(ULARGE_INTEGER libNewSize) {
    std::lock_guard<std::mutex> lock(m_host->Mutex());
    if (HRESULT hr = m_host->CheckLive(); FAILED(hr)) return hr;
    if (!CanWrite()) return STG_E_ACCESSDENIED;
    if (libNewSize.QuadPart > kMaxStreamSize) return STG_E_MEDIUMFULL;
    if (m_node->data.size() == libNewSize.QuadPart) return S_OK;
    m_node->data.resize(size_t(libNewSize.QuadPart));
    return m_host->Changed();
}

STDMETHODIMP ByteStream::CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                ULARGE_INTEGER* pcbWritten) {
    if (pcbRead) pcbRead->QuadPart = 0;
    if (pcbWritten) pcbWritten->QuadPart = 0;
    if (!pstm) return STG_E_INVALIDPOINTER;
    uint64_t copied = 0, written = 0;
    std::vector<uint8_t> chunk(4096);
    HRESULT hr = S_OK;
    // Chunk by chunk, so the target may be this very stream without holding the lock across.
    while (copied < cb.QuadPart) {
        ULONG want = ULONG(std::min<uint64_t>(chunk.size(), cb.QuadPart - copied)), got = 0, put = 0;
        if (FAILED(hr = Read(chunk.data(), want, &got)) || got == 0) break;
        copied += got;
        hr = pstm->Write(chunk.data(), got, &put);
        written += put;
        if (FAILED(hr) || put < got) break;
    }
    if (pcbRead) pcbRead->QuadPart = copied;
    if (pcbWritten) pcbWritten->QuadPart = written;
    return FAILED(hr) ? hr : S_OK;
}

STDMETHODIMP ByteStream::Commit(DWORD) {
    std::lock_guard<std::mutex> lock(m_host->Mutex());
    return m_host->CheckLive();
}

STDMETHODIMP ByteStream::Revert() {
    std::lock_guard<std::mutex> lock(m_host->Mutex());
    return m_host->CheckLive();
}

STDMETHODIMP ByteStream::Stat(STATSTG* pstatstg, DWORD grfStatFlag) {
    if (!pstatstg) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> lock(m_host->Mutex());
    if (HRESULT hr = m_host->CheckLive(); FAILED(hr)) return hr;
    std::memset(pstatstg, 0, sizeof *pstatstg);
    if (!(grfStatFlag & STATFLAG_NONAME)) {
        pstatstg->pwcsName = TaskMemCopy(platform::Utf16ToWide(m_node->name));
        if (!pstatstg->pwcsName) return STG_E_INSUFFICIENTMEMORY;
    }
    pstatstg->type = STGTY_STREAM;
    pstatstg->cbSize.QuadPart = m_node->data.size();
    pstatstg->grfMode = m_mode;
    return S_OK;
}

}  // namespace platform::com
