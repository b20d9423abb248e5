// Memory streams: a ByteStream whose bytes belong to it alone.
#include "ByteStream.h"
#include "platform/comservices.h"

namespace platform {

namespace {
class MemoryHost : public com::StreamHost {
public:
    std::mutex& Mutex() override { return m_mutex; }
    HRESULT CheckLive() override { return S_OK; }
    HRESULT Changed() override { return S_OK; }

private:
    std::mutex m_mutex;
};
}  // namespace

HRESULT CreateMemoryStream(IStream** stream) {
    if (!stream) return E_POINTER;
    return CreateComObject<com::ByteStream>(IID_IStream, reinterpret_cast<void**>(stream),
                                            std::make_shared<cfb::Node>(), DWORD(STGM_READWRITE),
                                            std::make_unique<MemoryHost>());
}

}  // namespace platform
