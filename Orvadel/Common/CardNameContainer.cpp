// The card-name rows and their container.
#include "CardNameContainer.h"

#include <map>

void CCardNameContainer::Add(LPCSTR capture, LPCSTR crossbar) { m_rows.emplace_back(capture, crossbar, 0); }

int CCardNameContainer::FindCapture(LPCSTR name) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].m_strCapture == name) return static_cast<int>(i);
    }
    return -1;
}

int CCardNameContainer::FindCrossbar(LPCSTR name) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].m_strCrossbar == name) return static_cast<int>(i);
    }
    return -1;
}

void CCardNameContainer::NumberCards() {
    std::map<CString, int> seen;
    for (CCardName& row : m_rows) row.m_nIndex = seen[row.m_strCapture]++;
}

CString CCardNameContainer::Dump() const {
    CString text;
    for (const CCardName& row : m_rows) {
        text.AppendFormat("Card = %s, Bar = %s, Index = %d", row.m_strCapture, row.m_strCrossbar, row.m_nIndex);
        text += "\n";
    }
    return text;
}

int CCardNameContainer::GetLongestCaptureName() const {
    int longest = 0;
    for (const CCardName& row : m_rows) longest = std::max(longest, row.m_strCapture.GetLength());
    return longest;
}
