// The Qel card ("713x_4 TV Card Capture") and its crossbar ("713x_4 TV Card Crossbar").
#include "cards/saa713x/QelCardFilter.h"

#include "access/KsPropertyAccess.h"

CFilterClassRecord CQelCardFilter::s_classRecord(nullptr, &CLSID_VideoInputDeviceCategory,
                                                 CQelCardFilter::kCaptureName, &CQelCardFilter::CreateInstance);

CRootFilter* CQelCardFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CQelCardFilter>(s_classRecord, graph, flag);
}

CQelCardFilter::CQelCardFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CSaa713xStandardCard(owner, category, friendlyName, flag) {}

CQelCardFilter::CQelCardFilter(CRootGraph* owner, REFCLSID clsid) : CSaa713xStandardCard(owner, clsid) {}

CQelCardFilter::~CQelCardFilter() {
    StopCardThreads();
    TRACE("713x_4 destruct!\n");
    m_pTVTuner.Release();
}

BOOL CQelCardFilter::Create() {
    ResetCardState();
    m_strTunerFilterName = kTunerFilterName;
    if (!IsValid()) return FALSE;
    return CTVCardFilter::Create();
}

LONG_PTR CQelCardFilter::OnCommand(LONG_PTR) { return 0; }

HRESULT CQelCardFilter::InitAccess() {
    if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
    m_pTVTuner.Release();
    return OpenKsPropertyAccess(ACCESS_KIND_QEL);
}

HRESULT CQelCardFilter::FindTunerInterface() { return FindCaptureTVTuner(m_pTVTuner); }

// ---- crossbar ----

CFilterClassRecord CQelCrossbarFilter::s_classRecord(nullptr, &AM_KSCATEGORY_CROSSBAR,
                                                     CQelCrossbarFilter::kCrossbarName,
                                                     &CQelCrossbarFilter::CreateInstance);

CRootFilter* CQelCrossbarFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CQelCrossbarFilter>(s_classRecord, graph, flag);
}

CQelCrossbarFilter::CQelCrossbarFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CCrossbarFilter(owner, category, friendlyName, flag) {}

CQelCrossbarFilter::CQelCrossbarFilter(CRootGraph* owner, REFCLSID clsid) : CCrossbarFilter(owner, clsid) {}
