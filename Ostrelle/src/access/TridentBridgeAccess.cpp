// CTridentBridgeAccess: what the hardware access of the Trident bridge cards and boxes.
#include "access/TridentBridgeAccess.h"

#include "graph/Thread.h"

CTridentBridgeAccess::CTridentBridgeAccess() : CVendorExchange(&m_csRequest) {}

CTridentBridgeAccess::~CTridentBridgeAccess() = default;

HRESULT CTridentBridgeAccess::Init(IUnknown* pDevice, void*) { return Bind(pDevice); }

HRESULT CTridentBridgeAccess::Open(BYTE) { return S_OK; }

HRESULT CTridentBridgeAccess::SetOption(BYTE) { return S_FALSE; }

HRESULT CTridentBridgeAccess::GPIO_Read(DWORD*) { return S_FALSE; }

HRESULT CTridentBridgeAccess::GPIO_Write(DWORD value, DWORD mask)
{
    if (!m_pKsPropertySet) return E_POINTER;
    if (mask >= kVendorLineCount) return E_INVALIDARG;
    CVendorCommand command = CVendorCommand::WriteLine(static_cast<BYTE>(mask), static_cast<BYTE>(value));
    return Send(command.Bytes());
}

HRESULT CTridentBridgeAccess::WriteBridgeReg(BYTE reg, BYTE value)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_POINTER;
    CVendorCommand command = CVendorCommand::WriteBridgeReg(reg, value);
    return Transact(command.Bytes(), command.Count());
}

HRESULT CTridentBridgeAccess::ReadBridgeReg(BYTE reg, BYTE* pValue)
{
    CScopedLock lock(&m_csRequest);
    if (!m_pKsPropertySet) return E_POINTER;
    return TransactByte(CVendorCommand::ReadBridgeReg(reg), pValue);
}

HRESULT CTridentBridgeAccess::GPIO_SetTVFM(DWORD) { return E_FAIL; }
