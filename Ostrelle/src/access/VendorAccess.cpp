// CVendorAccess: the driver operations (transfers, GPIO, AC97, items) over the open driver
// interface. Finding and opening the devices is in VendorAccessDevices.cpp.
#include "access/VendorAccess.h"

#include "graph/Thread.h"

namespace {

// Driver property ids.
constexpr DWORD kRegisterDescriptor = 0x1005;
constexpr DWORD kRegisterData = 0x1006;
constexpr DWORD kI2CDescriptor = 0x1007;
constexpr DWORD kI2CData = 0x1008;
constexpr DWORD kSelectItem = 0x100B;
constexpr DWORD kItemValue = 0x1013;
constexpr DWORD kItemReady = 0x1014;
constexpr DWORD kStatusFlag = 0x1019;

// Bridge registers.
constexpr BYTE kGpioLines = 0x08;
constexpr BYTE kGpioInput = 0x09;
constexpr BYTE kEvent = 0x0C;
constexpr BYTE kEventBit = 0x20;
constexpr BYTE kAc97Data = 0x40;
constexpr BYTE kAc97Command = 0x42;
constexpr BYTE kAc97Busy = 0x43;
constexpr BYTE kAc97Read = 0x80;

// The lock of every descriptor-and-transfer pair, shared by all objects of the process: the
// driver keeps one descriptor per box.
CRITICAL_SECTION* PairLock()
{
    static CRITICAL_SECTION* lock = [] {
        auto* cs = new CRITICAL_SECTION;
        InitializeCriticalSection(cs);
        return cs;
    }();
    return lock;
}

DWORD RegisterDescriptor(BYTE reg, BYTE count) { return (DWORD(reg) << 8) | count; }

DWORD I2CDescriptor(BYTE mode, BYTE dev, BYTE sub, BYTE count)
{
    return (DWORD(mode) << 24) | (DWORD(dev) << 16) | (DWORD(sub) << 8) | count;
}

}  // namespace

CVendorAccess::CVendorAccess() { Clear(); }

CVendorAccess::~CVendorAccess()
{
    ReleaseAudioFilters();
    Close();
}

void CVendorAccess::Clear()
{
    m_pDriver = nullptr;
    m_pAudioCapture = nullptr;
    m_pKsAudio = nullptr;
    m_pAudioRenderer = nullptr;
    m_dwGpioMask = 0;
    m_hrLastStatus = 0;
}

// Statuses 5, 6 and 21 are failures here, though the old forms took every value that is not
// negative as success: a box that is not plugged in answered TRUE to every call.
BOOL CVendorAccess::Succeeded(HRESULT status)
{
    m_hrLastStatus = status;
    return status >= 0 && status != kNotOpen && status != kGpioOrAc97 && status != kNotReady;
}

// ---- driver operations ----

HRESULT CVendorAccess::ReadRaw(DWORD id, void* data)
{
    if (!m_pDriver) return kNotOpen;
    return m_pDriver->Get(id, data);
}

HRESULT CVendorAccess::WriteRaw(DWORD id, void* data)
{
    if (!m_pDriver) return kNotOpen;
    return m_pDriver->Set(id, data);
}

HRESULT CVendorAccess::Transfer(DWORD descriptorId, DWORD descriptor, DWORD dataId, bool read, void* data)
{
    if (!m_pDriver) return kNotOpen;
    if (!data) return E_POINTER;
    CScopedLock lock(PairLock());
    HRESULT hr = m_pDriver->Set(descriptorId, &descriptor);
    m_hrLastStatus = hr;
    if (SUCCEEDED(hr)) {
        hr = read ? m_pDriver->Get(dataId, data) : m_pDriver->Set(dataId, data);
        m_hrLastStatus = hr;
    }
    if (FAILED(hr)) {
        DWORD cancel = 0;
        m_pDriver->Set(descriptorId, &cancel);
    }
    return hr;
}

HRESULT CVendorAccess::ReadBridgeRegisterStatus(BYTE reg, BYTE count, void* data)
{
    return Transfer(kRegisterDescriptor, RegisterDescriptor(reg, count), kRegisterData, true, data);
}

HRESULT CVendorAccess::WriteBridgeRegisterStatus(BYTE reg, BYTE count, void* data)
{
    return Transfer(kRegisterDescriptor, RegisterDescriptor(reg, count), kRegisterData, false, data);
}

HRESULT CVendorAccess::I2CReadStatus(BYTE dev, BYTE count, void* data)
{
    return Transfer(kI2CDescriptor, I2CDescriptor(0, dev, 0, count), kI2CData, true, data);
}

HRESULT CVendorAccess::I2CWriteStatus(BYTE dev, BYTE count, void* data)
{
    return Transfer(kI2CDescriptor, I2CDescriptor(0, dev, 0, count), kI2CData, false, data);
}

HRESULT CVendorAccess::ReadRegStatus(BYTE dev, BYTE sub, BYTE count, void* data)
{
    return Transfer(kI2CDescriptor, I2CDescriptor(1, dev, sub, count), kI2CData, true, data);
}

HRESULT CVendorAccess::WriteRegStatus(BYTE dev, BYTE sub, BYTE count, void* data)
{
    return Transfer(kI2CDescriptor, I2CDescriptor(1, dev, sub, count), kI2CData, false, data);
}

HRESULT CVendorAccess::I2CReadExStatus(BYTE dev, BYTE sub, WORD modeAndCount, void* data)
{
    return Transfer(kI2CDescriptor, I2CDescriptor(modeAndCount >> 8, dev, sub, modeAndCount & 0xFF), kI2CData, true,
                    data);
}

HRESULT CVendorAccess::I2CWriteExStatus(BYTE dev, BYTE sub, WORD modeAndCount, void* data)
{
    return Transfer(kI2CDescriptor, I2CDescriptor(modeAndCount >> 8, dev, sub, modeAndCount & 0xFF), kI2CData, false,
                    data);
}

HRESULT CVendorAccess::ReadGpioStatus(BYTE* data)
{
    if (!m_pDriver) return kNotOpen;
    if (!data) return E_POINTER;
    CScopedLock lock(PairLock());
    BYTE lines = 0;
    HRESULT hr = ReadBridgeRegisterStatus(kGpioLines, 1, &lines);
    if (FAILED(hr)) return hr;
    const BYTE mask = static_cast<BYTE>(m_dwGpioMask);
    if ((lines & mask) != mask) return kGpioOrAc97;
    return ReadBridgeRegisterStatus(kGpioInput, 1, data);
}

HRESULT CVendorAccess::WriteGpioStatus(BYTE* data)
{
    if (!m_pDriver) return kNotOpen;
    if (!data) return E_POINTER;
    const BYTE mask = static_cast<BYTE>(m_dwGpioMask);
    if ((*data & mask) != mask) return kGpioOrAc97;
    return WriteBridgeRegisterStatus(kGpioLines, 1, data);
}

HRESULT CVendorAccess::SelectItemStatus(DWORD item) { return WriteRaw(kSelectItem, &item); }

HRESULT CVendorAccess::QueryItem(DWORD item, DWORD* value)
{
    if (!value) {
        m_hrLastStatus = E_POINTER;
        return m_hrLastStatus;
    }
    *value = 0;
    // The selector is the box's, shared by every object: select, ready and value go together.
    CScopedLock lock(PairLock());
    m_hrLastStatus = SelectItemStatus(item);
    if (!Succeeded(m_hrLastStatus)) return m_hrLastStatus;
    DWORD ready = 0;
    m_hrLastStatus = ReadRaw(kItemReady, &ready);
    if (FAILED(m_hrLastStatus)) return m_hrLastStatus;
    if (ready == 0) {
        m_hrLastStatus = kNotReady;
        return m_hrLastStatus;
    }
    m_hrLastStatus = ReadRaw(kItemValue, value);
    return m_hrLastStatus;
}

BOOL CVendorAccess::GetValue(DWORD id, void* data) { return Succeeded(ReadRaw(id, data)); }
BOOL CVendorAccess::SetValue(DWORD id, void* data) { return Succeeded(WriteRaw(id, data)); }
BOOL CVendorAccess::ReadBridgeRegister(BYTE reg, BYTE count, void* data)
{
    return Succeeded(ReadBridgeRegisterStatus(reg, count, data));
}
BOOL CVendorAccess::WriteBridgeRegister(BYTE reg, BYTE count, void* data)
{
    return Succeeded(WriteBridgeRegisterStatus(reg, count, data));
}
BOOL CVendorAccess::I2CRead(BYTE dev, BYTE count, void* data) { return Succeeded(I2CReadStatus(dev, count, data)); }
BOOL CVendorAccess::I2CWrite(BYTE dev, BYTE count, void* data) { return Succeeded(I2CWriteStatus(dev, count, data)); }
BOOL CVendorAccess::ReadReg(BYTE dev, BYTE sub, BYTE count, void* data)
{
    return Succeeded(ReadRegStatus(dev, sub, count, data));
}
BOOL CVendorAccess::WriteReg(BYTE dev, BYTE sub, BYTE count, void* data)
{
    return Succeeded(WriteRegStatus(dev, sub, count, data));
}
BOOL CVendorAccess::I2CReadEx(BYTE dev, BYTE sub, WORD modeAndCount, void* data)
{
    return Succeeded(I2CReadExStatus(dev, sub, modeAndCount, data));
}
BOOL CVendorAccess::I2CWriteEx(BYTE dev, BYTE sub, WORD modeAndCount, void* data)
{
    return Succeeded(I2CWriteExStatus(dev, sub, modeAndCount, data));
}
BOOL CVendorAccess::ReadGpio(BYTE* data) { return Succeeded(ReadGpioStatus(data)); }
BOOL CVendorAccess::WriteGpio(BYTE* data) { return Succeeded(WriteGpioStatus(data)); }
BOOL CVendorAccess::SelectItem(DWORD item) { return Succeeded(SelectItemStatus(item)); }

// ---- register sequences ----

HRESULT CVendorAccess::SetGpioInputMask(BYTE mask)
{
    m_dwGpioMask = mask;
    if (!m_pDriver) return kNotOpen;
    CScopedLock lock(PairLock());
    BYTE lines = 0;
    HRESULT hr = ReadBridgeRegisterStatus(kGpioLines, 1, &lines);
    if (FAILED(hr)) return hr;
    lines |= mask;
    return WriteBridgeRegisterStatus(kGpioLines, 1, &lines);
}

BOOL CVendorAccess::TestAndClearEventBit()
{
    if (!m_pDriver) return FALSE;
    CScopedLock lock(PairLock());
    BYTE event = 0;
    if (FAILED(ReadBridgeRegisterStatus(kEvent, 1, &event)) || !(event & kEventBit)) return FALSE;
    event &= ~kEventBit;
    WriteBridgeRegisterStatus(kEvent, 1, &event);
    return TRUE;
}

BOOL CVendorAccess::IsStatusSet()
{
    DWORD flag = 0;
    const HRESULT hr = ReadRaw(kStatusFlag, &flag);
    if (hr < 0 || hr == kNotOpen) return FALSE;
    return flag != 0;
}

HRESULT CVendorAccess::AC97Read(BYTE reg, WORD* value)
{
    if (!m_pDriver) return kNotOpen;
    if (!value) return E_POINTER;
    CScopedLock lock(PairLock());
    BYTE command = reg | kAc97Read;
    HRESULT hr = WriteBridgeRegisterStatus(kAc97Command, 1, &command);
    if (FAILED(hr)) return hr;
    int polls = 0;
    for (BYTE busy = 1; busy & 1; ++polls) {
        if (polls == kAc97Polls) return kGpioOrAc97;
        if (FAILED(ReadBridgeRegisterStatus(kAc97Busy, 1, &busy))) return kGpioOrAc97;
    }
    return ReadBridgeRegisterStatus(kAc97Data, 2, value);
}

HRESULT CVendorAccess::AC97Write(BYTE reg, WORD* value)
{
    if (!m_pDriver) return kNotOpen;
    if (!value) return E_POINTER;
    CScopedLock lock(PairLock());
    HRESULT hr = WriteBridgeRegisterStatus(kAc97Data, 2, value);
    if (FAILED(hr)) return hr;
    hr = WriteBridgeRegisterStatus(kAc97Command, 1, &reg);
    if (FAILED(hr)) return hr;
    int polls = 0;
    for (BYTE busy = 1; busy & 1; ++polls) {
        if (polls == kAc97Polls) return kGpioOrAc97;
        if (FAILED(ReadBridgeRegisterStatus(kAc97Busy, 1, &busy))) return kGpioOrAc97;
    }
    return 0;
}
