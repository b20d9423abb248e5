// CEppromWriter: reading a card's EEPROM and the background write threads it owns.
#include <algorithm>

#include "dunmorra/EppromWriter.h"

namespace {

constexpr int kEepromSize = 256;

}  // namespace

bool CEppromWriter::ReadEeprom(CEepromRWInterface* pInterface, CMemData& data) {
    if (pInterface == nullptr) return false;
    if (!data.Create(kEepromSize, 0x00)) return false;
    unsigned char* bytes = data.GetData();
    for (int address = 0; address < kEepromSize; ++address) {
        unsigned char value = 0;
        if (!pInterface->ReadByte(static_cast<unsigned char>(address), &value)) return false;
        bytes[address] = value;
    }
    return true;
}

bool CEppromWriter::ReadEeprom(CEepromRWInterface* pInterface, const char* pszPath) {
    CMemData data;
    return ReadEeprom(pInterface, data) && WriteEppromToFile(pszPath, data.GetData(), data.GetDataSize());
}

CWriteThread* CEppromWriter::WriteEeprom(CEepromRWInterface* pInterface, unsigned char* pData, int iSize,
                                         int iStartAddress, HWND hWnd, int iDelay) {
    if (pInterface == nullptr || pData == nullptr || !IsWindow(hWnd)) return nullptr;
    // The whole range must lie inside the EEPROM: an address never wraps onto its start.
    if (iSize < 1 || iStartAddress < 0 || iSize > kEepromSize - iStartAddress) return nullptr;
    CWriteThread* thread = new CWriteThread(pInterface, pData, iSize, iStartAddress, hWnd, iDelay);
    if (thread->GetThreadHandle() == nullptr) {
        // No thread could be created: the request is not running, so it is not reported as started.
        TRACE("CEppromWriter::WriteEeprom - the write thread could not be created\n");
        delete thread;
        return nullptr;
    }
    if (thread->Resume() == -1) {
        // A thread that never runs would never report its end: the caller would wait for it for good.
        TRACE("CEppromWriter::WriteEeprom - the write thread could not be started\n");
        delete thread;
        return nullptr;
    }
    m_vecThreads.push_back(thread);
    return thread;
}

CWriteThread* CEppromWriter::WriteEeprom(CEepromRWInterface* pInterface, CEppromData& image, HWND hWnd, int iDelay) {
    return WriteEeprom(pInterface, image.GetData(), image.GetDataSize(), 0, hWnd, iDelay);
}

CWriteThread* CEppromWriter::WriteEeprom(CEepromRWInterface* pInterface, CMemData& data, HWND hWnd, int iDelay) {
    return WriteEeprom(pInterface, data.GetData(), data.GetDataSize(), 0, hWnd, iDelay);
}

CWriteThread* CEppromWriter::WriteEeprom(CEepromRWInterface* pInterface, const char* pszPath, HWND hWnd, int iDelay) {
    CMemData data;
    if (!LoadFromFile(pszPath, data)) return nullptr;
    return WriteEeprom(pInterface, data, hWnd, iDelay);
}

CWriteThread* CEppromWriter::WriteEeprom(CEepromRWInterface* pInterface, unsigned char ucValue, HWND hWnd,
                                         int iDelay) {
    CMemData data;
    if (!data.Create(kEepromSize, ucValue)) return nullptr;
    return WriteEeprom(pInterface, data, hWnd, iDelay);
}

void CEppromWriter::DeleteAllWriteThread() {
    for (CWriteThread* thread : m_vecThreads) delete thread;
    m_vecThreads.clear();
}

int CEppromWriter::DeleteWriteThread(CEepromRWInterface* pInterface) {
    int removed = 0;
    for (size_t i = m_vecThreads.size(); i-- > 0;) {
        if (m_vecThreads[i]->GetRWInterface() != pInterface) continue;
        delete m_vecThreads[i];
        m_vecThreads.erase(m_vecThreads.begin() + i);
        ++removed;
    }
    return removed;
}

bool CEppromWriter::DeleteWriteThread(CWriteThread* pThread) {
    auto it = std::find(m_vecThreads.begin(), m_vecThreads.end(), pThread);
    if (it == m_vecThreads.end()) return false;
    delete *it;
    m_vecThreads.erase(it);
    return true;
}
