// CIoEventThread: the device-event thread of the TV_IO card.
#include "cards/saa713x/IoEventThread.h"

#include "cards/saa713x/TV_IOFilter.h"

CIoEventThread::CIoEventThread(CTV_IOFilter* owner) : m_pOwner(owner) {}

CIoEventThread::~CIoEventThread() { Stop(); }

BOOL CIoEventThread::OnInit() {
    if (m_pOwner == nullptr) return FALSE;
    return CThread::OnInit();
}

int CIoEventThread::Run() {
    const HANDLE handles[2] = {GetStopEvent(), m_pOwner->GetDeviceEvent()};
    const CTV_IOFilter::DeviceEventCallback callback = m_pOwner->GetDeviceEventCallback();
    while (!IsStopSet()) {
        const DWORD woke = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        TRACE(" IO ");
        if (woke == WAIT_OBJECT_0 + 1) {
            if (callback != nullptr) callback();
            continue;
        }
        ResetEvent(handles[1]);
        break;
    }
    return 0;
}

int CIoEventThread::OnExit() { return CThread::OnExit(); }
