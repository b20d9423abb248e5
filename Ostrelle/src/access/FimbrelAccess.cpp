// CFimbrelAccess: the hardware access of the Fimbrel card.
#include "access/FimbrelAccess.h"

#include <algorithm>
#include <cstring>

#include "graph/Thread.h"

namespace {

constexpr DWORD kWriteRecord = 0;
constexpr DWORD kReadRecord = 1;
constexpr DWORD kCombinedRecord = 2;
constexpr DWORD kRegisterRead = 5;
constexpr DWORD kRegisterWrite = 6;

constexpr size_t kDataAt = 3;
constexpr size_t kCombinedCountAt = 11;
constexpr size_t kCombinedDataAt = 12;

constexpr BYTE kBlockMode = 2;
constexpr BYTE kControllerMode = 3;
constexpr BYTE kController = 0xBA;
constexpr BYTE kControllerRead = 0xBB;
constexpr int kChunk = 15;
constexpr DWORD kChunkGapMs = 2;
constexpr DWORD kReadGapMs = 2;
constexpr DWORD kResetMs = 20;
constexpr int kResetLine = 1;

constexpr DWORD kGpioLevelsLow = 0xC7008100;
constexpr DWORD kGpioLevelsHigh = 0xC7008104;
constexpr DWORD kGpioOutputsLow = 0xC7008108;
constexpr DWORD kGpioOutputsHigh = 0xC700810C;

bool IsControllerRegister(BYTE addr, BYTE sub) { return addr == kController && (sub == 0xAA || sub == 0xAB); }

// The GPIO word has bits 0 to 31; a shift by more is no bit of it.
bool IsGpioBit(int bit) { return bit >= 0 && bit < 32; }

}  // namespace

CFimbrelAccess::CFimbrelAccess() = default;

CFimbrelAccess::~CFimbrelAccess() = default;

BYTE CFimbrelAccess::AddressMode(BYTE addr) { return (addr & 0xA0) == 0xA0 ? 1 : 2; }

HRESULT CFimbrelAccess::Init(IUnknown* pFilter, void*)
{
    if (!pFilter) return E_POINTER;
    // A second Init rebinds: the interface held so far is released first.
    m_pKsPropertySet.Release();
    return pFilter->QueryInterface(IID_IKsPropertySet, reinterpret_cast<void**>(&m_pKsPropertySet));
}

HRESULT CFimbrelAccess::Open(BYTE) { return m_pKsPropertySet ? S_OK : E_FAIL; }

HRESULT CFimbrelAccess::SetOption(BYTE) { return m_pKsPropertySet ? S_OK : E_FAIL; }

HRESULT CFimbrelAccess::Property(bool bGet, REFGUID set, DWORD id, void* pBuffer, DWORD size)
{
    if (!m_pKsPropertySet) return E_POINTER;
    DWORD support = 0;
    HRESULT hr = m_pKsPropertySet->QuerySupported(set, id, &support);
    if (FAILED(hr)) return hr;
    if (!(support & (bGet ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET))) return E_FAIL;
    if (bGet) {
        DWORD returned = 0;
        hr = m_pKsPropertySet->Get(set, id, pBuffer, size, pBuffer, size, &returned);
    } else {
        hr = m_pKsPropertySet->Set(set, id, pBuffer, size, pBuffer, size);
    }
    return FAILED(hr) ? hr : S_OK;
}

HRESULT CFimbrelAccess::ReadI2C(BYTE addr, BYTE sub, BYTE* pOut, BYTE mode)
{
    if (!pOut) return E_POINTER;
    BYTE record[kRecordSize] = {};
    record[0] = mode;
    record[1] = addr;
    record[2] = 1;
    record[3] = sub;
    HRESULT hr = Property(false, KSPROPSETID_FimbrelA, kWriteRecord, record, sizeof(record));
    if (FAILED(hr)) return hr;
    if (IsControllerRegister(addr, sub)) record[1] = kControllerRead;
    hr = Property(true, KSPROPSETID_FimbrelA, kReadRecord, record, sizeof(record));
    if (FAILED(hr)) return hr;
    *pOut = record[kDataAt];
    return S_OK;
}

HRESULT CFimbrelAccess::WriteI2C(BYTE addr, BYTE sub, BYTE value, BYTE mode)
{
    BYTE record[kRecordSize] = {};
    record[0] = mode;
    record[1] = addr;
    record[2] = 2;
    record[3] = sub;
    record[4] = value;
    return Property(false, KSPROPSETID_FimbrelA, kWriteRecord, record, sizeof(record));
}

HRESULT CFimbrelAccess::WriteRaw(BYTE addr, const BYTE* pData, int n, BYTE mode)
{
    if (!pData) return E_POINTER;
    if (n < 1 || n > kMaxBytes) return E_INVALIDARG;
    BYTE record[kRecordSize] = {};
    record[0] = mode;
    record[1] = addr;
    record[2] = static_cast<BYTE>(n);
    std::copy_n(pData, n, record + kDataAt);
    return Property(false, KSPROPSETID_FimbrelA, kWriteRecord, record, sizeof(record));
}

HRESULT CFimbrelAccess::WriteSub(BYTE addr, BYTE sub, const BYTE* pData, int n, BYTE mode)
{
    if (!pData) return E_POINTER;
    if (n < 0 || n > kMaxBytes - 1) return E_INVALIDARG;
    BYTE record[kRecordSize] = {};
    record[0] = mode;
    record[1] = addr;
    record[2] = static_cast<BYTE>(n + 1);
    record[3] = sub;
    std::copy_n(pData, n, record + kDataAt + 1);
    return Property(false, KSPROPSETID_FimbrelA, kWriteRecord, record, sizeof(record));
}

HRESULT CFimbrelAccess::ReadBlock(BYTE addr, BYTE* buf, int n, BYTE mode)
{
    if (!buf) return E_POINTER;
    if (n < 1 || n > kMaxBytes) return E_INVALIDARG;
    BYTE record[kRecordSize] = {};
    record[0] = mode;
    record[1] = addr;
    record[2] = 1;
    record[3] = buf[0];
    HRESULT hr = Property(false, KSPROPSETID_FimbrelA, kWriteRecord, record, sizeof(record));
    if (FAILED(hr)) return hr;
    Sleep(kReadGapMs);
    record[2] = static_cast<BYTE>(n);
    hr = Property(true, KSPROPSETID_FimbrelA, kReadRecord, record, sizeof(record));
    if (FAILED(hr)) return hr;
    std::copy_n(record + kDataAt, n, buf);
    return S_OK;
}

HRESULT CFimbrelAccess::ReadCombined(BYTE addr, BYTE sub, BYTE* pOut, BYTE mode)
{
    if (!pOut) return E_POINTER;
    BYTE byte = sub;
    const HRESULT hr = ReadCombinedBlock(addr, &byte, 1, mode);
    if (SUCCEEDED(hr)) *pOut = byte;
    return hr;
}

HRESULT CFimbrelAccess::ReadCombinedBlock(BYTE addr, BYTE* buf, int n, BYTE mode)
{
    if (!buf) return E_POINTER;
    if (n < 1 || n > kMaxBytes) return E_INVALIDARG;
    BYTE record[kCombinedSize] = {};
    record[0] = mode;
    record[1] = addr;
    record[2] = 1;
    record[3] = buf[0];
    record[kCombinedCountAt] = static_cast<BYTE>(n);
    const HRESULT hr = Property(true, KSPROPSETID_FimbrelA, kCombinedRecord, record, sizeof(record));
    if (FAILED(hr)) return hr;
    std::copy_n(record + kCombinedDataAt, n, buf);
    return S_OK;
}

HRESULT CFimbrelAccess::ReadRegister(DWORD address, DWORD* pValue)
{
    if (!pValue) return E_POINTER;
    DWORD record[2] = {address, 0};
    const HRESULT hr = Property(true, KSPROPSETID_FimbrelA, kRegisterRead, record, sizeof(record));
    if (FAILED(hr)) return hr;
    *pValue = record[1];
    return S_OK;
}

HRESULT CFimbrelAccess::WriteRegister(DWORD address, DWORD value)
{
    DWORD record[2] = {address, value};
    return Property(false, KSPROPSETID_FimbrelA, kRegisterWrite, record, sizeof(record));
}

HRESULT CFimbrelAccess::ReadGpio(DWORD* pValue)
{
    if (!pValue) return E_POINTER;
    DWORD low = 0;
    DWORD high = 0;
    HRESULT hr = ReadRegister(kGpioLevelsLow, &low);
    if (SUCCEEDED(hr)) hr = ReadRegister(kGpioLevelsHigh, &high);
    if (FAILED(hr)) return hr;
    *pValue = low | (high >> 16);
    return S_OK;
}

HRESULT CFimbrelAccess::WriteGpio(DWORD value, DWORD mask)
{
    const DWORD highMask = mask & 0xFFFF0000;
    const DWORD writes[4][2] = {
        {kGpioOutputsLow, mask << 16},
        {kGpioOutputsHigh, highMask},
        {kGpioLevelsLow, (mask << 16) | (value & 0xFFFF)},
        {kGpioLevelsHigh, highMask | (value >> 16)},
    };
    // Every write is attempted; the first failure is the answer.
    HRESULT result = S_OK;
    for (const auto& write : writes) {
        const HRESULT hr = WriteRegister(write[0], write[1]);
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    return result;
}

HRESULT CFimbrelAccess::ReadGpioBit(int bit, DWORD* pValue)
{
    if (!pValue) return E_POINTER;
    if (!IsGpioBit(bit)) return E_INVALIDARG;
    DWORD value = 0;
    const HRESULT hr = ReadGpio(&value);
    if (FAILED(hr)) return hr;
    *pValue = (value >> bit) & 1;
    return S_OK;
}

HRESULT CFimbrelAccess::WriteGpioBit(int bit, DWORD value)
{
    if (!IsGpioBit(bit)) return E_INVALIDARG;
    return WriteGpio(value << bit, 1u << bit);
}

HRESULT CFimbrelAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    CScopedLock lock(&m_csRequest);
    if (!pData) return E_POINTER;
    if (iSubAddr < 0) return E_INVALIDARG;
    const BYTE sub = static_cast<BYTE>(iSubAddr);
    const BYTE mode = IsControllerRegister(ucSlaveAddr, sub) ? kControllerMode : AddressMode(ucSlaveAddr);
    return ReadI2C(ucSlaveAddr, sub, pData, mode);
}

HRESULT CFimbrelAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    CScopedLock lock(&m_csRequest);
    if (iSubAddr < 0) return E_INVALIDARG;
    return WriteI2C(ucSlaveAddr, static_cast<BYTE>(iSubAddr), ucData, AddressMode(ucSlaveAddr));
}

HRESULT CFimbrelAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    if (!buf) return E_POINTER;
    return ReadBlock(buf[0], buf, len, AddressMode(buf[0]));
}

HRESULT CFimbrelAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    CScopedLock lock(&m_csRequest);
    if (!buf) return E_POINTER;
    if (len < 2) return E_INVALIDARG;
    const int n = len - 1;
    if (n <= kMaxBytes) return WriteRaw(buf[0], buf + 1, n, kBlockMode);

    // Sub-addressed: buf[1] the sub-address, every chunk to it.
    const BYTE* data = buf + 2;
    const int count = n - 1;
    HRESULT hr = S_OK;
    int sent = 0;
    for (; sent + kChunk <= count; sent += kChunk) {
        hr = WriteSub(buf[0], buf[1], data + sent, kChunk, kBlockMode);
        if (FAILED(hr)) {
            TRACE("CFimbrelAccess::I2C_WriteBlock - chunk at %d failed\n", sent);
            return hr;
        }
        Sleep(kChunkGapMs);
    }
    if (sent < count) hr = WriteSub(buf[0], buf[1], data + sent, count - sent, kBlockMode);
    return hr;
}

HRESULT CFimbrelAccess::GPIO_Read(DWORD* pValue)
{
    CScopedLock lock(&m_csRequest);
    return ReadGpio(pValue);
}

HRESULT CFimbrelAccess::GPIO_Write(DWORD value, DWORD mask)
{
    CScopedLock lock(&m_csRequest);
    return WriteGpio(value, mask);
}

HRESULT CFimbrelAccess::GPIO_WriteEx(DWORD value, DWORD mask, DWORD) { return GPIO_Write(value, mask); }

HRESULT CFimbrelAccess::ResetTuner(BOOL)
{
    CScopedLock lock(&m_csRequest);
    const HRESULT low = WriteGpioBit(kResetLine, 0);
    Sleep(kResetMs);
    const HRESULT high = WriteGpioBit(kResetLine, 1);
    Sleep(kResetMs);
    return (SUCCEEDED(low) && SUCCEEDED(high)) ? S_OK : E_FAIL;
}

HRESULT CFimbrelAccess::WriteBridgeReg(BYTE, BYTE) { return E_NOTIMPL; }

HRESULT CFimbrelAccess::ReadBridgeReg(BYTE, BYTE*) { return E_NOTIMPL; }

HRESULT CFimbrelAccess::GPIO_SetTVFM(DWORD) { return E_FAIL; }
