// CKesh713xAccess: the hardware access of the "713x BDA Analog Capture" card.
#include "access/Kesh713xAccess.h"

#include <cstring>

#include "access/Saa713xGpio.h"
#include "graph/Thread.h"

namespace {

constexpr BYTE kRawTransfer = 0xFF;
constexpr int kBlockBytes = 256;

// SAA713x registers.
constexpr DWORD kGpioMode = 0x1B0;
constexpr DWORD kGpioStatus = 0x1B4;
constexpr DWORD kVideoStatus = 0x11F;
constexpr DWORD kStrobe = 0x80000000;

// Mode words: lines 12 and 13 driven after every write; lines 12 to 17 for the latched read.
constexpr DWORD kModeIdle = 0x00003000;
constexpr DWORD kModeLatched = 0x0003F000;

// GPIO lines of slots 23 to 26.
constexpr DWORD kLine23 = 0x00800000;
constexpr DWORD kLines22And17 = 0x00420000;
constexpr DWORD kLines22And17And14 = 0x00424000;
constexpr DWORD kLine21 = 0x00200000;
constexpr DWORD kLine14 = 0x00004000;

// Records start zeroed, padding included: the fields not filled travel as zero.
template <class Record>
void Clear(Record& record)
{
    std::memset(&record, 0, sizeof(record));
}

}  // namespace

CKesh713xAccess::CKesh713xAccess() = default;

CKesh713xAccess::~CKesh713xAccess() = default;

HRESULT CKesh713xAccess::Init(IUnknown* pFilter, void*)
{
    if (!pFilter) return E_POINTER;
    m_pKsPropertySet.Release();
    return pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet));
}

HRESULT CKesh713xAccess::Open(BYTE) { return S_OK; }

HRESULT CKesh713xAccess::SetOption(BYTE) { return S_OK; }

// One request on the I2C set: a Get that reads one byte into pRead when pRead is given, else a
// Set that writes `count` bytes from pWrite.
HRESULT CKesh713xAccess::I2CRequest(BYTE ucAddress, BYTE* pSubAddress, BYTE* pRead, const BYTE* pWrite, DWORD count)
{
    KESH_I2C_TRANSFER transfer;
    KESH_I2C_DATA data;
    Clear(transfer);
    Clear(data);
    transfer.ucAddress = ucAddress;
    transfer.pSubAddress = pSubAddress;
    transfer.dwSubAddressLength = 1;
    transfer.pData = pRead;
    transfer.dwDataLength = 1;
    if (pRead) {
        DWORD returned = 0;
        return m_pKsPropertySet->Get(KSPROPSETID_Kesh713xI2C, 0, &transfer, sizeof(transfer), &data, sizeof(data),
                                     &returned);
    }
    data.pWrite = pWrite;
    data.dwWriteLength = count;
    return m_pKsPropertySet->Set(KSPROPSETID_Kesh713xI2C, 0, &transfer, sizeof(transfer), &data, sizeof(data));
}

HRESULT CKesh713xAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    if (!pData) return E_POINTER;
    if (iSubAddr < 0) return E_INVALIDARG;
    BYTE subAddress = static_cast<BYTE>(iSubAddr);
    HRESULT hr = I2CRequest(ucSlaveAddr, &subAddress, pData, nullptr, 0);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT CKesh713xAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    if (iSubAddr < 0) return E_INVALIDARG;
    BYTE subAddress = static_cast<BYTE>(iSubAddr);
    return I2CRequest(ucSlaveAddr, &subAddress, nullptr, &ucData, 1);
}

// A raw read of one byte from the device whose read address is in buf[0]; the byte replaces
// buf[0]. len is not used.
HRESULT CKesh713xAccess::I2C_ReadBlock(BYTE* buf, int)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    if (!buf) return E_POINTER;
    HRESULT hr = I2CRequest(kRawTransfer, buf, buf, nullptr, 0);
    return FAILED(hr) ? hr : S_OK;
}

// A raw write of buf[1] to buf[len-1] to the device address in buf[0], sent as it stands.
HRESULT CKesh713xAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    if (!buf) return E_FAIL;
    if (len < 1 || len > kBlockBytes) return E_INVALIDARG;
    BYTE address = buf[0];
    return I2CRequest(kRawTransfer, &address, nullptr, buf + 1, static_cast<DWORD>(len - 1));
}

HRESULT CKesh713xAccess::ReadRegister32(DWORD addr, DWORD* pValue)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    if (!pValue) return E_POINTER;
    KESH_REGISTER record;
    Clear(record);
    record.dwAddress = addr;
    DWORD value = 0;
    DWORD returned = 0;
    HRESULT hr =
        m_pKsPropertySet->Get(KSPROPSETID_Kesh713xRegister, 0, &record, sizeof(record), &value, sizeof(value), &returned);
    if (FAILED(hr)) {
        OutputDebugStringA("ERROOR");
        return hr;
    }
    *pValue = value;
    return S_OK;
}

HRESULT CKesh713xAccess::WriteRegister32(DWORD addr, DWORD value)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_FAIL;
    KESH_REGISTER record;
    Clear(record);
    record.dwAddress = addr;
    HRESULT hr = m_pKsPropertySet->Set(KSPROPSETID_Kesh713xRegister, 0, &record, sizeof(record), &value, sizeof(value));
    return FAILED(hr) ? hr : S_OK;
}

// Mode word with the strobe clear, then set (the rising strobe latches the pins), then the
// status register.
HRESULT CKesh713xAccess::ReadLatchedWord(DWORD mode, DWORD* pValue)
{
    CScopedLock lock(&m_csRequest);
    if (!pValue) return E_POINTER;
    HRESULT hr = WriteRegister32(kGpioMode, mode);
    if (hr != S_OK) return hr;
    hr = WriteRegister32(kGpioMode, mode | kStrobe);
    if (hr != S_OK) return hr;
    return ReadRegister32(kGpioStatus, pValue);
}

HRESULT CKesh713xAccess::Reserved8(DWORD, DWORD* pValue) { return ReadLatchedWord(kModeLatched, pValue); }

HRESULT CKesh713xAccess::GPIO_Read(DWORD* pValue) { return ReadLatchedWord(kModeIdle, pValue); }

HRESULT CKesh713xAccess::GPIO_Write(DWORD value, DWORD mask) { return CKesh713xAccess::GPIO_WriteEx(value, mask, 0); }

HRESULT CKesh713xAccess::GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs)
{
    CScopedLock lock(&m_csRequest);
    return Saa713xStrobedGpioWrite(this, value, mask, waitMs);
}

// Releases `lines` (keeping the other lines' directions), makes the strobe rise, reads the
// status register and answers extract(status) in *pValue.
HRESULT CKesh713xAccess::SampleLines(DWORD lines, DWORD* pValue, DWORD (*extract)(DWORD status))
{
    CScopedLock lock(&m_csRequest);
    if (!pValue) return E_POINTER;
    DWORD mode = 0;
    HRESULT hr = ReadRegister32(kGpioMode, &mode);
    if (hr != S_OK) return hr;
    if (mode & kStrobe) {
        DWORD released = mode & ~(kStrobe | lines);
        hr = WriteRegister32(kGpioMode, released);
        if (hr != S_OK) return hr;
        hr = WriteRegister32(kGpioMode, released | kStrobe);
    } else {
        hr = WriteRegister32(kGpioMode, (mode & ~lines) | kStrobe);
    }
    if (hr != S_OK) return hr;
    DWORD status = 0;
    hr = ReadRegister32(kGpioStatus, &status);
    if (hr != S_OK) return hr;
    *pValue = extract(status);
    return S_OK;
}

// Drives `lines` to `levels`, keeping every other line as it is.
HRESULT CKesh713xAccess::DriveLines(DWORD lines, DWORD levels)
{
    CScopedLock lock(&m_csRequest);
    return Saa713xDriveGpioLines(this, lines, levels);
}

HRESULT CKesh713xAccess::Reserved23(DWORD* pValue)
{
    return SampleLines(kLine23, pValue, [](DWORD status) -> DWORD { return (status >> 23) & 1; });
}

HRESULT CKesh713xAccess::Reserved24(DWORD bits)
{
    DWORD levels = ((bits & 1) << 22) | (((bits >> 1) & 1) << 17) | kLine14;
    return DriveLines(kLines22And17And14, levels);
}

HRESULT CKesh713xAccess::Reserved25(DWORD* pValue)
{
    return SampleLines(kLines22And17, pValue,
                       [](DWORD status) -> DWORD { return ((status >> 22) & 1) | (((status >> 17) & 1) << 1); });
}

HRESULT CKesh713xAccess::GPIO_SetTVFM(DWORD mode)
{
    return DriveLines(kLine21, mode == 0 ? kLine21 : 0);
}

HRESULT CKesh713xAccess::Reserved27(DWORD* pValue)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet || !pValue) return E_POINTER;
    DWORD value = 0;
    HRESULT hr = ReadRegister32(kVideoStatus, &value);
    *pValue = (hr == S_OK && (value & 1)) ? 1 : 0;
    return hr;
}
