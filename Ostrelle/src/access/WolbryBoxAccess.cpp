// CWolbryBoxAccess: the hardware access of the Wolbry USB box, whose tuner is an Xceive part.
#include "access/WolbryBoxAccess.h"

#include <algorithm>

#include "graph/Thread.h"

namespace {

constexpr BYTE kModeBlockRead = 0x38;
constexpr DWORD kTunerResetProperty = 25;
constexpr int kMaxPayload = 7;

// `count` bytes from `bytes`, most significant first.
DWORD BigEndian(const BYTE* bytes, int count)
{
    DWORD value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

const CWolbryBoxAccess::PieceMode CWolbryBoxAccess::kPieceModes[8] = {
    {0x21, 0, 1}, {0x29, 0, 2}, {0x31, 0, 3}, {0x39, 0, 4}, {0x07, 4, 1}, {0x0F, 4, 2}, {0x17, 4, 3}, {0x1F, 4, 4},
};

CWolbryBoxAccess::CWolbryBoxAccess() : CBoxAccess(Routines()) {}

const CBoxEncoder& CWolbryBoxAccess::Encoder()
{
    static const CBoxEncoder encoder(Routines());
    return encoder;
}

HRESULT CWolbryBoxAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    TRACE("I2C_Write(ucSlaveAddr = %d, iSubAddr = %d, ucData = %d) ", ucSlaveAddr, iSubAddr, ucData);
    return CBoxAccess::I2C_Write(ucSlaveAddr, iSubAddr, ucData);
}

HRESULT CWolbryBoxAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csBox);
    if (!buf) return E_POINTER;
    if (len < 1) return E_INVALIDARG;
    DWORD value = 0;
    const BOOL ok = m_property.QueryBoxValue(m_pFilter, buf[0] >> 1, kModeBlockRead, 0, &value);
    TRACE("Locked Data:%d\n", static_cast<int>(value));
    if (!ok) return E_FAIL;
    // A one-byte buffer (the card's address probe) takes the first byte read.
    if (len == 1) {
        buf[0] = static_cast<BYTE>(value >> 24);
    } else {
        buf[1] = static_cast<BYTE>(value >> 16);
    }
    return S_OK;
}

HRESULT CWolbryBoxAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csBox);
    if (!buf) return E_POINTER;
    TRACE("iWriteBytes = %d", len);
    if (len < 2) return S_OK;
    TRACE("Start Reset Tuner");
    const DWORD device = buf[0] >> 1;
    const BYTE* payload = buf + 2;
    int left = len - 2;
    bool failed = false;
    do {
        const int k = std::min(kMaxPayload, left);
        BYTE piece[kMaxPayload + 1];
        piece[0] = buf[1];
        std::copy_n(payload, k, piece + 1);
        const PieceMode& row = kPieceModes[k];
        TRACE("m_stuI2cData[bySendSize].bIndexMode:%d AddrLen = %d, DataLen = %d", row.bIndexMode, row.nRegisterBytes,
              row.nDataBytes);
        const DWORD reg = BigEndian(piece, row.nRegisterBytes);
        const DWORD value = BigEndian(piece + row.nRegisterBytes, row.nDataBytes);
        if (!m_property.SetBoxValue(m_pFilter, device, row.bIndexMode, reg, value)) failed = true;
        payload += k;
        left -= k;
    } while (left > 0);
    return failed ? E_FAIL : S_OK;
}

HRESULT CWolbryBoxAccess::ResetTuner(BOOL bOpen)
{
    CScopedLock lock(&m_csBox);
    TRACE("ResetXceive : bOpen = %d", bOpen);
    // bOpen releases the tuner, as on every access the Xceive loaders use; property 25 holds
    // it in reset with 1.
    return SetTunerReset(m_pFilter, bOpen != 0 ? 0 : 1) ? S_OK : E_FAIL;
}

BOOL CWolbryBoxAccess::SetTunerReset(IUnknown* pFilter, BYTE hold)
{
    return Routines().SetFilterProperty(pFilter, kTunerResetProperty, nullptr, 0, &hold, sizeof(hold));
}
