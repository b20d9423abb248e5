#include "support/RecordingAccess.h"

#include <map>

HRESULT RecordingAccess::I2C_Read(BYTE address, int sub, BYTE* data)
{
    BYTE value = registerByte(address, static_cast<BYTE>(sub));
    Record({AccessCall::Read, {address, static_cast<BYTE>(sub), value}});
    if (readResult == S_OK) *data = value;
    return readResult;
}

HRESULT RecordingAccess::I2C_Write(BYTE address, int sub, BYTE data)
{
    Record({AccessCall::Write, {address, static_cast<BYTE>(sub), data}});
    return writeResult;
}

HRESULT RecordingAccess::I2C_ReadBlock(BYTE* buf, int len)
{
    Record({AccessCall::ReadBlock, std::vector<BYTE>(buf, buf + len)});
    if (readResult == S_OK && len >= 1) buf[0] = statusByte();
    return readResult;
}

HRESULT RecordingAccess::I2C_WriteBlock(BYTE* buf, int len)
{
    Record({AccessCall::WriteBlock, std::vector<BYTE>(buf, buf + len)});
    return writeResult;
}

HRESULT RecordingAccess::Reserved27(DWORD* value)
{
    Record({AccessCall::VideoStatus, {}});
    *value = videoStatus();
    return S_OK;
}

void RecordingAccess::Record(AccessCall call)
{
    call.thread = GetCurrentThreadId();
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(std::move(call));
}

std::vector<AccessCall> RecordingAccess::Calls() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_calls;
}

std::vector<std::vector<BYTE>> RecordingAccess::BlockWrites() const
{
    std::vector<std::vector<BYTE>> writes;
    for (const AccessCall& call : Calls())
        if (call.kind == AccessCall::WriteBlock) writes.push_back(call.bytes);
    return writes;
}

void RecordingAccess::Clear()
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.clear();
}

HRESULT ScriptedCard::IsSignalLocked(DWORD* locked)
{
    const Answer& answer = m_answers[std::min<size_t>(static_cast<size_t>(m_calls), m_answers.size() - 1)];
    ++m_calls;
    if (SUCCEEDED(answer.hr)) *locked = answer.locked;
    return answer.hr;
}

namespace {

std::map<HWND, ScanRecorder*>& Recorders()
{
    static std::map<HWND, ScanRecorder*> recorders;
    return recorders;
}

}  // namespace

ScanRecorder::ScanRecorder()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ScanRecorder::Proc;
    wc.lpszClassName = "ScanRecorder";
    RegisterClassA(&wc);
    m_window = CreateWindowExA(0, "ScanRecorder", "scan", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    Recorders()[m_window] = this;
}

ScanRecorder::~ScanRecorder()
{
    Recorders().erase(m_window);
    if (IsWindow(m_window)) DestroyWindow(m_window);
}

LRESULT CALLBACK ScanRecorder::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto it = Recorders().find(window);
    if (it != Recorders().end()) {
        if (message == WM_TV_SEARCH_STEP) {
            it->second->steps.push_back({wParam, lParam});
            return 0;
        }
        if (message == WM_TV_SEARCH_END) {
            ++it->second->ends;
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ScanRecorder::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

bool ScanRecorder::WaitForEnd(DWORD limitMs)
{
    const UINT_PTR timer = SetTimer(m_window, 1, limitMs, nullptr);
    bool timedOut = false;
    MSG msg;
    while (ends == 0 && GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_TIMER && msg.hwnd == m_window) {
            timedOut = true;
            break;
        }
        DispatchMessageA(&msg);
    }
    KillTimer(m_window, timer);
    return !timedOut && ends > 0;
}
