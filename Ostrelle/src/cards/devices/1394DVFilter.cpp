// C1394DVFilter: the wrapper of a 1394 DV camera or deck ("Microsoft DV Camera and VCR").
#include "cards/devices/1394DVFilter.h"

#include <new>

CFilterClassRecord C1394DVFilter::s_classRecord(nullptr, &CLSID_VideoInputDeviceCategory, C1394DVFilter::kDeviceName,
                                                &C1394DVFilter::CreateInstance);

CRootFilter* C1394DVFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<C1394DVFilter>(s_classRecord, graph, flag);
}

C1394DVFilter::C1394DVFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CRootFilter(owner, category, friendlyName, flag) {}

C1394DVFilter::C1394DVFilter(CRootGraph* owner, REFCLSID clsid) : CRootFilter(owner, clsid) {}

C1394DVFilter::~C1394DVFilter() {
    Release();
    TRACE("1394 destruct\n");
}

void C1394DVFilter::InitNames() {}

BOOL C1394DVFilter::Init() { return Create(); }

BOOL C1394DVFilter::Create() {
    Release();
    m_dwState = 0;
    if (!IsValid()) return FALSE;
    m_pAccess = new (std::nothrow) C1394Access();
    if (m_pAccess != nullptr && m_pAccess->Init(m_pFilter)) return TRUE;
    delete m_pAccess;
    m_pAccess = nullptr;
    MessageBoxA(nullptr, " Create C1394Access Failed ! \n Please Insert 1394Card!", "Alert", MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL C1394DVFilter::StartMonitor() {
    StopMonitor();
    m_pMonitor = new (std::nothrow) CDeviceMonitorThread(this);
    if (m_pMonitor == nullptr || !m_pMonitor->OnInit()) return FALSE;
    m_pMonitor->Resume();
    return TRUE;
}

BOOL C1394DVFilter::StopMonitor() {
    delete m_pMonitor;
    m_pMonitor = nullptr;
    return TRUE;
}

BOOL C1394DVFilter::Release() {
    StopMonitor();
    delete m_pAccess;
    m_pAccess = nullptr;
    return TRUE;
}

long C1394DVFilter::GetMode() {
    long mode = 0;
    if (m_pAccess == nullptr || !m_pAccess->GetMode(&mode)) return 0;
    return mode;
}

BOOL C1394DVFilter::SetMode(long mode) { return m_pAccess != nullptr ? m_pAccess->SetMode(mode) : FALSE; }

int C1394DVFilter::GetDeviceType() {
    int type = 0;
    if (m_pAccess == nullptr || !m_pAccess->GetDeviceType(&type)) return 0;
    return type;
}

BOOL C1394DVFilter::GetTimecode(BYTE bytes[4]) { return m_pAccess != nullptr ? m_pAccess->GetTimecode(bytes) : FALSE; }

BOOL C1394DVFilter::SetNotify(HWND window) {
    if (m_pAccess == nullptr) return FALSE;
    m_pAccess->SetNotify(window);
    return TRUE;
}
