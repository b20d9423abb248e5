// Memory streams: a ByteStream whose bytes belong to it alone, and the stream over a global
// memory block.
#include <cstring>

#include "ByteStream.h"
#include "objbase.h"
#include "platform/comservices.h"

namespace platform {

namespace {
// A global memory block freed with the last holder, unless given back first.
struct GlobalBlock {
    HGLOBAL handle = nullptr;
    ~GlobalBlock() {
        if (handle) GlobalFree(handle);
    }
};

class MemoryHost : public com::StreamHost {
public:
    explicit MemoryHost(std::shared_ptr<GlobalBlock> block) : m_block(std::move(block)) {}
    std::mutex& Mutex() override { return m_mutex; }
    HRESULT CheckLive() override { return S_OK; }
    HRESULT Changed() override { return S_OK; }

private:
    std::mutex m_mutex;
    std::shared_ptr<GlobalBlock> m_block;
};

HRESULT CreateStream(std::shared_ptr<cfb::Node> node, std::shared_ptr<GlobalBlock> block, IStream** stream) {
    return CreateComObject<com::ByteStream>(IID_IStream, reinterpret_cast<void**>(stream), std::move(node),
                                            DWORD(STGM_READWRITE), std::make_unique<MemoryHost>(std::move(block)));
}
}  // namespace

HRESULT CreateMemoryStream(IStream** stream) {
    if (!stream) return E_POINTER;
    return CreateStream(std::make_shared<cfb::Node>(), nullptr, stream);
}

}  // namespace platform

HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm) {
    if (!ppstm) return E_INVALIDARG;
    *ppstm = nullptr;
    auto node = std::make_shared<platform::cfb::Node>();
    if (hGlobal) {
        const auto* bytes = static_cast<const uint8_t*>(GlobalLock(hGlobal));
        if (!bytes) return E_INVALIDARG;
        node->data.assign(bytes, bytes + GlobalSize(hGlobal));
        GlobalUnlock(hGlobal);
    }
    auto block = std::make_shared<platform::GlobalBlock>();
    if (fDeleteOnRelease) block->handle = hGlobal;
    const HRESULT hr = platform::CreateStream(std::move(node), block, ppstm);
    if (FAILED(hr)) block->handle = nullptr;  // the caller's still
    return hr;
}
