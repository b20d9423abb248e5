// Test doubles around a tuner: an access object that records every I2C request and answers
// reads from a script, a card that answers the video-decoder lock from a script, and a window
// that records the scan messages it receives.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "support/TestAccessBase.h"
#include "tuners/TunerBase.h"

// One request as the access object received it.
struct AccessCall {
    enum Kind { WriteBlock, ReadBlock, Write, Read, VideoStatus } kind;
    std::vector<BYTE> bytes;  // block transfers: the buffer as given; single: address, sub, data
    DWORD thread = 0;         // the calling thread

    bool operator==(const AccessCall& other) const { return kind == other.kind && bytes == other.bytes; }
};

class RecordingAccess : public TestAccessBase {
public:
    HRESULT I2C_Read(BYTE address, int sub, BYTE* data) override;
    HRESULT I2C_Write(BYTE address, int sub, BYTE data) override;
    HRESULT I2C_ReadBlock(BYTE* buf, int len) override;
    HRESULT I2C_WriteBlock(BYTE* buf, int len) override;
    HRESULT Reserved27(DWORD* value) override;

    std::vector<AccessCall> Calls() const;
    std::vector<std::vector<BYTE>> BlockWrites() const;
    void Clear();

    // Answers: the status byte of a block read, a register read, the video status; results.
    std::function<BYTE()> statusByte = [] { return BYTE(0); };
    std::function<BYTE(BYTE address, BYTE sub)> registerByte = [](BYTE, BYTE) { return BYTE(0); };
    std::function<DWORD()> videoStatus = [] { return DWORD(0); };
    HRESULT writeResult = S_OK;
    HRESULT readResult = S_OK;

private:
    void Record(AccessCall call);

    mutable std::mutex m_lock;
    std::vector<AccessCall> m_calls;
};

// The card's video-decoder lock: each call takes the next scripted answer, the last one repeats.
class ScriptedCard : public CTunerOwnerCard {
public:
    struct Answer {
        HRESULT hr;
        DWORD locked;
    };
    explicit ScriptedCard(std::vector<Answer> answers) : m_answers(std::move(answers)) {}
    HRESULT IsSignalLocked(DWORD* locked) override;
    long GetAccessKind() const override { return kind; }
    int Calls() const { return m_calls; }

    long kind = 2;  // the KS-property access unless a test names another

private:
    std::vector<Answer> m_answers;
    int m_calls = 0;
};

// A window on the test thread that records the scan messages posted to it.
class ScanRecorder {
public:
    struct Step {
        WPARAM kHz;
        LPARAM found;
    };
    ScanRecorder();
    ~ScanRecorder();
    HWND Window() const { return m_window; }
    // Pumps the test thread's queue until WM_TV_SEARCH_END arrived (or `limitMs` of platform time).
    bool WaitForEnd(DWORD limitMs = 3600000);
    // Pumps what is queued now.
    void Pump();
    std::vector<Step> steps;
    int ends = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window = nullptr;
};
