// C1394Access: a 1394 DV camera or deck through its device filter's IAMExtDevice.
#include "cards/devices/1394Access.h"

#include <cstdio>
#include <cstring>

#include "cards/devices/1394DVFilter.h"

C1394Access::C1394Access() { InitializeCriticalSection(&m_lock); }

C1394Access::~C1394Access() {
    m_pTimecode.Release();
    m_pTransport.Release();
    m_pDevice.Release();
    DeleteCriticalSection(&m_lock);
}

BOOL C1394Access::Init(IUnknown* filter) {
    if (filter == nullptr) return FALSE;
    CScopedLock lock(&m_lock);
    const HRESULT device = filter->QueryInterface(IID_IAMExtDevice, reinterpret_cast<void**>(&m_pDevice));
    const HRESULT transport = filter->QueryInterface(IID_IAMExtTransport, reinterpret_cast<void**>(&m_pTransport));
    const HRESULT timecode = filter->QueryInterface(IID_IAMTimecodeReader, reinterpret_cast<void**>(&m_pTimecode));
    return SUCCEEDED(device) && SUCCEEDED(transport) && SUCCEEDED(timecode) ? TRUE : FALSE;
}

BOOL C1394Access::GetDeviceType(int* type) {
    if (type == nullptr) return FALSE;
    CScopedLock lock(&m_lock);
    if (m_pDevice == nullptr) return FALSE;
    long value = 0;
    if (FAILED(m_pDevice->GetCapability(ED_DEVCAP_DEVICE_TYPE, &value, nullptr))) return FALSE;
    *type = value == 0 ? DV_TYPE_NONE : value == ED_DEVTYPE_VCR ? DV_TYPE_VCR : DV_TYPE_OTHER;
    return TRUE;
}

BOOL C1394Access::ReadTimecode(DWORD flags, DWORD* frames, DWORD* user) {
    CScopedLock lock(&m_lock);
    if (m_pTimecode == nullptr) return FALSE;
    TIMECODE_SAMPLE sample = {};
    sample.dwFlags = flags;
    sample.timecode.dwFrames = 0;
    if (FAILED(m_pTimecode->GetTimecode(&sample))) return FALSE;
    *frames = sample.timecode.dwFrames;
    if (user != nullptr) *user = sample.dwUser;
    return TRUE;
}

BOOL C1394Access::GetTimecodeText(char* hours, char* minutes, char* seconds, char* frames) {
    if (hours == nullptr || minutes == nullptr || seconds == nullptr || frames == nullptr) return FALSE;
    BYTE bytes[4];
    if (!GetTimecode(bytes)) return FALSE;
    char* const texts[4] = {hours, minutes, seconds, frames};
    for (int i = 0; i < 4; ++i) std::snprintf(texts[i], 3, "%.2x", bytes[i]);
    return TRUE;
}

BOOL C1394Access::GetTimecode(BYTE bytes[4]) {
    if (bytes == nullptr) return FALSE;
    std::memset(bytes, 0, 4);
    DWORD frames = 0;
    if (!ReadTimecode(ED_DEVCAP_TIMECODE_READ, &frames, nullptr)) return FALSE;
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(frames >> (24 - 8 * i));
    return TRUE;
}

BOOL C1394Access::GetTimecodeEx(BYTE bytes[4], int* user) {
    if (bytes == nullptr || user == nullptr) return FALSE;
    *user = 0;
    std::memset(bytes, 0, 4);
    DWORD frames = 0;
    DWORD userWord = 0;
    if (!ReadTimecode(ED_DEVCAP_TIMECODE_READ, &frames, &userWord)) return FALSE;
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(frames >> (24 - 8 * i));
    if (userWord == 1) *user = 1;
    return TRUE;
}

BOOL C1394Access::GetTrackNumber(DWORD* number) {
    if (number == nullptr) return FALSE;
    *number = 0;
    return ReadTimecode(ED_DEVCAP_ATN_READ, number, nullptr);
}

BOOL C1394Access::GetMode(long* mode) {
    if (mode == nullptr) return FALSE;
    *mode = 0;
    CScopedLock lock(&m_lock);
    return m_pTransport != nullptr && SUCCEEDED(m_pTransport->get_Mode(mode)) ? TRUE : FALSE;
}

BOOL C1394Access::SetMode(long mode) {
    CScopedLock lock(&m_lock);
    return m_pTransport != nullptr && SUCCEEDED(m_pTransport->put_Mode(mode)) ? TRUE : FALSE;
}

BOOL C1394Access::GetStatus(long item, long* value) {
    if (value == nullptr) return FALSE;
    CScopedLock lock(&m_lock);
    if (m_pTransport == nullptr || FAILED(m_pTransport->GetStatus(item, value))) return FALSE;
    TRACE("GetStatus:%d,%d\n", static_cast<int>(item), static_cast<int>(*value));
    return TRUE;
}

BOOL C1394Access::GetRate(int* rate) {
    if (rate == nullptr) return FALSE;
    CScopedLock lock(&m_lock);
    double value = 0;
    if (m_pTransport == nullptr || FAILED(m_pTransport->get_Rate(&value))) return FALSE;
    TRACE("GetRate:%f\n", value);
    *rate = static_cast<int>(value);
    return TRUE;
}

BOOL C1394Access::PollDeviceType(int* type) {
    int now = 0;
    if (type == nullptr || !GetDeviceType(&now)) return FALSE;
    *type = now;
    if (now == m_nLastType) return FALSE;
    m_nLastType = now;
    return TRUE;
}

BOOL C1394Access::PollMode(long* mode) {
    if (mode == nullptr || !GetMode(mode)) return FALSE;
    if (*mode == m_lLastMode) return FALSE;
    m_lLastMode = *mode;
    return TRUE;
}

void C1394Access::SetNotify(HWND window) {
    m_hNotify = window;
    m_bNotify = TRUE;
}

// ---- monitor thread ----

CDeviceMonitorThread::CDeviceMonitorThread(C1394DVFilter* owner) : m_pOwner(owner) {}

CDeviceMonitorThread::~CDeviceMonitorThread() { CThread::Stop(); }

BOOL CDeviceMonitorThread::Stop() { return CThread::Stop(); }

BOOL CDeviceMonitorThread::OnInit() {
    if (m_pOwner == nullptr || m_pOwner->GetAccess() == nullptr) return FALSE;
    return CThread::OnInit();
}

int CDeviceMonitorThread::Run() {
    C1394Access* access = m_pOwner->GetAccess();
    const HWND window = access->GetNotifyWindow();
    if (window == nullptr) return 0;
    int type = 0;
    while (!IsStopSet()) {
        if (WaitForSingleObject(GetStopEvent(), kPeriodMs) != WAIT_TIMEOUT) break;
        TRACE("Device Type Get Changed:%d\n", type);
        if (access->PollDeviceType(&type)) TRACE("Device Type Is Changed:%d\n", type);
        WPARAM wParam = static_cast<WPARAM>(type) << 16;
        LPARAM lParam = 0;
        if (type == DV_TYPE_VCR) {
            long mode = 0;
            if (access->PollMode(&mode)) TRACE("Device Mode Is Changed:%d\n", static_cast<int>(mode));
            wParam += static_cast<WPARAM>(mode & 0xFFFF);
            BYTE bytes[4];
            if (access->GetTimecode(bytes)) {
                lParam = static_cast<LPARAM>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24);
            }
        }
        PostMessageA(window, WM_DV_STATUS, wParam, lParam);
    }
    return 1;
}

int CDeviceMonitorThread::OnExit() { return 0; }
