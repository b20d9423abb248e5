// The filter graph's event queue.
#include "GraphEventQueue.h"

#include "Inject.h"
#include "evcode.h"
#include "platform/winuser.h"
#include "StoreLocked.h"

namespace platform::dshow {

GraphEventQueue::GraphEventQueue() : m_ready(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

GraphEventQueue::~GraphEventQueue() {
    if (m_ready) CloseHandle(m_ready);
}

void GraphEventQueue::Push(long code, LONG_PTR param1, LONG_PTR param2) {
    HWND window = nullptr;
    UINT message = 0;
    LONG_PTR instance = 0;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_events.push_back(Event{code, param1, param2});
        if (m_ready) SetEvent(m_ready);
        if (m_window && !(m_flags & AM_MEDIAEVENT_NONOTIFY)) {
            window = reinterpret_cast<HWND>(m_window);
            message = UINT(m_message);
            instance = m_instance;
        }
    }
    if (window) PostMessageA(window, message, 0, instance);
}

STDMETHODIMP GraphEventQueue::GetEventHandle(OAEVENT* hEvent) {
    if (!hEvent) return E_POINTER;
    *hEvent = reinterpret_cast<OAEVENT>(m_ready);
    return S_OK;
}

STDMETHODIMP GraphEventQueue::GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, long msTimeout) {
    if (!lEventCode || !lParam1 || !lParam2) return E_POINTER;
    *lEventCode = 0;
    *lParam1 = *lParam2 = 0;
    HRESULT hr;
    if (Injected("IMediaEventEx::GetEvent", E_FAIL, &hr)) return hr;
    if (msTimeout != 0 && WaitForSingleObject(m_ready, DWORD(msTimeout)) != WAIT_OBJECT_0) return E_ABORT;
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_events.empty()) return E_ABORT;
    Event e = m_events.front();
    m_events.pop_front();
    if (m_events.empty()) ResetEvent(m_ready);
    *lEventCode = e.code;
    *lParam1 = e.param1;
    *lParam2 = e.param2;
    return S_OK;
}

STDMETHODIMP GraphEventQueue::WaitForCompletion(long, long* pEvCode) {
    if (pEvCode) *pEvCode = 0;
    return E_NOTIMPL;
}

STDMETHODIMP GraphEventQueue::CancelDefaultHandling(long) { return S_OK; }
STDMETHODIMP GraphEventQueue::RestoreDefaultHandling(long) { return S_OK; }

STDMETHODIMP GraphEventQueue::FreeEventParams(long lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) {
    if (lEvCode == EC_OLE_EVENT) {
        SysFreeString(reinterpret_cast<BSTR>(lParam1));
        SysFreeString(reinterpret_cast<BSTR>(lParam2));
    }
    return S_OK;
}

STDMETHODIMP GraphEventQueue::SetNotifyWindow(OAHWND hwnd, long lMsg, LONG_PTR lInstanceData) {
    return StoreLocked(m_lock, std::tie(m_window, m_message, m_instance), hwnd, lMsg, lInstanceData);
}

STDMETHODIMP GraphEventQueue::SetNotifyFlags(long lNoNotifyFlags) {
    if (lNoNotifyFlags & ~AM_MEDIAEVENT_NONOTIFY) return E_INVALIDARG;
    return StoreLocked(m_lock, std::tie(m_flags), lNoNotifyFlags);
}

STDMETHODIMP GraphEventQueue::GetNotifyFlags(long* lplNoNotifyFlags) {
    if (!lplNoNotifyFlags) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *lplNoNotifyFlags = m_flags;
    return S_OK;
}

}  // namespace platform::dshow
