// CCardRWInterface: the EEPROM library's byte reader and writer carried to one card filter's
// EEPROM operations. The library's write thread calls it on its own thread; the object holds
// nothing that changes, and the card filter's access object serialises the transfers.
#pragma once

#include "dunmorra/EepromRWInterface.h"

class CTVCardFilter;
class CCustomDataAccess;

class CCardRWInterface : public CEepromRWInterface {
public:
    CCardRWInterface() : m_pFilter(nullptr) {}
    explicit CCardRWInterface(CTVCardFilter* filter) : m_pFilter(filter) {}
    CCardRWInterface(const CCardRWInterface& other) = default;
    CCardRWInterface& operator=(const CCardRWInterface& other) = default;
    ~CCardRWInterface() override = default;

    // One byte through the card filter; false without a filter or when the card fails.
    bool ReadByte(unsigned char ucAddress, unsigned char* pucValue) override;
    // One byte through the card filter with its 10 ms write delay.
    bool WriteByte(int iAddress, unsigned char ucValue) override;

    // Stores the filter; true when it is not null.
    bool SetFilter(CTVCardFilter* filter);
    CTVCardFilter* GetFilter() const { return m_pFilter; }
    // The card filter's hardware-access object; null without a filter.
    CCustomDataAccess* GetAccess() const;

    // Two objects are equal when they carry the same card filter.
    bool operator==(const CCardRWInterface& other) const { return m_pFilter == other.m_pFilter; }

private:
    CTVCardFilter* m_pFilter;
};
