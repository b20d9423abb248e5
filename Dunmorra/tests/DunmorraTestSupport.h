// Test helpers: a card EEPROM behind the byte-access interface, a window that collects the
// write threads' progress messages, and hexadecimal byte text.
#pragma once

#include <windows.h>

#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "dunmorra/EepromRWInterface.h"
#include "dunmorra/WriteThread.h"

// A 256-byte EEPROM, all 0xFF at first. Writes and reads can be made to fail at chosen addresses;
// a write-protected part acknowledges writes and stores nothing.
class FakeEeprom : public CEepromRWInterface {
public:
    FakeEeprom() {
        for (unsigned char& b : m_bytes) b = 0xFF;
    }
    bool ReadByte(unsigned char ucAddress, unsigned char* pucValue) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_reads;
        if (m_failReads.count(ucAddress)) return false;
        *pucValue = m_bytes[ucAddress];
        return true;
    }
    bool WriteByte(int iAddress, unsigned char ucValue) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_writes.push_back(iAddress);
        if (m_failWrites.count(iAddress)) return false;
        if (!m_writeProtected && iAddress >= 0 && iAddress < 256) m_bytes[iAddress] = ucValue;
        return true;
    }

    void FailReadAt(int address) { m_failReads.insert(address); }
    void FailWriteAt(int address) { m_failWrites.insert(address); }
    void SetWriteProtected(bool on) { m_writeProtected = on; }
    void Fill(const unsigned char* data, int size) {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int i = 0; i < size && i < 256; ++i) m_bytes[i] = data[i];
    }
    std::vector<unsigned char> Bytes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::vector<unsigned char>(m_bytes, m_bytes + 256);
    }
    std::vector<int> Writes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_writes;
    }
    int Reads() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_reads;
    }

private:
    std::mutex m_mutex;
    unsigned char m_bytes[256];
    std::set<int> m_failReads;
    std::set<int> m_failWrites;
    bool m_writeProtected = false;
    std::vector<int> m_writes;
    int m_reads = 0;
};

// A window of the test's thread that receives the write threads' messages.
class ProgressWindow {
public:
    struct Progress {
        WPARAM thread;
        LPARAM value;
    };

    ProgressWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "DunmorraTestProgress";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(0, "DunmorraTestProgress", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    // Leaves no message of this window behind in the thread's queue (the write threads have
    // ended by then: the fixtures destroy their writer first).
    ~ProgressWindow() {
        if (IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_EEPROM_WRITE_PROGRESS, WM_EEPROM_WRITE_PROGRESS, PM_REMOVE)) {
        }
    }
    HWND Handle() const { return m_hWnd; }

    // Waits for the next progress message (the clock moves on while the test waits).
    Progress Next() {
        MSG msg;
        if (GetMessageA(&msg, m_hWnd, WM_EEPROM_WRITE_PROGRESS, WM_EEPROM_WRITE_PROGRESS) > 0)
            return Progress{msg.wParam, msg.lParam};
        return Progress{0, -1};
    }
    // Every message up to and including the first end value (above 100).
    std::vector<Progress> UntilEnd() {
        std::vector<Progress> all;
        for (;;) {
            Progress p = Next();
            all.push_back(p);
            if (p.value > 100 || p.value < 0) return all;
        }
    }
    // The messages already queued.
    std::vector<Progress> Queued() {
        std::vector<Progress> all;
        MSG msg;
        while (PeekMessageA(&msg, m_hWnd, WM_EEPROM_WRITE_PROGRESS, WM_EEPROM_WRITE_PROGRESS, PM_REMOVE))
            all.push_back(Progress{msg.wParam, msg.lParam});
        return all;
    }

private:
    HWND m_hWnd = nullptr;
};

// "31 11 01 20" to bytes.
inline std::vector<unsigned char> HexBytes(const std::string& text) {
    std::vector<unsigned char> bytes;
    std::istringstream in(text);
    std::string item;
    while (in >> item) bytes.push_back(static_cast<unsigned char>(std::stoi(item, nullptr, 16)));
    return bytes;
}
