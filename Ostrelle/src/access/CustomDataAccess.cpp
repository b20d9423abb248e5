// CCustomDataAccess: a card's hardware-access interface.
#include "access/CustomDataAccess.h"

CCustomDataAccess::CCustomDataAccess() { InitializeCriticalSection(&m_csRequest); }

CCustomDataAccess::~CCustomDataAccess() { DeleteCriticalSection(&m_csRequest); }

HRESULT CCustomDataAccess::Reserved8(DWORD, DWORD*) { return E_FAIL; }

HRESULT CCustomDataAccess::GPIO_WriteEx(DWORD value, DWORD mask, DWORD) { return GPIO_Write(value, mask); }

HRESULT CCustomDataAccess::GPIO_ReadEx(DWORD* pValue) { return GPIO_Read(pValue); }

HRESULT CCustomDataAccess::SetControl13(DWORD) { return S_OK; }

HRESULT CCustomDataAccess::SetControl14(DWORD) { return S_OK; }

HRESULT CCustomDataAccess::DoControl15() { return S_OK; }

HRESULT CCustomDataAccess::SetControl16(DWORD) { return S_OK; }

HRESULT CCustomDataAccess::ResetTuner(BOOL) { return S_OK; }

HRESULT CCustomDataAccess::WriteBridgeReg(BYTE, BYTE) { return E_FAIL; }

HRESULT CCustomDataAccess::ReadBridgeReg(BYTE, BYTE*) { return E_FAIL; }

HRESULT CCustomDataAccess::GetStatus(BOOL) { return S_OK; }

HRESULT CCustomDataAccess::ReadRegister32(DWORD, DWORD*) { return E_FAIL; }

HRESULT CCustomDataAccess::WriteRegister32(DWORD, DWORD) { return E_FAIL; }

HRESULT CCustomDataAccess::Reserved23(DWORD*) { return E_FAIL; }

HRESULT CCustomDataAccess::Reserved24(DWORD) { return E_FAIL; }

HRESULT CCustomDataAccess::Reserved25(DWORD*) { return E_FAIL; }

HRESULT CCustomDataAccess::GPIO_SetTVFM(DWORD)
{
    OutputDebugStringA("CCustomDataAccess::GPIO_SetTVFM");
    return E_FAIL;
}

HRESULT CCustomDataAccess::Reserved27(DWORD*) { return E_FAIL; }

HRESULT CCustomDataAccess::Reserved28(BOOL) { return E_NOTIMPL; }
