// The DVB-C card ("DVBC TS Capture"): a transport-stream capture card on the DM1105 chip.
#include "cards/devices/DVBCCardFilter.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "access/DvbcAccess.h"

CFilterClassRecord CDVBCCardFilter::s_classRecord(nullptr, &CLSID_VideoInputDeviceCategory,
                                                  CDVBCCardFilter::kCaptureName, &CDVBCCardFilter::CreateInstance);

std::mutex CDVBCCardFilter::s_keyLock;
CDVBCCardFilter* CDVBCCardFilter::s_pKeyCard = nullptr;

namespace {

constexpr BYTE kPowerOn = 0x90;
constexpr BYTE kPowerOff = 0x00;
constexpr DWORD kDefaultSymbolRate = 6875;
constexpr DWORD kDefaultTuneValue = 2;
constexpr int kSpareBands = 10;

// Serialises the starts and stops of the remote keys across their library calls; a platform
// lock, so a thread waiting for it lets the clock go on.
class RegistrationLock {
public:
    RegistrationLock() { InitializeCriticalSection(&m_cs); }
    ~RegistrationLock() { DeleteCriticalSection(&m_cs); }
    RegistrationLock(const RegistrationLock&) = delete;
    RegistrationLock& operator=(const RegistrationLock&) = delete;
    CRITICAL_SECTION* Get() { return &m_cs; }

private:
    CRITICAL_SECTION m_cs;
};

class RegistrationTurn {
public:
    RegistrationTurn() : m_lock(Lock()) { EnterCriticalSection(m_lock); }
    ~RegistrationTurn() { LeaveCriticalSection(m_lock); }
    RegistrationTurn(const RegistrationTurn&) = delete;
    RegistrationTurn& operator=(const RegistrationTurn&) = delete;

private:
    static CRITICAL_SECTION* Lock() {
        static RegistrationLock lock;
        return lock.Get();
    }
    CRITICAL_SECTION* m_lock;
};

}  // namespace

CRootFilter* CDVBCCardFilter::CreateInstance(CRootGraph* graph, int flag) {
    return CreateFilterOfClass<CDVBCCardFilter>(s_classRecord, graph, flag);
}

CDVBCCardFilter::CDVBCCardFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CTVCardFilter(owner, category, friendlyName, flag) {}

CDVBCCardFilter::CDVBCCardFilter(CRootGraph* owner, REFCLSID clsid) : CTVCardFilter(owner, clsid) {}

CDVBCCardFilter::~CDVBCCardFilter() {
    StopRemoteKeys();
    StopCardThreads();
    PlaceholderD(0);
    delete[] m_pBands;
    m_pBands = nullptr;
    m_nBandCount = 0;
    m_pControl.Release();
}

BOOL CDVBCCardFilter::Create() {
    delete[] m_pBands;
    m_pBands = nullptr;
    m_nBandCount = 0;
    m_dwSymbolRate = kDefaultSymbolRate;
    m_dwTuneValue = kDefaultTuneValue;
    m_hKeyWindow = nullptr;
    m_dwNotify1 = 0;
    m_dwNotify2 = 0;
    m_nKeyPending = 0;
    std::memset(m_params, 0, sizeof(m_params));
    if (!IsValid()) return FALSE;
    m_pControl.Release();
    if (FAILED(m_pFilter->QueryInterface(IID_IDvbcControl, reinterpret_cast<void**>(&m_pControl))) ||
        m_pControl == nullptr) {
        m_pControl.Release();
        return FALSE;
    }
    return CTVCardFilter::Create();
}

HRESULT CDVBCCardFilter::InitAccess() {
    if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
    m_nAccessKind = ACCESS_KIND_DVBC;
    CDvbcAccess* access = new (std::nothrow) CDvbcAccess();
    if (access == nullptr) return E_OUTOFMEMORY;
    m_pAccess = access;
    m_pAccess->Init(m_pFilter, this);
    return S_OK;
}

// ---- EEPROM ----

HRESULT CDVBCCardFilter::WriteEeprom(BYTE* buffer, BYTE address, int* count, DWORD delayMs) {
    if (buffer == nullptr || count == nullptr) return E_POINTER;
    if (*count < 1 || *count > kEepromSize - address) return E_INVALIDARG;
    HRESULT result = S_OK;
    for (int i = 0; i < *count && address + i < kEepromBytes; ++i) {
        if (WriteEEPROM(static_cast<BYTE>(address + i), buffer + i, 1) == 0 && result == S_OK) result = E_FAIL;
        Sleep(delayMs);
    }
    return result;
}

HRESULT CDVBCCardFilter::ReadEeprom(BYTE* buffer, BYTE address, int* count) {
    if (buffer == nullptr || count == nullptr) return E_POINTER;
    if (*count < 1 || *count > kEepromBytes - address) {
        *count = 0;
        return E_INVALIDARG;
    }
    int read = 0;
    for (int i = 0; i < *count; ++i) {
        BYTE value = 0;
        if (ReadEEPROM(static_cast<BYTE>(address + i), &value, 1) != 0) {
            buffer[i] = value;
            ++read;
        }
    }
    const HRESULT result = read == *count ? S_OK : E_FAIL;
    *count = read;
    return result;
}

// ---- band table ----

void CDVBCCardFilter::SetBandTable(const DvbcBand* table, int count) {
    // The table is sized with ten spare entries; a count that leaves no room for them is refused.
    if (table == nullptr || count < 0 || count > std::numeric_limits<int>::max() - kSpareBands) return;
    delete[] m_pBands;
    m_pBands = nullptr;
    m_nBandCount = 0;
    m_pBands = new (std::nothrow) DvbcBand[static_cast<size_t>(count) + kSpareBands]();
    if (m_pBands == nullptr) return;
    std::copy(table, table + count, m_pBands);
    m_nBandCount = count;
}

const DvbcBand* CDVBCCardFilter::GetBandEntry(int index) const {
    return m_pBands != nullptr && index >= 0 && index < m_nBandCount ? &m_pBands[index] : nullptr;
}

void CDVBCCardFilter::GetBandRange(DWORD* low, DWORD* high) const {
    if (low == nullptr || high == nullptr) return;
    if (m_pBands == nullptr || m_nBandCount == 0) {
        *low = kDefaultLow;
        *high = kDefaultHigh;
        return;
    }
    *low = m_pBands[0].dwStart;
    *high = m_pBands[0].dwEnd;
    for (int i = 1; i < m_nBandCount; ++i) {
        *low = std::min(*low, m_pBands[i].dwStart);
        *high = std::max(*high, m_pBands[i].dwEnd);
    }
    if (*low > *high) std::swap(*low, *high);
}

void CDVBCCardFilter::GetParamBlock(BYTE block[8]) const {
    if (block != nullptr) std::memcpy(block, m_params, sizeof(m_params));
}

void CDVBCCardFilter::SetParamBlock(const BYTE block[8]) {
    if (block != nullptr) std::memcpy(m_params, block, sizeof(m_params));
}

void CDVBCCardFilter::SetNotifyWindow(HWND window, DWORD value1, DWORD value2) {
    m_hKeyWindow = window;
    m_dwNotify1 = value1;
    m_dwNotify2 = value2;
}

// ---- remote keys ----

int CDVBCCardFilter::StartRemoteKeys() {
    m_nKeyPending = 0;
    // Starts and stops run one at a time across the library calls, so a stop's unregistration
    // never falls after a new holder's registration. The card holds the callback before the
    // library is called, so a key delivered inside the registration reaches it.
    RegistrationTurn turn;
    {
        std::lock_guard<std::mutex> lock(s_keyLock);
        if (s_pKeyCard != nullptr) return 1;
        s_pKeyCard = this;
    }
    const int registered = RegIRkeyCallback(&CDVBCCardFilter::RemoteKeyCallback, 0, this);
    if (registered == 0) {
        std::lock_guard<std::mutex> lock(s_keyLock);
        s_pKeyCard = nullptr;
    }
    return registered;
}

void CDVBCCardFilter::StopRemoteKeys() {
    m_nKeyPending = 0;
    RegistrationTurn turn;
    {
        std::lock_guard<std::mutex> lock(s_keyLock);
        if (s_pKeyCard != this) return;
        s_pKeyCard = nullptr;
    }
    UnregIRkeyCallback();
}

void CALLBACK CDVBCCardFilter::RemoteKeyCallback(BYTE unused, DWORD keyValue) {
    std::lock_guard<std::mutex> lock(s_keyLock);
    if (s_pKeyCard != nullptr) s_pKeyCard->OnRemoteKey(unused, keyValue);
}

void CDVBCCardFilter::OnRemoteKey(BYTE, DWORD keyValue) {
    const HWND window = m_hKeyWindow;
    if (window == nullptr) return;
    int idle = 0;
    if (!m_nKeyPending.compare_exchange_strong(idle, 1)) return;
    PostMessageA(window, WM_REMOTE_KEY, keyValue & 0xFF, 0);
}

void CDVBCCardFilter::SetPortPower(BOOL on) { WritePortBYTE(kPowerPort, on ? kPowerOn : kPowerOff); }

BOOL CDVBCCardFilter::IsValidBuffer(const void* pointer, DWORD, BOOL) { return pointer != nullptr ? TRUE : FALSE; }

// ---- IDvbcControl ----

BOOL CDVBCCardFilter::StartStream() { return m_pControl != nullptr && Succeeded(m_pControl->StartStream()); }
BOOL CDVBCCardFilter::StopStream() { return m_pControl != nullptr && Succeeded(m_pControl->StopStream()); }
BOOL CDVBCCardFilter::Tune(DWORD frequency, WORD symbolRate) {
    return m_pControl != nullptr && Succeeded(m_pControl->Tune(frequency, symbolRate));
}
BOOL CDVBCCardFilter::ResetDemodulator() { return m_pControl != nullptr && Succeeded(m_pControl->ResetDemodulator()); }
BOOL CDVBCCardFilter::SetModulation(DWORD modulation) {
    return m_pControl != nullptr && Succeeded(m_pControl->SetModulation(modulation));
}
BOOL CDVBCCardFilter::SetSpectrumInversion(DWORD inversion) {
    return m_pControl != nullptr && Succeeded(m_pControl->SetSpectrumInversion(inversion));
}
BOOL CDVBCCardFilter::AddPid(DWORD pid) { return m_pControl != nullptr && Succeeded(m_pControl->AddPid(pid)); }
BOOL CDVBCCardFilter::RemovePid(DWORD pid) { return m_pControl != nullptr && Succeeded(m_pControl->RemovePid(pid)); }
BOOL CDVBCCardFilter::SetStreamMode(DWORD mode) {
    return m_pControl != nullptr && Succeeded(m_pControl->SetStreamMode(mode));
}
BOOL CDVBCCardFilter::SetTunerPower(DWORD on) { return m_pControl != nullptr && Succeeded(m_pControl->SetTunerPower(on)); }
BOOL CDVBCCardFilter::WriteDemodRegister(DWORD reg, DWORD value) {
    return m_pControl != nullptr && Succeeded(m_pControl->WriteDemodRegister(reg, value));
}
