// CCamCaptureFilter: the wrapper base of plain video capture devices (no access object, no
// tuner): the decoder's video standard, the processing amplifier, the capture and preview
// formats, the capture size, the property pages of the device and of its pins' stream
// config, and whether its first output offers I420. CUsbCamFilter wraps "Usb_Cam_Capture".
//
// A pin argument of 1 selects the capture pin, any other value the preview pin. Colour codes:
// RGB555 0, RGB24 1, YUY2 2, YVU9 3, YV12 4 both ways; 5 sets I420 (read back as -1); any
// other code sets YUY2.
#pragma once

#include "cards/base/CaptureFormat.h"
#include "graph/FilterClassRecord.h"
#include "graph/RootFilter.h"

// The processing amplifier's record of GetProcAmp.
struct ProcAmpInfo {
    long lValue;
    long lMin;
    long lMax;
    long lStep;
    long lDefault;
    long lFlags;
};

class CCamCaptureFilter : public CRootFilter {
public:
    static constexpr int kMaxWidth = 640;
    static constexpr int kMaxHeight = 480;

    CCamCaptureFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CCamCaptureFilter(CRootGraph* owner, REFCLSID clsid);
    ~CCamCaptureFilter() override;

    HRESULT OnHook1(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;
    HRESULT OnHook2(LONG_PTR arg1, LONG_PTR arg2, LONG_PTR arg3) override;
    // The I420 flag of HasI420Output, then the base answer.
    BOOL Init() override;
    // The current standard, then the available ones (each only for a pointer given); a failing
    // first call ends it. E_FAIL without a device filter.
    virtual HRESULT GetVideoStandard(long* current, long* available);
    virtual HRESULT SetVideoStandard(long standard);

    HRESULT SetProcAmp(long property, long value);
    // Range and flags, then (only when the range was read) the value.
    HRESULT GetProcAmp(long property, ProcAmpInfo* info);
    // E_INVALIDARG for a null out, no graph or no device filter.
    HRESULT GetPinFormat(AM_MEDIA_TYPE** type, int pin);
    HRESULT GetVideoFormat(VideoFormatInfo* info, int pin);
    HRESULT SetVideoFormat(VideoFormatInfo info, int pin);
    // The capture pin's size; beyond 640 wide or 480 high it becomes 640 x 480.
    BOOL SetCaptureSize(int width, int height);
    // what 0: the device's pages; 1: the pages of the pin's stream config. FALSE while the graph
    // runs or is paused.
    BOOL ShowPropertyPages(int what, HWND owner, const char* caption, int pin);
    using CRootFilter::ShowPropertyPages;
    BOOL HasI420Output();
    BOOL IsI420() const { return m_bI420; }

private:
    BOOL m_bI420 = FALSE;
};

class CUsbCamFilter : public CCamCaptureFilter {
public:
    static constexpr const char kDeviceName[] = "Usb_Cam_Capture";

    CUsbCamFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CUsbCamFilter(CRootGraph* owner, REFCLSID clsid);
    ~CUsbCamFilter() override;

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CFilterClassRecord s_classRecord;
};
