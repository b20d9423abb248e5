// The Kesh card ("713x BDA Analog Capture", EEPROM product type 84) and its crossbar.
#include "cards/saa713x/Kesh713xCardFilter.h"

#include <new>

#include "access/Kesh713xAccess.h"

namespace {

// What the latched GPIO read of a key is given.
constexpr DWORD kLatchedKeyRead = 0x180000;

}  // namespace

CFilterClassRecord CKesh713xCardFilter::s_classRecord(nullptr, &CLSID_VideoInputDeviceCategory,
                                                      CKesh713xCardFilter::kCaptureName,
                                                      &CKesh713xCardFilter::CreateInstance);

CRootFilter* CKesh713xCardFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CKesh713xCardFilter>(s_classRecord, graph, flag);
}

CKesh713xCardFilter::CKesh713xCardFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CSaa713xStandardCard(owner, category, friendlyName, flag) {}

CKesh713xCardFilter::CKesh713xCardFilter(CRootGraph* owner, REFCLSID clsid) : CSaa713xStandardCard(owner, clsid) {}

CKesh713xCardFilter::~CKesh713xCardFilter() {
    StopCardThreads();
    TRACE("7130 destruct!\n");
}

BOOL CKesh713xCardFilter::Create() {
    ResetCardState();
    m_ucFactoryAddr = kKeshFactoryAddr;
    m_ucModelAddr = kKeshModelAddr;
    if (!IsValid()) return FALSE;

    CControllerLock lock;
    if (!lock.IsLocked()) return FALSE;
    if (FAILED(InitAccess())) {
        TRACE("CKesh713xCardFilter::Create - the access object cannot be initialised\n");
        ReleaseAccess();
        return FALSE;
    }
    FindOutputPins();
    // The board's TV tuner device, for what the station asks of IAMTVTuner (the country
    // code); a card without one still opens.
    FindOwnTunerDevice();
    ReadFactoryModel();
    return InitTuner();
}

HRESULT CKesh713xCardFilter::InitAccess() {
    if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
    CKesh713xAccess* access = new (std::nothrow) CKesh713xAccess();
    if (access == nullptr) return E_OUTOFMEMORY;
    m_pAccess = access;
    m_nAccessKind = ACCESS_KIND_KESH713X;
    return m_pAccess->Init(m_pFilter, this);
}

HRESULT CKesh713xCardFilter::ReadFactoryModel() {
    m_nFactory = 'N';
    m_nTunerModel = 0;
    return GetTunerInfo(&m_nFactory, &m_nTunerModel);
}

HRESULT CKesh713xCardFilter::GetTunerInfo(int* factory, int* model) {
    if (factory == nullptr || model == nullptr) return E_POINTER;
    return ReadKeshTunerInfo(factory, model);
}

BOOL CKesh713xCardFilter::GetRemoteData(BYTE* key) {
    if (m_pAccess == nullptr) return FALSE;
    CKesh713xAccess* access = static_cast<CKesh713xAccess*>(m_pAccess);
    return CollectStandardKey([access](DWORD* value) { return access->GPIO_ReadLatched(kLatchedKeyRead, value); },
                              key);
}

// ---- crossbar ----

CFilterClassRecord CKesh713xCrossbarFilter::s_classRecord(nullptr, &AM_KSCATEGORY_CROSSBAR,
                                                          CKesh713xCrossbarFilter::kCrossbarName,
                                                          &CKesh713xCrossbarFilter::CreateInstance);

CRootFilter* CKesh713xCrossbarFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CKesh713xCrossbarFilter>(s_classRecord, graph, flag);
}

CKesh713xCrossbarFilter::CKesh713xCrossbarFilter(CRootGraph* owner, const GUID* category, const char* friendlyName,
                                                 int flag)
    : CCrossbarFilter(owner, category, friendlyName, flag) {}

CKesh713xCrossbarFilter::CKesh713xCrossbarFilter(CRootGraph* owner, REFCLSID clsid) : CCrossbarFilter(owner, clsid) {}
