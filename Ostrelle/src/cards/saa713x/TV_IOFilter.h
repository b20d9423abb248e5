// The TV_IO card ("713x_IO TV Card Capture") and its crossbar ("713x_IO TV Card Crossbar"): an
// SAA713x card on the driver's property set (CKsPropertyAccess, access kind 2) whose on-board
// controller is wired in the IO pin layout, and whose driver reports device events: the card
// hands the driver an event (InstallDeviceEvent, with the callback to run), starts a thread
// that runs the callback for each event (StartEventThread) and stops it again (ReleaseChild).
//
// The callback and the event are the card's own members (the base's 32-bit words cannot hold a
// pointer); the event thread is the base's auxiliary thread, which ReleaseAccess and ReleaseChild
// delete before anything it uses goes. InstallDeviceEvent stops a running thread before it
// replaces the event and the callback.
#pragma once

#include "cards/base/CardClassRecord.h"
#include "cards/base/TVCardFilter.h"
#include "graph/CrossbarFilter.h"

class CTV_IOFilter : public CTVCardFilter {
public:
    static constexpr const char kCaptureName[] = "713x_IO TV Card Capture";
    // The device-event callback: no argument, run on the event thread.
    typedef void (*DeviceEventCallback)();

    using CTVCardFilter::CTVCardFilter;
    ~CTV_IOFilter() override;

    // The IO layout's key, traced.
    BOOL GetRemoteData(BYTE* key) override;
    // A CKsPropertyAccess bound to the capture filter and opened, access kind 2.
    HRESULT InitAccess() override;
    BOOL SendGPIOCommand(DWORD value, DWORD mask, DWORD waitMs) override;
    BOOL WaitReadState(DWORD* word) override;
    BOOL WriteControllerWord(WORD value) override;
    BOOL ReadControllerWord(WORD* value) override;
    BOOL ControllerCommand(BOOL on) override;
    // Each needs the property-set access (made when missing); a failure of the access or of the
    // driver call releases the access object and answers 0.
    // The 32-bit value to the driver (control 16).
    LONG_PTR SetDriverValue(LONG_PTR arg) override;
    // arg is the DeviceEventCallback. Stops a running event thread, installs the callback and a
    // new device event (auto-reset), and gives the event to the driver (control 13).
    LONG_PTR InstallDeviceEvent(LONG_PTR arg) override;
    // Stops a running event thread, passes arg to the driver (control 14) and starts a new one.
    LONG_PTR StartEventThread(LONG_PTR arg) override;
    // Stops the event thread and tells the driver (control 15).
    LONG_PTR ReleaseChild() override;

    DeviceEventCallback GetDeviceEventCallback() const { return m_pfnDeviceEvent; }
    HANDLE GetDeviceEvent() const { return m_hDeviceEvent; }

    DECLARE_CARD_FILTER_CLASS();

private:
    // The property-set access, made when missing; FALSE (access released) when it cannot be had.
    BOOL CheckAccess();
    // The answer of a driver call: 1 on success, else the access is released and 0.
    LONG_PTR AccessResult(HRESULT hr);

    DeviceEventCallback m_pfnDeviceEvent = nullptr;
    HANDLE m_hDeviceEvent = nullptr;
};

class CTV_IOCrossbarFilter : public CCrossbarFilter {
public:
    static constexpr const char kCrossbarName[] = "713x_IO TV Card Crossbar";

    using CCrossbarFilter::CCrossbarFilter;

    DECLARE_CARD_FILTER_CLASS();
};
