// IStream over the bytes of one element: the streams of a storage and the memory streams.
// Internal to the platform library.
#pragma once

#include <memory>
#include <mutex>

#include "CompoundFile.h"
#include "objbase.h"
#include "platform/comobject.h"

namespace platform::com {

// What a stream needs of whatever holds its bytes.
class StreamHost {
public:
    virtual ~StreamHost() = default;
    // The lock over the bytes (and everything else of the same file).
    virtual std::mutex& Mutex() = 0;
    // S_OK while the stream may be used; STG_E_REVERTED once its storage was released or reverted.
    virtual HRESULT CheckLive() = 0;
    // Called (lock held) after the bytes changed.
    virtual HRESULT Changed() = 0;
};

class ByteStream : public ComObject<IStream> {
public:
    // `node` holds the bytes; `mode` the STGM access bits the stream was opened with.
    ByteStream(std::shared_ptr<cfb::Node> node, DWORD mode, std::unique_ptr<StreamHost> host);

    STDMETHODIMP Read(void* pv, ULONG cb, ULONG* pcbRead) override;
    STDMETHODIMP Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
    STDMETHODIMP Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override;
    STDMETHODIMP SetSize(ULARGE_INTEGER libNewSize) override;
    STDMETHODIMP CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override;
    STDMETHODIMP Commit(DWORD grfCommitFlags) override;
    STDMETHODIMP Revert() override;
    STDMETHODIMP Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;

protected:
    ~ByteStream() override;

private:
    bool CanRead() const { return (m_mode & 3) != STGM_WRITE; }
    bool CanWrite() const { return (m_mode & 3) == STGM_WRITE || (m_mode & 3) == STGM_READWRITE; }

    std::shared_ptr<cfb::Node> m_node;
    DWORD m_mode;
    std::unique_ptr<StreamHost> m_host;
    uint64_t m_position = 0;
};

}  // namespace platform::com
