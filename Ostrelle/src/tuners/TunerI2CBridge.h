// CI2CInterface: the register interface the TDA8275A and TDA8290 drivers program their chips
// through. CTunerI2CBridge implements it over a card's access object (not owned), retrying each
// single-register transfer up to three times.
#pragma once

#include <windows.h>

class CCustomDataAccess;

class CI2CInterface {
public:
    virtual ~CI2CInterface() = default;
    virtual BOOL WriteReg(BYTE address, BYTE subAddress, BYTE value) = 0;
    virtual BOOL ReadReg(BYTE address, BYTE subAddress, BYTE* value) = 0;
    virtual BOOL WriteBlock(BYTE address, const BYTE* data, int length) = 0;
};

class CTunerI2CBridge : public CI2CInterface {
public:
    explicit CTunerI2CBridge(CCustomDataAccess* pAccess) : m_pAccess(pAccess) {}

    BOOL WriteReg(BYTE address, BYTE subAddress, BYTE value) override;
    BOOL ReadReg(BYTE address, BYTE subAddress, BYTE* value) override;
    BOOL WriteBlock(BYTE address, const BYTE* data, int length) override;

private:
    CCustomDataAccess* m_pAccess;
};
