// CMpeg2BoxAccess: the hardware access of the USB MPEG-2 encoder box.
#include "access/Mpeg2BoxAccess.h"

#include "graph/Thread.h"

namespace {

constexpr BYTE kModeRawRead = 33;
constexpr BYTE kModeTunerWrite = 10;
constexpr int kTunerWriteLength = 5;

}  // namespace

CMpeg2BoxAccess::CMpeg2BoxAccess() : CBoxAccess(Routines()) {}

const CBoxEncoder& CMpeg2BoxAccess::Encoder()
{
    static const CBoxEncoder encoder(Routines());
    return encoder;
}

HRESULT CMpeg2BoxAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csBox);
    if (!buf) return E_POINTER;
    if (len < 1) return E_INVALIDARG;
    DWORD value = 0;
    if (!m_property.QueryBoxValue(m_pFilter, buf[0] >> 1, kModeRawRead, 0, &value)) return E_FAIL;
    buf[0] = static_cast<BYTE>(value);
    return S_OK;
}

HRESULT CMpeg2BoxAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csBox);
    if (!buf) return E_POINTER;
    if (len < kTunerWriteLength) return E_INVALIDARG;
    const DWORD reg = buf[1] * 256u + buf[2];
    const DWORD value = buf[3] * 256u + buf[4];
    return m_property.SetBoxValue(m_pFilter, buf[0] >> 1, kModeTunerWrite, reg, value) ? S_OK : E_FAIL;
}
