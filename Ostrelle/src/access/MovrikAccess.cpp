#include "access/MovrikAccess.h"

namespace {

// The second mode word of a GPIO read: lines 12 and 13 driven.
constexpr DWORD kGpioReadMode = 0x80003000;
// How long a GPIO write holds its value before the mode register goes back to idle.
constexpr DWORD kGpioWriteHoldMs = 120;

}  // namespace

CMovrikAccess::CMovrikAccess() : m_slots(this, &m_csRequest) {}

CMovrikAccess::~CMovrikAccess() = default;

HRESULT CMovrikAccess::Init(IUnknown* pDevice, void*) { return m_slots.Init(pDevice); }

HRESULT CMovrikAccess::Open(BYTE bOpen) { return m_slots.Open(bOpen); }

HRESULT CMovrikAccess::I2C_Read(BYTE ucSlaveAddr, int iSubAddr, BYTE* pData)
{
    return m_slots.I2CRead(ucSlaveAddr, iSubAddr, pData);
}

HRESULT CMovrikAccess::I2C_Write(BYTE ucSlaveAddr, int iSubAddr, BYTE ucData)
{
    return m_slots.I2CWrite(ucSlaveAddr, iSubAddr, ucData);
}

HRESULT CMovrikAccess::I2C_ReadBlock(BYTE* buf, int len) { return m_slots.ReadBlock(buf, len); }

HRESULT CMovrikAccess::I2C_WriteBlock(BYTE* buf, int len) { return m_slots.WriteBlock(buf, len); }

HRESULT CMovrikAccess::SetOption(BYTE value) { return m_slots.SetOption(value); }

HRESULT CMovrikAccess::GPIO_Read(DWORD* pValue) { return m_slots.GpioRead(kGpioReadMode, pValue); }

HRESULT CMovrikAccess::GPIO_Write(DWORD value, DWORD mask) { return m_slots.GpioWrite(value, mask, kGpioWriteHoldMs); }

HRESULT CMovrikAccess::ReadBridgeReg(BYTE reg, BYTE* pValue) { return m_slots.ReadBridgeReg(reg, pValue); }

HRESULT CMovrikAccess::ReadRegister32(DWORD addr, DWORD* pValue) { return m_slots.ReadRegister(addr, pValue); }

HRESULT CMovrikAccess::WriteRegister32(DWORD addr, DWORD value) { return m_slots.WriteRegister(addr, value); }

HRESULT CMovrikAccess::Reserved23(DWORD*) { return E_FAIL; }

HRESULT CMovrikAccess::Reserved24(DWORD) { return E_FAIL; }

HRESULT CMovrikAccess::Reserved25(DWORD*) { return E_FAIL; }

HRESULT CMovrikAccess::GPIO_SetTVFM(DWORD) { return E_FAIL; }
