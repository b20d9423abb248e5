// CPcieAccess: the hardware access of the Lurvan PCI Express dual-tuner card.
#include "access/PcieAccess.h"

#include <cstdint>
#include <cstring>

#include "access/DeviceInterfaceList.h"
#include "graph/Thread.h"

namespace {

constexpr DWORD kI2CRead = CTL_CODE(FILE_DEVICE_UNKNOWN, 0x800, METHOD_BUFFERED, FILE_READ_ACCESS);
constexpr DWORD kI2CWrite = CTL_CODE(FILE_DEVICE_UNKNOWN, 0x801, METHOD_BUFFERED, FILE_WRITE_ACCESS);
constexpr DWORD kGpio = CTL_CODE(FILE_DEVICE_UNKNOWN, 0x916, METHOD_BUFFERED, FILE_READ_ACCESS);
static_assert(kI2CRead == 0x226000 && kI2CWrite == 0x22A004 && kGpio == 0x226458);

constexpr DWORD kReadRequestSize = 253;
constexpr DWORD kWriteRequestSize = 252;
constexpr int kMaxBlockRead = 255;
constexpr int kMaxBlockWrite = kWriteRequestSize - 2;
constexpr int kMaxSub16 = 0xFF;

HRESULT FromWin32(DWORD error) { return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error); }

}  // namespace

CPcieAccess::CPcieAccess() : m_hDevice(INVALID_HANDLE_VALUE), m_dwFlag(0) {}

CPcieAccess::~CPcieAccess() { CloseDevice(); }

LONG CPcieAccess::SetFlag(DWORD flag)
{
    if (flag > 255) return -1;
    const DWORD old = m_dwFlag;
    m_dwFlag = flag;
    return static_cast<LONG>(old);
}

void CPcieAccess::CloseDevice()
{
    if (m_hDevice != INVALID_HANDLE_VALUE) CloseHandle(m_hDevice);
    m_hDevice = INVALID_HANDLE_VALUE;
}

DWORD CPcieAccess::OpenDevice()
{
    CloseDevice();
    CScopedLock lock(&m_csRequest);
    DWORD error = ERROR_INVALID_PARAMETER;
    CDeviceInterfaceList list(GUID_PcieCardInterface, &error);
    if (error != ERROR_SUCCESS) return error;
    CDeviceInterfaceDetail detail(&list, m_dwFlag >> 1, &error);
    if (error != ERROR_SUCCESS || !detail.GetPath()) return error;
    m_hDevice = CreateFileA(detail.GetPath(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_hDevice == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
}

HRESULT CPcieAccess::Init(IUnknown*, void* pContext)
{
    SetFlag(static_cast<DWORD>(reinterpret_cast<uintptr_t>(pContext)));
    const DWORD error = OpenDevice();
    if (m_hDevice != INVALID_HANDLE_VALUE) return S_OK;
    // Not opened: the step's error, or E_FAIL when the failing step recorded none.
    return error != ERROR_SUCCESS ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

HRESULT CPcieAccess::Open(BYTE) { return S_OK; }

HRESULT CPcieAccess::SetOption(BYTE) { return 1; }

HRESULT CPcieAccess::GPIO_Read(DWORD*) { return 1; }

DWORD CPcieAccess::IoControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned)
{
    DWORD answered = 0;
    if (!DeviceIoControl(m_hDevice, code, in, inSize, out, outSize, returned ? returned : &answered, nullptr)) {
        const DWORD error = GetLastError();
        return error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error;
    }
    return ERROR_SUCCESS;
}

DWORD CPcieAccess::IoControlIn(DWORD code, void* in, DWORD inSize)
{
    return IoControl(code, in, inSize, nullptr, 0, nullptr);
}

HRESULT CPcieAccess::ReadSub(BYTE addr, BYTE subBytes, int sub, BYTE* out)
{
    if (!out) return E_POINTER;
    if (sub < 0) return E_INVALIDARG;
    CScopedLock lock(&m_csRequest);
    BYTE request[kReadRequestSize] = {};
    request[0] = addr;
    request[1] = subBytes;
    request[2] = subBytes;
    request[2 + subBytes] = static_cast<BYTE>(sub);  // a 16-bit sub-address goes as {0, low byte}
    BYTE answer[2] = {};
    const DWORD error = IoControl(kI2CRead, request, sizeof(request), answer, sizeof(answer), nullptr);
    if (error == ERROR_SUCCESS) *out = answer[1];
    return FromWin32(error);
}

HRESULT CPcieAccess::WriteSub(BYTE addr, BYTE subBytes, int sub, BYTE value)
{
    if (sub < 0) return E_INVALIDARG;
    CScopedLock lock(&m_csRequest);
    BYTE request[kWriteRequestSize] = {};
    request[0] = addr;
    request[1] = subBytes + 1;
    request[1 + subBytes] = static_cast<BYTE>(sub);
    request[2 + subBytes] = value;
    return FromWin32(IoControlIn(kI2CWrite, request, sizeof(request)));
}

HRESULT CPcieAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData) { return ReadSub(ucSlaveAddr, 1, iSubAddr, pData); }

HRESULT CPcieAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    return WriteSub(ucSlaveAddr, 1, iSubAddr, ucData);
}

// The 16-bit forms carry the sub-address's low byte only: a higher one would reach another
// register, so it is refused.
HRESULT CPcieAccess::ReadReg16(BYTE addr, int sub, BYTE* out)
{
    if (sub > kMaxSub16) return E_INVALIDARG;
    return ReadSub(addr, 2, sub, out);
}

HRESULT CPcieAccess::WriteReg16(BYTE addr, int sub, BYTE value)
{
    if (sub > kMaxSub16) return E_INVALIDARG;
    return WriteSub(addr, 2, sub, value);
}

HRESULT CPcieAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    if (!buf) return E_POINTER;
    if (len < 1 || len > kMaxBlockRead) return E_INVALIDARG;
    CScopedLock lock(&m_csRequest);
    BYTE request[kReadRequestSize] = {};
    request[0] = (m_dwFlag & 1) ? 0xC9 : 0xC3;
    request[1] = 1;
    request[2] = static_cast<BYTE>(len);
    BYTE answer[kMaxBlockRead];
    const DWORD error = IoControl(kI2CRead, request, sizeof(request), answer, static_cast<DWORD>(len), nullptr);
    if (error == ERROR_SUCCESS) std::memcpy(buf, answer, len);
    return FromWin32(error);
}

HRESULT CPcieAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    if (!buf) return E_POINTER;
    if (len < 1 || len > kMaxBlockWrite) return E_INVALIDARG;
    CScopedLock lock(&m_csRequest);
    BYTE request[kWriteRequestSize] = {};
    request[0] = (m_dwFlag & 1) ? 0xC8 : 0xC2;
    request[1] = static_cast<BYTE>(len);
    std::memcpy(request + 2, buf, len);  // whole, its first byte included
    return FromWin32(IoControlIn(kI2CWrite, request, sizeof(request)));
}

HRESULT CPcieAccess::GPIO_Write(DWORD value, DWORD)
{
    BYTE request[2] = {static_cast<BYTE>(3 + (m_dwFlag & 1)), static_cast<BYTE>(value)};
    return FromWin32(IoControlIn(kGpio, request, sizeof(request)));
}

HRESULT CPcieAccess::ResetTuner(BOOL bOpen)
{
    const HRESULT hr = GPIO_Write(bOpen != 0, 0);
    return SUCCEEDED(hr) ? S_OK : hr;
}
