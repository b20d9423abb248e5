#include "access/KsPropertyAccess.h"

#include <cstring>

#include "access/Saa713xGpio.h"
#include "graph/Thread.h"

namespace {

// Instance and data lengths of the requests (see the header's table).
struct Layout {
    DWORD instance;
    DWORD data;
};
constexpr Layout kShort = {24, 48};
constexpr Layout kTransfer = {32, 56};
constexpr Layout kBlock = {280, 304};
constexpr Layout kBare = {16, 40};

constexpr DWORD kPayload = 24;
constexpr DWORD kSecond = 28;          // second DWORD of the payload
constexpr DWORD kTransferData = 32;    // the data byte of id 2
constexpr DWORD kBlockLength = 280;    // the length of id 6
constexpr int kBlockBytes = 256;       // the data field of id 6

// SAA713x registers.
constexpr DWORD kGpioMode = 0x1B0;
constexpr DWORD kGpioStatus = 0x1B4;
constexpr DWORD kVideoStatus = 0x11F;
constexpr DWORD kOptionRegister = 0x16C;
constexpr DWORD kTunerReset = 0x40000;  // GPIO line 18

// The one buffer of a request; what the table does not fill stays zero.
class CRequestBuffer {
public:
    CRequestBuffer() { std::memset(m_bytes, 0, sizeof(m_bytes)); }
    BYTE* Bytes() { return m_bytes; }
    void PutByte(DWORD at, BYTE value) { m_bytes[at] = value; }
    void PutDword(DWORD at, DWORD value) { std::memcpy(m_bytes + at, &value, sizeof(value)); }
    BYTE Byte(DWORD at) const { return m_bytes[at]; }
    DWORD Dword(DWORD at) const
    {
        DWORD value;
        std::memcpy(&value, m_bytes + at, sizeof(value));
        return value;
    }
    WORD Word(DWORD at) const
    {
        WORD value;
        std::memcpy(&value, m_bytes + at, sizeof(value));
        return value;
    }

private:
    alignas(8) BYTE m_bytes[kBlock.data];
};

HRESULT SetRequest(IKsPropertySet* pSet, DWORD id, const Layout& layout, CRequestBuffer& buffer)
{
    return pSet->Set(KSPROPSETID_Saa713xAccess, id, buffer.Bytes(), layout.instance, buffer.Bytes(), layout.data);
}

HRESULT GetRequest(IKsPropertySet* pSet, DWORD id, const Layout& layout, CRequestBuffer& buffer)
{
    DWORD returned = 0;
    return pSet->Get(KSPROPSETID_Saa713xAccess, id, buffer.Bytes(), layout.instance, buffer.Bytes(), layout.data,
                     &returned);
}

}  // namespace

CKsPropertyAccess::CKsPropertyAccess() = default;

CKsPropertyAccess::~CKsPropertyAccess() = default;

HRESULT CKsPropertyAccess::Init(IUnknown* pDevice, void*)
{
    if (!pDevice) return E_POINTER;
    m_pKsPropertySet.Release();
    return pDevice->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet));
}

HRESULT CKsPropertyAccess::Open(BYTE bOpen)
{
    if (!m_pKsPropertySet) return E_FAIL;
    CRequestBuffer buffer;
    buffer.PutByte(kPayload, bOpen);
    return SetRequest(m_pKsPropertySet, KSPROPERTY_SAA713X_OPEN, kShort, buffer);
}

HRESULT CKsPropertyAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    if (!pData) return E_POINTER;
    if (iSubAddr < 0) return E_INVALIDARG;
    CRequestBuffer buffer;
    buffer.PutByte(kPayload, ucSlaveAddr);
    buffer.PutDword(kSecond, static_cast<DWORD>(iSubAddr));
    HRESULT hr = GetRequest(m_pKsPropertySet, KSPROPERTY_SAA713X_I2C, kTransfer, buffer);
    if (FAILED(hr)) return hr;
    *pData = buffer.Byte(kTransferData);
    return S_OK;
}

HRESULT CKsPropertyAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    if (iSubAddr < 0) return E_INVALIDARG;
    CRequestBuffer buffer;
    buffer.PutByte(kPayload, ucSlaveAddr);
    buffer.PutDword(kSecond, static_cast<DWORD>(iSubAddr));
    buffer.PutByte(kTransferData, ucData);
    return SetRequest(m_pKsPropertySet, KSPROPERTY_SAA713X_I2C, kTransfer, buffer);
}

HRESULT CKsPropertyAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    if (!buf) return E_POINTER;
    if (len < 1 || len > kBlockBytes) return E_INVALIDARG;
    buf[0] = (buf[0] & 0xFE) + 1;
    CRequestBuffer buffer;
    std::memcpy(buffer.Bytes() + kPayload, buf, len);
    buffer.PutDword(kBlockLength, static_cast<DWORD>(len));
    HRESULT hr = GetRequest(m_pKsPropertySet, KSPROPERTY_SAA713X_I2C_BLOCK, kBlock, buffer);
    if (FAILED(hr)) return hr;
    std::memcpy(buf, buffer.Bytes() + kPayload, len);
    return S_OK;
}

HRESULT CKsPropertyAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    if (!buf) return E_POINTER;
    if (len < 2 || len > kBlockBytes) return E_INVALIDARG;
    buf[0] &= 0xFE;
    CRequestBuffer buffer;
    std::memcpy(buffer.Bytes() + kPayload, buf, len);
    buffer.PutDword(kBlockLength, static_cast<DWORD>(len));
    return SetRequest(m_pKsPropertySet, KSPROPERTY_SAA713X_I2C_BLOCK, kBlock, buffer);
}

HRESULT CKsPropertyAccess::SetOption(BYTE value)
{
    if (!m_pKsPropertySet) return E_FAIL;
    CRequestBuffer buffer;
    buffer.PutByte(kPayload, value);
    return SetRequest(m_pKsPropertySet, KSPROPERTY_SAA713X_OPTION, kShort, buffer);
}

HRESULT CKsPropertyAccess::GPIO_Read(DWORD* pValue)
{
    CScopedLock lock(&m_csRequest);
    if (!pValue) return E_POINTER;
    HRESULT hr = WriteRegister32(kGpioMode, 0x3000);
    if (hr != S_OK) return hr;
    hr = WriteRegister32(kGpioMode, 0x80007000);
    if (hr != S_OK) return hr;
    hr = ReadRegister32(kGpioStatus, pValue);
    if (hr != S_OK) return hr;
    return S_OK;
}

HRESULT CKsPropertyAccess::GPIO_Write(DWORD value, DWORD mask) { return CKsPropertyAccess::GPIO_WriteEx(value, mask, 0); }

HRESULT CKsPropertyAccess::GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs)
{
    CScopedLock lock(&m_csRequest);
    return Saa713xStrobedGpioWrite(this, value, mask, waitMs);
}

HRESULT CKsPropertyAccess::SetDword(DWORD id, DWORD value)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    CRequestBuffer buffer;
    buffer.PutDword(kPayload, value);
    return SetRequest(m_pKsPropertySet, id, kShort, buffer);
}

HRESULT CKsPropertyAccess::SetControl13(DWORD value) { return SetDword(KSPROPERTY_SAA713X_CONTROL13, value); }

HRESULT CKsPropertyAccess::SetControl14(DWORD value) { return SetDword(KSPROPERTY_SAA713X_CONTROL14, value); }

HRESULT CKsPropertyAccess::DoControl15()
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    CRequestBuffer buffer;
    return SetRequest(m_pKsPropertySet, KSPROPERTY_SAA713X_CONTROL15, kBare, buffer);
}

HRESULT CKsPropertyAccess::SetControl16(DWORD value) { return SetDword(KSPROPERTY_SAA713X_CONTROL16, value); }

// The reset line is a read-modify-write of both GPIO registers; it holds the request lock so
// that a GPIO write of another thread cannot fall between the read and the write back.
HRESULT CKsPropertyAccess::ResetTuner(BOOL bOpen)
{
    CScopedLock lock(&m_csRequest);
    return Saa713xDriveGpioLines(this, kTunerReset, bOpen ? kTunerReset : 0);
}

HRESULT CKsPropertyAccess::ReadBridgeReg(BYTE reg, BYTE* pValue)
{
    if (!pValue) return E_POINTER;
    DWORD value = 0;
    HRESULT hr = ReadRegister32(reg & ~3u, &value);
    if (hr == S_OK) *pValue = static_cast<BYTE>(value >> (8 * (reg & 3)));
    return hr;
}

HRESULT CKsPropertyAccess::ReadRegister32(DWORD addr, DWORD* pValue)
{
    if (!m_pKsPropertySet) return E_FAIL;
    if (!pValue) return E_POINTER;
    CRequestBuffer buffer;
    buffer.PutDword(kPayload, addr);
    HRESULT hr = GetRequest(m_pKsPropertySet, KSPROPERTY_SAA713X_REGISTER, kShort, buffer);
    if (FAILED(hr)) return hr;
    *pValue = buffer.Dword(kSecond);
    return S_OK;
}

HRESULT CKsPropertyAccess::WriteRegister32(DWORD addr, DWORD value)
{
    if (!m_pKsPropertySet) return E_FAIL;
    CRequestBuffer buffer;
    buffer.PutDword(kPayload, addr);
    buffer.PutDword(kSecond, value);
    return SetRequest(m_pKsPropertySet, KSPROPERTY_SAA713X_REGISTER, kShort, buffer);
}

HRESULT CKsPropertyAccess::Reserved23(DWORD*) { return E_FAIL; }

HRESULT CKsPropertyAccess::Reserved24(DWORD) { return E_FAIL; }

HRESULT CKsPropertyAccess::Reserved25(DWORD*) { return E_FAIL; }

HRESULT CKsPropertyAccess::GPIO_SetTVFM(DWORD) { return E_FAIL; }

HRESULT CKsPropertyAccess::Reserved27(DWORD* pValue)
{
    if (!m_pKsPropertySet || !pValue) return E_POINTER;
    DWORD value = 0;
    HRESULT hr = ReadRegister32(kVideoStatus, &value);
    *pValue = (hr == S_OK && (value & 1)) ? 1 : 0;
    return hr;
}

HRESULT CKsPropertyAccess::Reserved28(BOOL flag)
{
    if (!m_pKsPropertySet) return E_FAIL;
    return WriteRegister32(kOptionRegister, flag ? 0xBB : 0xFF);
}
