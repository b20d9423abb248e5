// C1394DVFilter: the wrapper of a 1394 DV camera or deck ("Microsoft DV Camera and VCR"). Its
// set-up makes the device's C1394Access (an alert when the device lacks the transport
// interfaces, and the wrapper is invalid); the monitor thread reports the device's status to
// the window given by SetNotify.
#pragma once

#include "cards/devices/1394Access.h"
#include "graph/FilterClassRecord.h"
#include "graph/RootFilter.h"

class C1394DVFilter : public CRootFilter {
public:
    static constexpr const char kDeviceName[] = "Microsoft DV Camera and VCR";

    C1394DVFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    C1394DVFilter(CRootGraph* owner, REFCLSID clsid);
    ~C1394DVFilter() override;

    // No names of its own.
    void InitNames() override;
    // Runs Create.
    BOOL Init() override;
    virtual LONG_PTR OnDeviceHook() { return 0; }

    // Makes the access object; FALSE (with the alert) when the device lacks its interfaces.
    BOOL Create();
    // A new monitor thread (a running one is deleted first), resumed when its OnInit agrees.
    BOOL StartMonitor();
    BOOL StopMonitor();
    // Stops the monitor and deletes the access object.
    BOOL Release();

    // Forwarded to the access object; 0 without one.
    long GetMode();
    BOOL SetMode(long mode);
    int GetDeviceType();
    BOOL GetTimecode(BYTE bytes[4]);
    BOOL SetNotify(HWND window);

    C1394Access* GetAccess() const { return m_pAccess; }
    CDeviceMonitorThread* GetMonitor() const { return m_pMonitor; }

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CFilterClassRecord s_classRecord;

private:
    C1394Access* m_pAccess = nullptr;
    CDeviceMonitorThread* m_pMonitor = nullptr;
    DWORD m_dwState = 0;
};
