// The filter graph's event queue (IMediaEventEx): events that filters report through
// IMediaEventSink, or tests push, wait here until the application takes them with GetEvent;
// a notify window gets a message per event queued.
#pragma once

#include <deque>
#include <mutex>

#include "control.h"

namespace platform::dshow {

class GraphEventQueue : public IMediaEventEx {
public:
    using Interface = IMediaEventEx;

    GraphEventQueue();
    void Push(long code, LONG_PTR param1, LONG_PTR param2);

    STDMETHODIMP GetEventHandle(OAEVENT* hEvent) override;
    STDMETHODIMP GetEvent(long* lEventCode, LONG_PTR* lParam1, LONG_PTR* lParam2, long msTimeout) override;
    STDMETHODIMP WaitForCompletion(long msTimeout, long* pEvCode) override;
    STDMETHODIMP CancelDefaultHandling(long lEvCode) override;
    STDMETHODIMP RestoreDefaultHandling(long lEvCode) override;
    STDMETHODIMP FreeEventParams(long lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) override;
    STDMETHODIMP SetNotifyWindow(OAHWND hwnd, long lMsg, LONG_PTR lInstanceData) override;
    STDMETHODIMP SetNotifyFlags(long lNoNotifyFlags) override;
    STDMETHODIMP GetNotifyFlags(long* lplNoNotifyFlags) override;

protected:
    virtual ~GraphEventQueue();

private:
    struct Event {
        long code;
        LONG_PTR param1;
        LONG_PTR param2;
    };
    std::mutex m_lock;
    std::deque<Event> m_events;
    HANDLE m_ready;  // manual reset: signalled while events wait
    OAHWND m_window = 0;
    long m_message = 0;
    LONG_PTR m_instance = 0;
    long m_flags = 0;
};

}  // namespace platform::dshow
