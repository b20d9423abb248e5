// CDvbcAccess: the access object of the "DVBC TS Capture" card. That card's filter reaches its
// hardware through the DM1105 chip library on its own; this object exists so that the card
// filter and its tuner have an access object to hold. It reaches no driver and answers every
// request with a fixed result: E_NOTIMPL for the transfers, GPIO, reset and bridge slots, S_OK
// for the driver controls, E_FAIL for the register and reserved slots.
#pragma once

#include "access/CustomDataAccess.h"

class CDvbcAccess : public CCustomDataAccess {
public:
    CDvbcAccess();
    ~CDvbcAccess() override;

    // Keeps pContext, the owning card filter, unless an owner is kept already; E_FAIL while
    // there is none.
    DECLARE_CUSTOM_DATA_ACCESS_SLOTS()
    HRESULT GPIO_WriteEx(DWORD value, DWORD mask, DWORD waitMs) override;
    HRESULT SetControl13(DWORD value) override;
    HRESULT SetControl14(DWORD value) override;
    HRESULT DoControl15() override;
    HRESULT SetControl16(DWORD value) override;
    DECLARE_CUSTOM_DATA_ACCESS_BRIDGE_SLOTS()
    DECLARE_CUSTOM_DATA_ACCESS_REGISTER_SLOTS()

    void* GetOwner() const { return m_pOwner; }

private:
    // A plain back pointer, never dereferenced.
    void* m_pOwner = nullptr;
};
