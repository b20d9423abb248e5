#include "dunmorra/WriteThread.h"

namespace {

constexpr int kEepromSize = 256;
constexpr DWORD kStartWaitMs = 100;

}  // namespace

CWriteThread::CWriteThread(CEepromRWInterface* pInterface, unsigned char* pData, int iSize, int iStartAddress,
                           HWND hWnd, int iDelay)
    : m_iStartAddress(iStartAddress),
      m_hWnd(hWnd),
      m_iDelay(iDelay < 1 ? 1 : iDelay),
      m_pInterface(pInterface),
      m_iFailedBytes(0),
      m_iMismatchedBytes(0),
      m_bStopped(false),
      m_iEndValue(0) {
    m_data.Copy(pData, iSize);
}

CWriteThread::~CWriteThread() {
    Stop();
    m_data.Release();
}

CWriteOutcome CWriteThread::GetOutcome() const {
    CWriteOutcome outcome;
    int end = m_iEndValue.load();
    outcome.bEnded = end != 0;
    outcome.bVerified = end == EEPROM_WRITE_FINISHED;
    outcome.bStopped = m_bStopped.load();
    outcome.iFailedBytes = m_iFailedBytes.load();
    outcome.iMismatchedBytes = m_iMismatchedBytes.load();
    return outcome;
}

bool CWriteThread::CheckData() {
    if (m_pInterface == nullptr || !m_data.IsValid() || !IsWindow(m_hWnd)) return false;
    return m_iStartAddress >= 0 && m_iStartAddress + m_data.GetDataSize() <= kEepromSize;
}

void CWriteThread::SendMsg(int iValue) {
    if (IsWindow(m_hWnd)) PostMessageA(m_hWnd, WM_EEPROM_WRITE_PROGRESS, reinterpret_cast<WPARAM>(this), iValue);
}

int CWriteThread::Run() {
    if (!CheckData()) return -1;
    const unsigned char* data = m_data.GetData();
    const int size = m_data.GetDataSize();
    while (!IsStopSet()) {
        if (WaitForSingleObject(GetStopEvent(), kStartWaitMs) != WAIT_TIMEOUT) continue;
        int written = 0;
        for (int i = 0; i < size; ++i) {
            if (IsStopSet()) break;
            if (!m_pInterface->WriteByte(m_iStartAddress + i, data[i])) ++m_iFailedBytes;
            ++written;
            SendMsg((i + 1) * 100 / size);
            if (WaitForSingleObject(GetStopEvent(), DWORD(m_iDelay)) != WAIT_TIMEOUT) break;
        }
        // Stopped before the first byte: nothing was written, nothing is reported.
        if (written == 0) {
            m_bStopped = true;
            return 1;
        }
        if (written < size || IsStopSet()) {
            End(true, 0);
            return 1;
        }
        int mismatched = CountMismatches();
        End(mismatched < 0, mismatched < 0 ? 0 : mismatched);
        return m_iEndValue.load() == EEPROM_WRITE_FINISHED ? 0 : 1;
    }
    m_bStopped = true;
    return 0;
}

int CWriteThread::CountMismatches() {
    const unsigned char* data = m_data.GetData();
    int mismatched = 0;
    for (int i = 0; i < m_data.GetDataSize(); ++i) {
        if (IsStopSet()) return -1;
        unsigned char value = 0;
        if (!m_pInterface->ReadByte(static_cast<unsigned char>(m_iStartAddress + i), &value) || value != data[i])
            ++mismatched;
    }
    return mismatched;
}

void CWriteThread::End(bool bStopped, int iMismatched) {
    m_iMismatchedBytes = iMismatched;
    m_bStopped = bStopped;
    bool verified = !bStopped && iMismatched == 0 && m_iFailedBytes.load() == 0;
    int end = verified ? EEPROM_WRITE_FINISHED : EEPROM_WRITE_FAILED;
    m_iEndValue = end;
    SendMsg(end);
}
