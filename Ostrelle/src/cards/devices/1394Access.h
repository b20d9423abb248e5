// C1394Access: a 1394 DV camera or deck through its device filter's IAMExtDevice (device type),
// IAMExtTransport (mode, status, rate) and IAMTimecodeReader (timecode, track number), every
// call into them under one lock. CDeviceMonitorThread polls it every 200 ms and posts
// WM_DV_STATUS to the owner's notify window.
#pragma once

#include <dshow.h>

#include <atomic>

#include "graph/Thread.h"

// wParam: device type << 16, plus for a VCR its transport mode & 0xFFFF; lParam: for a VCR
// whose timecode was read, the timecode bytes as a little-endian word (top byte in bits 0-7).
#define WM_DV_STATUS 0x3982

// Device type codes of GetDeviceType.
#define DV_TYPE_NONE 1
#define DV_TYPE_VCR 2
#define DV_TYPE_OTHER 3

class C1394DVFilter;

class C1394Access {
public:
    C1394Access();
    C1394Access(const C1394Access&) = delete;
    C1394Access& operator=(const C1394Access&) = delete;
    virtual ~C1394Access();

    // The three interfaces of `filter`; TRUE only when all three were found.
    BOOL Init(IUnknown* filter);
    // Every operation answers FALSE when its interface is missing or the call fails.
    BOOL GetDeviceType(int* type);
    // "%.2x" of each timecode byte, top byte first, into the four buffers (all required).
    BOOL GetTimecodeText(char* hours, char* minutes, char* seconds, char* frames);
    // The timecode's dwFrames, bits 31-24 first; the bytes are cleared first.
    BOOL GetTimecode(BYTE bytes[4]);
    // As GetTimecode, and *user 1 when the sample's dwUser is 1 (0 first).
    BOOL GetTimecodeEx(BYTE bytes[4], int* user);
    BOOL GetTrackNumber(DWORD* number);
    BOOL GetMode(long* mode);
    BOOL SetMode(long mode);
    BOOL GetStatus(long item, long* value);
    // The transport rate, truncated toward zero.
    BOOL GetRate(int* rate);
    // TRUE when the type was read and differs from the last one polled (which it becomes).
    BOOL PollDeviceType(int* type);
    // TRUE when the mode was read and differs from the last one polled (0xFF at first).
    BOOL PollMode(long* mode);
    // The window the monitor thread posts to; the notify flag is set.
    void SetNotify(HWND window);
    HWND GetNotifyWindow() const { return m_hNotify.load(); }
    BOOL HasNotify() const { return m_bNotify.load(); }

private:
    BOOL ReadTimecode(DWORD flags, DWORD* frames, DWORD* user);

    CRITICAL_SECTION m_lock;
    int m_nLastType = 0;
    long m_lLastMode = 0xFF;
    std::atomic<HWND> m_hNotify{nullptr};
    std::atomic<BOOL> m_bNotify{FALSE};
    CComPtr<IAMExtDevice> m_pDevice;
    CComPtr<IAMExtTransport> m_pTransport;
    CComPtr<IAMTimecodeReader> m_pTimecode;
};

class CDeviceMonitorThread : public CThread {
public:
    static constexpr DWORD kPeriodMs = 200;

    explicit CDeviceMonitorThread(C1394DVFilter* owner);
    BOOL Stop() override;
    // FALSE unless the owner has its access object.
    BOOL OnInit() override;
    ~CDeviceMonitorThread() override;

protected:
    int Run() override;
    int OnExit() override;

private:
    C1394DVFilter* m_pOwner;
};
