// The filter-class registry.
#include "graph/FilterClassRecord.h"

#include <cstring>

namespace {

CFilterClassRecord* g_pFilterClassHead = nullptr;

}  // namespace

CFilterClassRecord::CFilterClassRecord(const CLSID* clsid, const GUID* category, const char* name,
                                       FilterCreator creator, FilterWrapCreator wrapCreator)
    : m_pClsid(clsid),
      m_pCategory(category),
      m_szName(),
      m_pfnCreator(creator),
      m_pNext(nullptr),
      m_bByName(FALSE),
      m_szDeviceName(),
      m_pfnWrapCreator(wrapCreator) {
    ASSERT((clsid == nullptr) != (category == nullptr));
    ASSERT(creator != nullptr);
    CopyNameText(m_szName, sizeof(m_szName), name);
    CopyNameText(m_szDeviceName, sizeof(m_szDeviceName), m_szName);
}

BOOL CFilterClassRecord::MatchClsid(REFCLSID clsid) {
    m_bByName = FALSE;
    if (m_pClsid == nullptr) return FALSE;
    return IsEqualGUID(*m_pClsid, clsid) ? TRUE : FALSE;
}

BOOL CFilterClassRecord::MatchCategoryName(REFGUID category, const char* friendlyName) {
    m_bByName = TRUE;
    if (m_pCategory == nullptr || !IsEqualGUID(*m_pCategory, category) || friendlyName == nullptr) return FALSE;
    if (!CopyNameText(m_szDeviceName, sizeof(m_szDeviceName), friendlyName)) return FALSE;
    if (std::strcmp(m_szName, kAnyDeviceName) == 0) return TRUE;
    return std::strcmp(m_szName, friendlyName) == 0 ? TRUE : FALSE;
}

CRootFilter* CFilterClassRecord::Wrap(CRootGraph* graph, IBaseFilter* filter) const {
    return m_pfnWrapCreator != nullptr ? m_pfnWrapCreator(graph, filter) : nullptr;
}

CFilterClassRecord* CFilterClassRecord::GetHead() {
    return g_pFilterClassHead;
}

void CFilterClassRecord::UnlinkNewerThan(CFilterClassRecord* head) {
    g_pFilterClassHead = head;
}

CFilterClassInit::CFilterClassInit(CFilterClassRecord* record) {
    ASSERT(record != nullptr);
    if (record == nullptr) return;
    for (CFilterClassRecord* linked = g_pFilterClassHead; linked != nullptr; linked = linked->m_pNext) {
        if (linked == record) return;
    }
    record->m_pNext = g_pFilterClassHead;
    g_pFilterClassHead = record;
}
