// CCardRWInterface: single EEPROM bytes through the card filter.
#include "CardRWInterface.h"

#include "cards/base/TVCardFilter.h"

namespace {
// The card filter waits this long after each byte it writes.
const DWORD kWriteDelayMs = 10;
}  // namespace

bool CCardRWInterface::ReadByte(unsigned char ucAddress, unsigned char* pucValue) {
    if (m_pFilter == nullptr || pucValue == nullptr) return false;
    int count = 1;
    return SUCCEEDED(m_pFilter->ReadEeprom(pucValue, ucAddress, &count));
}

bool CCardRWInterface::WriteByte(int iAddress, unsigned char ucValue) {
    if (m_pFilter == nullptr || iAddress < 0 || iAddress > 255) return false;
    int count = 1;
    return SUCCEEDED(m_pFilter->WriteEeprom(&ucValue, static_cast<BYTE>(iAddress), &count, kWriteDelayMs));
}

bool CCardRWInterface::SetFilter(CTVCardFilter* filter) {
    m_pFilter = filter;
    return filter != nullptr;
}

CCustomDataAccess* CCardRWInterface::GetAccess() const {
    return m_pFilter != nullptr ? m_pFilter->GetAccess() : nullptr;
}
