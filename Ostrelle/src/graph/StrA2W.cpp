// CStrA2W: an ANSI text as wide-character text, for the calls that take wide text.
#include "graph/StrA2W.h"

#include <cwchar>
#include <vector>

CStrA2W::CStrA2W(const char* text) : m_pWide(nullptr), m_pText(text) {}

CStrA2W::~CStrA2W() {
    delete[] m_pWide;
}

const WCHAR* CStrA2W::Convert() {
    if (m_pText == nullptr) return nullptr;
    if (m_pWide != nullptr) return m_pWide;
    m_pWide = new WCHAR[kWideChars];
    if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, m_pText, -1, m_pWide, kWideChars) != 0) return m_pWide;

    // Too long for the buffer (or not convertible): keep what fits, terminated.
    m_pWide[0] = L'\0';
    int needed = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, m_pText, -1, nullptr, 0);
    if (needed > kWideChars) {
        std::vector<WCHAR> whole(needed);
        if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, m_pText, -1, whole.data(), needed) != 0) {
            wmemcpy(m_pWide, whole.data(), kWideChars - 1);
            m_pWide[kWideChars - 1] = L'\0';
            TRACE("CStrA2W::Convert - text of %d characters cut to %d\n", needed - 1, kWideChars - 1);
        }
    }
    return m_pWide;
}
