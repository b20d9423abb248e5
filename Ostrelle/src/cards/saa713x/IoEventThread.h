// CIoEventThread: the device-event thread of the TV_IO card. It waits for its stop event or the
// card's device event (which the driver signals) and calls the card's device-event callback on
// its own thread for each device event. The callback and the event are taken once, when the
// thread starts; the card never replaces them while the thread runs. The card creates, starts
// and deletes it; deleting it stops it first.
#pragma once

#include "graph/Thread.h"

class CTV_IOFilter;

class CIoEventThread : public CThread {
public:
    explicit CIoEventThread(CTV_IOFilter* owner);
    ~CIoEventThread() override;

protected:
    // FALSE without an owner card.
    BOOL OnInit() override;
    // Leaves when the stop event is signalled or the wait fails, with the device event reset.
    int Run() override;
    int OnExit() override;

private:
    CTV_IOFilter* const m_pOwner;
};
