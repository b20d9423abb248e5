#include "dunmorra/EppromInfo.h"

#include <algorithm>

CEppromInfo::CEppromInfo()
    : m_iVendorPos(-1),
      m_iSubWindowIDPos(-1),
      m_iModelPos(-1),
      m_iModelHighPos(-1),
      m_iFactoryPos(-1),
      m_iCompanyPos(-1),
      m_iChipsetPos(-1) {
    InitSlotList();
}

CEppromInfo::~CEppromInfo() {}

void CEppromInfo::InitSlotList() {
    if (!m_vecSlots.empty()) return;
    m_vecSlots = {&m_vecVendor, &m_vecSubWindowID, &m_vecModel,  &m_vecModelHigh,
                  &m_vecFactory, &m_vecCompany,     &m_vecChipset};
}

void CEppromInfo::SetVendor(unsigned short usVendor) {
    if (m_iVendorPos != -1) m_vecVendor.SetWord(m_iVendorPos, usVendor);
}

void CEppromInfo::SetSubWindowID(unsigned short usSubWindowID) {
    if (m_iSubWindowIDPos != -1) m_vecSubWindowID.SetWord(m_iSubWindowIDPos, usSubWindowID);
}

void CEppromInfo::SetModel(unsigned char ucModel) {
    if (m_iModelPos != -1) m_vecModel.SetByte(m_iModelPos, ucModel);
}

void CEppromInfo::SetModelHigh(unsigned char ucModelHigh) {
    if (m_iModelHighPos != -1) m_vecModelHigh.SetByte(m_iModelHighPos, ucModelHigh);
}

void CEppromInfo::SetFactory(unsigned char ucFactory) {
    if (m_iFactoryPos != -1) m_vecFactory.SetByte(m_iFactoryPos, ucFactory);
}

void CEppromInfo::SetCompany(const char* pszCompany) {
    if (m_iCompanyPos != -1) m_vecCompany.SetString(m_iCompanyPos, pszCompany);
}

void CEppromInfo::SetChipset(const char* pszChipset) {
    if (m_iChipsetPos != -1) m_vecChipset.SetString(m_iChipsetPos, pszChipset);
}

void CEppromInfo::WriteTo(unsigned char* pBuffer, int iLength) const {
    if (pBuffer == nullptr || iLength < 1) return;
    for (const CVectorPairByte* slot : m_vecSlots)
        for (const CPairByte& pair : *slot)
            if (pair.first >= 0 && pair.first < iLength) pBuffer[pair.first] = pair.second;
}

bool CEppromInfo::IsPosUnique() const {
    std::vector<int> positions;
    positions.reserve(30);
    for (const CVectorPairByte* slot : m_vecSlots)
        for (const CPairByte& pair : *slot) positions.push_back(pair.first);
    std::sort(positions.begin(), positions.end());
    return std::adjacent_find(positions.begin(), positions.end()) == positions.end();
}
