// The background writer of one image: writes it byte by byte through a card's byte-access
// interface on a thread of its own and reports progress to a window.
#pragma once

#include <windows.h>

#include <atomic>

#include "dunmorra/DunmorraApi.h"
#include "dunmorra/EepromRWInterface.h"
#include "dunmorra/memdata.h"

#pragma GCC visibility push(default)
#include "zelk/cyurkthread.h"
#pragma GCC visibility pop

// Posted to the window after each byte and at the end: wParam the CWriteThread, lParam the
// progress (0 to 100), then one end value.
#define WM_EEPROM_WRITE_PROGRESS (WM_USER + 40)
// End values: every byte written and read back equal; the write is incomplete or wrong.
#define EEPROM_WRITE_FINISHED 101
#define EEPROM_WRITE_FAILED 102

// What became of a write, as far as it has come.
struct CWriteOutcome {
    bool bEnded;           // the end value has been posted
    bool bVerified;        // every byte written and read back equal (posted 101)
    bool bStopped;         // stopped before the image was written and checked (also in the start wait)
    int iFailedBytes;      // bytes whose WriteByte answered false
    int iMismatchedBytes;  // bytes that read back different or could not be read back
};

class DUNMORRA_API CWriteThread : public zelk::MThread {
public:
    // Copies the bytes; the interface must outlive the thread. A delay below 1 ms becomes 1.
    CWriteThread(CEepromRWInterface* pInterface, unsigned char* pData, int iSize, int iStartAddress, HWND hWnd,
                 int iDelay);
    CWriteThread(const CWriteThread&) = delete;
    CWriteThread& operator=(const CWriteThread&) = delete;
    ~CWriteThread() override;

    CEepromRWInterface* GetRWInterface() const { return m_pInterface; }
    CWriteOutcome GetOutcome() const;

protected:
    int Run() override;
    // Interface, bytes, window, and a range that lies inside the 256-byte EEPROM.
    bool CheckData();
    void SendMsg(int iValue);

private:
    // Reads the written range back; the number of bytes that differ, -1 when stopped meanwhile.
    int CountMismatches();
    void End(bool bStopped, int iMismatched);

    CMemData m_data;
    int m_iStartAddress;
    HWND m_hWnd;
    int m_iDelay;
    CEepromRWInterface* m_pInterface;

    std::atomic<int> m_iFailedBytes;
    std::atomic<int> m_iMismatchedBytes;
    std::atomic<bool> m_bStopped;
    std::atomic<int> m_iEndValue;  // 0 until the end value is posted
};
