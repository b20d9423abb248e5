// The TV_IO card ("713x_IO TV Card Capture") and its crossbar ("713x_IO TV Card Crossbar").
#include "cards/saa713x/TV_IOFilter.h"

#include <cstdint>
#include <new>

#include "access/KsPropertyAccess.h"
#include "cards/saa713x/IoEventThread.h"
#include "cards/saa713x/Saa713xController.h"

IMPLEMENT_CARD_FILTER_CLASS(CTV_IOFilter, &CLSID_VideoInputDeviceCategory, CTV_IOFilter::kCaptureName)

CTV_IOFilter::~CTV_IOFilter() {
    StopCardThreads();
    TRACE("TV_IOFilter destruct \n");
    if (m_hDeviceEvent != nullptr) CloseHandle(m_hDeviceEvent);
}

BOOL CTV_IOFilter::GetRemoteData(BYTE* key) { return Saa713xIoGetRemoteData(m_pAccess, Saa713xIoBoard::TvIo, key); }

HRESULT CTV_IOFilter::InitAccess() { return OpenKsPropertyAccess(ACCESS_KIND_KS_PROPERTY); }

BOOL CTV_IOFilter::SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) {
    return Saa713xIoSendGPIOCommand(m_pAccess, Saa713xIoBoard::TvIo, value, mask, waitMs);
}

BOOL CTV_IOFilter::WaitReadState(DWORD* word) { return Saa713xIoWaitReadState(m_pAccess, word); }

BOOL CTV_IOFilter::WriteControllerWord(WORD value) { return Saa713xWriteControllerWord(this, Saa713xIoLayout(), value); }

BOOL CTV_IOFilter::ReadControllerWord(WORD* value) { return Saa713xReadControllerWord(this, Saa713xIoLayout(), value); }

BOOL CTV_IOFilter::ControllerCommand(BOOL on) { return Saa713xControllerCommand(this, Saa713xIoLayout(), on); }

BOOL CTV_IOFilter::CheckAccess() {
    if (m_nAccessKind == ACCESS_KIND_KS_PROPERTY && m_pAccess != nullptr) return TRUE;
    if (InitAccess() == S_OK && m_pAccess != nullptr && m_nAccessKind == ACCESS_KIND_KS_PROPERTY) return TRUE;
    ReleaseAccess();
    return FALSE;
}

LONG_PTR CTV_IOFilter::AccessResult(HRESULT hr) {
    if (SUCCEEDED(hr)) return 1;
    ReleaseAccess();
    return 0;
}

LONG_PTR CTV_IOFilter::SetDriverValue(LONG_PTR arg) {
    if (!CheckAccess()) return 0;
    return AccessResult(m_pAccess->SetControl16(static_cast<DWORD>(arg)));
}

LONG_PTR CTV_IOFilter::InstallDeviceEvent(LONG_PTR arg) {
    ReleaseAuxThread();  // the thread reads the callback and the event
    m_pfnDeviceEvent = reinterpret_cast<DeviceEventCallback>(arg);
    if (m_hDeviceEvent != nullptr) CloseHandle(m_hDeviceEvent);
    m_hDeviceEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!CheckAccess()) return 0;
    return AccessResult(m_pAccess->SetControl13(static_cast<DWORD>(reinterpret_cast<uintptr_t>(m_hDeviceEvent))));
}

LONG_PTR CTV_IOFilter::StartEventThread(LONG_PTR arg) {
    ReleaseAuxThread();
    if (!CheckAccess()) return 0;
    if (AccessResult(m_pAccess->SetControl14(static_cast<DWORD>(arg))) == 0) return 0;
    CIoEventThread* thread = new (std::nothrow) CIoEventThread(this);
    if (thread == nullptr) return 0;
    if (thread->GetThreadHandle() == nullptr) {
        delete thread;
        return 0;
    }
    m_pAuxThread = thread;
    thread->Resume();
    return 1;
}

LONG_PTR CTV_IOFilter::ReleaseChild() {
    ReleaseAuxThread();
    if (!CheckAccess()) return 0;
    return AccessResult(m_pAccess->DoControl15());
}

IMPLEMENT_CARD_FILTER_CLASS(CTV_IOCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CTV_IOCrossbarFilter::kCrossbarName)
