// CDvbcAccess: the access object of the "DVBC TS Capture" card.
#include "access/DvbcAccess.h"

CDvbcAccess::CDvbcAccess() = default;

CDvbcAccess::~CDvbcAccess() { m_pOwner = nullptr; }

HRESULT CDvbcAccess::Init(IUnknown*, void* pContext)
{
    if (!m_pOwner) m_pOwner = pContext;
    return m_pOwner ? S_OK : E_FAIL;
}

HRESULT CDvbcAccess::Open(BYTE) { return E_NOTIMPL; }

HRESULT CDvbcAccess::I2C_Read(BYTE, int, BYTE*) { return E_NOTIMPL; }

HRESULT CDvbcAccess::I2C_Write(BYTE, int, BYTE) { return E_NOTIMPL; }

HRESULT CDvbcAccess::I2C_ReadBlock(BYTE*, int) { return E_NOTIMPL; }

HRESULT CDvbcAccess::I2C_WriteBlock(BYTE*, int) { return E_NOTIMPL; }

HRESULT CDvbcAccess::SetOption(BYTE) { return E_NOTIMPL; }

HRESULT CDvbcAccess::GPIO_Read(DWORD*) { return E_NOTIMPL; }

HRESULT CDvbcAccess::GPIO_Write(DWORD, DWORD) { return E_NOTIMPL; }

HRESULT CDvbcAccess::GPIO_WriteEx(DWORD value, DWORD mask, DWORD) { return GPIO_Write(value, mask); }

HRESULT CDvbcAccess::SetControl13(DWORD) { return S_OK; }

HRESULT CDvbcAccess::SetControl14(DWORD) { return S_OK; }

HRESULT CDvbcAccess::DoControl15() { return S_OK; }

HRESULT CDvbcAccess::SetControl16(DWORD) { return S_OK; }

HRESULT CDvbcAccess::ResetTuner(BOOL) { return E_NOTIMPL; }

HRESULT CDvbcAccess::WriteBridgeReg(BYTE, BYTE) { return E_NOTIMPL; }

HRESULT CDvbcAccess::ReadBridgeReg(BYTE, BYTE*) { return E_NOTIMPL; }

HRESULT CDvbcAccess::ReadRegister32(DWORD, DWORD*) { return E_FAIL; }

HRESULT CDvbcAccess::WriteRegister32(DWORD, DWORD) { return E_FAIL; }

HRESULT CDvbcAccess::Reserved23(DWORD*) { return E_FAIL; }

HRESULT CDvbcAccess::Reserved24(DWORD) { return E_FAIL; }

HRESULT CDvbcAccess::Reserved25(DWORD*) { return E_FAIL; }

HRESULT CDvbcAccess::GPIO_SetTVFM(DWORD) { return E_FAIL; }
