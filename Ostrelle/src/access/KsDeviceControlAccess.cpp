// CKsDeviceControlAccess: the hardware access of the cards.
#include "access/KsDeviceControlAccess.h"

#include <cstring>

#include "graph/Thread.h"

namespace {

constexpr DWORD kCommandId = 4;
constexpr DWORD kLargeId = 2;

// Command codes.
constexpr DWORD kI2CStart = 0x1100000B;
constexpr DWORD kI2CStop = 0x1100000C;
constexpr DWORD kI2CByteIn = 0x1100000D;
constexpr DWORD kI2CByteOut = 0x1100000E;
constexpr DWORD kI2CAck = 0x11000010;
constexpr DWORD kOpen = 0x11000018;
constexpr DWORD kPortWrite = 2;
constexpr DWORD kGpioWrite = 10;
constexpr DWORD kPortRead = 0x10000002;
constexpr DWORD kGpioRead = 0x1000000A;
constexpr DWORD kOption = 0x1000000C;

// Parameter places.
constexpr int kPortParam = 1;    // dwParam[1], byte 36
constexpr int kCountParam = 2;   // dwParam[2], byte 40
constexpr int kGpioFlagA = 4;    // dwParam[4], byte 48
constexpr int kGpioFlagB = 5;    // dwParam[5], byte 52
constexpr int kI2CByte = 2;      // bParam[2], byte 50

// A block read that took longer than this per byte counts as failed.
constexpr ULONGLONG kBlockReadMsPerByte = 200;

template <class Block>
Block Zeroed()
{
    Block block;
    std::memset(&block, 0, sizeof(block));
    return block;
}

// The SET, then the GET of the same block.
template <class Block>
HRESULT Send(HANDLE device, DWORD id, DWORD code, Block* block)
{
    if (!device) return E_FAIL;
    block->dwCode = code;
    HRESULT hr = S_OK;
    for (ULONG flags : {KSPROPERTY_TYPE_SET, KSPROPERTY_TYPE_GET}) {
        block->Property.Set = KSPROPSETID_DeviceControl;
        block->Property.Id = id;
        block->Property.Flags = flags;
        ULONG returned = 0;
        hr = KsSynchronousDeviceControl(device, IOCTL_KS_PROPERTY, block, sizeof(*block), block, sizeof(*block), &returned);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

}  // namespace

CKsDeviceControlAccess::CKsDeviceControlAccess() = default;

CKsDeviceControlAccess::~CKsDeviceControlAccess() = default;

HRESULT CKsDeviceControlAccess::SendCommand(DWORD code, KSDC_COMMAND* block)
{
    return Send(m_hDevice, kCommandId, code, block);
}

HRESULT CKsDeviceControlAccess::SendBlockCommand(DWORD code, KSDC_LARGE_COMMAND* block)
{
    return Send(m_hDevice, kLargeId, code, block);
}

HRESULT CKsDeviceControlAccess::BindHandle(IUnknown* pDevice)
{
    if (!pDevice) return E_INVALIDARG;
    CComPtr<IKsObject> object;
    if (FAILED(pDevice->QueryInterface(IID_IKsObject, reinterpret_cast<void**>(&object))) || !object) {
        return E_INVALIDARG;
    }
    m_hDevice = object->KsGetObjectHandle();
    return m_hDevice ? S_OK : E_FAIL;
}

HRESULT CKsDeviceControlAccess::Init(IUnknown* pDevice, void* pContext)
{
    if (!pDevice || !pContext) return E_POINTER;
    return BindHandle(pDevice);
}

HRESULT CKsDeviceControlAccess::Open(BYTE bOpen)
{
    if (bOpen) {
        KSDC_COMMAND block = Zeroed<KSDC_COMMAND>();
        block.bParam[kI2CByte] = 0;
        SendCommand(kOpen, &block);
    }
    return S_OK;
}

HRESULT CKsDeviceControlAccess::SetOption(BYTE)
{
    KSDC_LARGE_COMMAND block = Zeroed<KSDC_LARGE_COMMAND>();
    SendBlockCommand(kOption, &block);
    return S_OK;
}

HRESULT CKsDeviceControlAccess::I2CStart()
{
    KSDC_COMMAND block = Zeroed<KSDC_COMMAND>();
    return SendCommand(kI2CStart, &block);
}

HRESULT CKsDeviceControlAccess::I2CStop()
{
    KSDC_COMMAND block = Zeroed<KSDC_COMMAND>();
    return SendCommand(kI2CStop, &block);
}

HRESULT CKsDeviceControlAccess::I2CAck()
{
    KSDC_COMMAND block = Zeroed<KSDC_COMMAND>();
    return SendCommand(kI2CAck, &block);
}

HRESULT CKsDeviceControlAccess::I2CReadByte(BYTE* pValue)
{
    KSDC_COMMAND block = Zeroed<KSDC_COMMAND>();
    HRESULT hr = SendCommand(kI2CByteIn, &block);
    if (hr == S_OK) *pValue = block.bParam[kI2CByte];
    return hr;
}

HRESULT CKsDeviceControlAccess::I2CWriteByte(BYTE value)
{
    KSDC_COMMAND block = Zeroed<KSDC_COMMAND>();
    block.bParam[kI2CByte] = value;
    return SendCommand(kI2CByteOut, &block);
}

HRESULT CKsDeviceControlAccess::ReadPortWord(DWORD* pValue)
{
    KSDC_LARGE_COMMAND block = Zeroed<KSDC_LARGE_COMMAND>();
    HRESULT hr = SendBlockCommand(kPortRead, &block);
    if (hr == S_OK) *pValue = block.dwAnswer;
    return hr;
}

HRESULT CKsDeviceControlAccess::WritePortWord(DWORD value)
{
    KSDC_LARGE_COMMAND block = Zeroed<KSDC_LARGE_COMMAND>();
    block.dwParam[kPortParam] = value;
    return SendBlockCommand(kPortWrite, &block);
}

// The start, stop and address bytes' results are not looked at: a missing device shows in the
// bytes that follow its address.
HRESULT CKsDeviceControlAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    if (!pData) return E_POINTER;
    if (iSubAddr < 0) return E_INVALIDARG;
    CScopedLock lock(&m_csRequest);
    const BYTE address = ucSlaveAddr & 0xFE;
    I2CStart();
    I2CWriteByte(address);
    I2CWriteByte(static_cast<BYTE>(iSubAddr));
    I2CStart();
    I2CWriteByte(address + 1);
    HRESULT hr = I2CReadByte(pData);
    I2CStop();
    return hr;
}

HRESULT CKsDeviceControlAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    if (iSubAddr < 0) return E_INVALIDARG;
    CScopedLock lock(&m_csRequest);
    I2CStart();
    I2CWriteByte(ucSlaveAddr & 0xFE);
    I2CWriteByte(static_cast<BYTE>(iSubAddr));
    HRESULT hr = I2CWriteByte(ucData);
    I2CStop();
    return hr;
}

HRESULT CKsDeviceControlAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    if (!buf) return E_POINTER;
    if (len < 1) return E_INVALIDARG;
    CScopedLock lock(&m_csRequest);
    const BYTE address = buf[0] & 0xFE;
    const DWORD t0 = GetTickCount();
    I2CStart();
    I2CWriteByte(address + 1);
    for (int i = 0; i < len; ++i) {
        HRESULT hr = I2CReadByte(&buf[i]);
        I2CAck();
        if (hr != S_OK) {
            I2CStop();
            return hr;
        }
    }
    I2CStop();
    const DWORD elapsed = GetTickCount() - t0;
    return elapsed > static_cast<ULONGLONG>(len) * kBlockReadMsPerByte ? E_FAIL : S_OK;
}

HRESULT CKsDeviceControlAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    if (!buf) return E_POINTER;
    if (len < 2) return E_INVALIDARG;
    CScopedLock lock(&m_csRequest);
    I2CStart();
    for (int i = 0; i < len; ++i) {
        HRESULT hr = I2CWriteByte(buf[i]);
        if (hr != S_OK) {
            I2CStop();
            return hr;
        }
    }
    I2CStop();
    return S_OK;
}

template <class Request>
HRESULT CKsDeviceControlAccess::OnPortZero(Request request)
{
    CScopedLock lock(&m_csRequest);
    DWORD saved = 0;
    HRESULT hr = ReadPortWord(&saved);
    if (hr != S_OK) return hr;
    WritePortWord(0);
    hr = request();
    WritePortWord(saved);
    return hr;
}

HRESULT CKsDeviceControlAccess::GPIO_Read(DWORD* pValue)
{
    if (!pValue) return E_POINTER;
    return OnPortZero([&] {
        KSDC_LARGE_COMMAND block = Zeroed<KSDC_LARGE_COMMAND>();
        block.dwParam[kCountParam] = 1;
        HRESULT hr = SendBlockCommand(kGpioRead, &block);
        if (hr == S_OK) std::memcpy(pValue, block.data, sizeof(*pValue));
        return hr;
    });
}

HRESULT CKsDeviceControlAccess::GPIO_Write(DWORD value, DWORD mask)
{
    return OnPortZero([&] {
        KSDC_LARGE_COMMAND block = Zeroed<KSDC_LARGE_COMMAND>();
        std::memcpy(block.data, &value, sizeof(value));
        std::memcpy(block.data + 4, &mask, sizeof(mask));
        block.dwParam[kGpioFlagA] = 1;
        block.dwParam[kGpioFlagB] = 1;
        return SendBlockCommand(kGpioWrite, &block);
    });
}
