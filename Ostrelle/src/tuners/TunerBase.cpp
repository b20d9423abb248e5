// CTunerBase: the analog TV and FM tuner of one card.
#include "tuners/TunerBase.h"

#include "access/CustomDataAccess.h"
#include "tuners/FMScanThread.h"
#include "tuners/FrequencyMath.h"
#include "tuners/SigBase.h"
#include "graph/Thread.h"
#include "tuners/TunerModules.h"

namespace {

// Picture carriers in MHz: 5 VHF-I channels, then 112.25 to 464.25, 471.25 to 559.25 and
// 607.25 to 863.25, each in steps of 8.
std::vector<float> MakeDefaultChannelTable()
{
    std::vector<float> table = {49.75f, 57.75f, 65.75f, 77.25f, 85.25f};
    const struct {
        float first;
        int count;
    } runs[] = {{112.25f, 45}, {471.25f, 12}, {607.25f, 33}};
    for (const auto& run : runs)
        for (int i = 0; i < run.count; ++i) table.push_back(run.first + 8.0f * static_cast<float>(i));
    return table;
}

}  // namespace

const float* CTunerBase::DefaultChannelTable(long* count)
{
    static const std::vector<float> table = MakeDefaultChannelTable();
    if (count != nullptr) *count = static_cast<long>(table.size());
    return table.data();
}

CTunerBase::CTunerBase(CCustomDataAccess* pAccess) : m_pAccess(pAccess)
{
    InitializeCriticalSection(&m_csBus);
    long count = 0;
    const float* table = DefaultChannelTable(&count);
    m_vecChannelTable.assign(table, table + count);
    m_lSweepRangeLow = m_lLowest.load();
    m_lSweepRangeHigh = m_lHighest.load();
}

CTunerBase::~CTunerBase()
{
    delete m_pSigBase;
    m_pSigBase = nullptr;
    delete m_pFMScan;
    m_pFMScan = nullptr;
    DeleteCriticalSection(&m_csBus);
}

void CTunerBase::SetModule(const TunerModuleRow& row)
{
    m_lFactory = row.factory;
    m_lModelCode = row.model;
    m_lSecondModel = row.secondModel != 0 ? row.secondModel : row.model;
    m_ucLockMask = row.lockMask;
    m_ucReadAddr = row.readAddr;
    m_ucWriteAddr = row.writeAddr;
    m_ucControl = row.control;
    for (int i = 0; i < 3; ++i) m_ucBand[i] = row.band[i];
    m_lLowest = row.range.lowest;
    m_lLowBandTop = row.range.lowBandTop;
    m_lMidBandTop = row.range.midBandTop;
    m_lHighest = row.range.highest;
    m_lIF = row.range.ifKHz;
    m_bFMCapable = row.fm.capable;
    m_lFMRangeLow = row.fm.low;
    m_lFMRangeHigh = row.fm.high;
    m_lFMIF = row.fm.ifKHz;
    m_ucFMControl = row.fm.control;
    m_ucFMBand = row.fm.band;
    m_lFMLockValue = row.fm.lockValue;
    for (int i = 0; i < 5; ++i) m_lAfc[i] = row.afc[i];
    m_bReapplyStandard = row.reapplyStandard;
    m_lCurrentStandard = row.currentStandard;
    for (long standard : row.standards) {
        if (standard == 0) break;
        m_vecStandards.push_back(standard);
    }
}

void CTunerBase::CopyFrom(const CTunerBase* other)
{
    if (other == nullptr) return;
    CScopedLock lock(&m_csBus);
    m_lFactory = other->m_lFactory;
    m_lModelCode = other->m_lModelCode;
    m_ucLockMask = other->m_ucLockMask;
    m_ucControl = other->m_ucControl;
    for (int i = 0; i < 3; ++i) m_ucBand[i] = other->m_ucBand[i];
    m_lLowest = other->m_lLowest.load();
    m_lLowBandTop = other->m_lLowBandTop;
    m_lMidBandTop = other->m_lMidBandTop;
    m_lHighest = other->m_lHighest.load();
    m_lFMRangeLow = other->m_lFMRangeLow.load();
    m_lFMRangeHigh = other->m_lFMRangeHigh.load();
    m_bFMCapable = other->m_bFMCapable.load();
    m_lIF = other->m_lIF;
    m_lFMStep = other->m_lFMStep.load();
    m_ucFMControl = other->m_ucFMControl;
    m_ucFMBand = other->m_ucFMBand;
    m_lFMIF = other->m_lFMIF;
    m_lFMLockValue = other->m_lFMLockValue.load();
    if (m_lModelCode == 72 || m_lModelCode == 73)
        for (int i = 0; i < 5; ++i) m_lAfc[i] = other->m_lAfc[i].load();
    if (m_lModelCode == 13) m_ucReadAddr = 0x86;
    for (long standard : other->m_vecStandards) m_vecStandards.push_back(standard);
}

// ---- tuning and status ----

BOOL CTunerBase::SetTVChannelFreq(float kHz)
{
    const double f = kHz;
    if (!std::isfinite(f)) return FALSE;
    if (f > static_cast<double>(m_lHighest) || f < static_cast<double>(m_lLowest)) return FALSE;
    CScopedLock lock(&m_csBus);
    BYTE band = f < static_cast<double>(m_lLowBandTop)   ? m_ucBand[0]
                : f < static_cast<double>(m_lMidBandTop) ? m_ucBand[1]
                                                         : m_ucBand[2];
    long divider = 0;
    if (!TruncateToLong((static_cast<double>(m_lIF) + f) * 16.0 / 1000.0, &divider)) return FALSE;
    BYTE buffer[5] = {m_ucWriteAddr, static_cast<BYTE>((divider >> 8) & 0xFF), static_cast<BYTE>(divider & 0xFF),
                      m_ucControl, band};
    HRESULT hr = m_pAccess != nullptr ? m_pAccess->I2C_WriteBlock(buffer, 5) : E_FAIL;
    TRACE("SetTVChannelFreq = %f , hr = %d \n", f, static_cast<int>(hr));
    return hr == S_OK ? TRUE : FALSE;
}

BOOL CTunerBase::GetTVChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    BYTE buffer[1] = {m_ucReadAddr};
    HRESULT hr = m_pAccess != nullptr ? m_pAccess->I2C_ReadBlock(buffer, 1) : E_FAIL;
    TRACE("PLL Data:%x ", buffer[0]);
    BOOL result = FALSE;
    if (hr == S_OK && (buffer[0] & m_ucLockMask) != 0 && status != nullptr) {
        *status = buffer[0] & 7;
        TRACE("Prev 3 bit : 0x%02x         ", buffer[0]);
        result = TRUE;
    }
    TRACE("GetTVChannelOkay : %d,hr = %d\n", status != nullptr ? static_cast<int>(*status) : 0, static_cast<int>(hr));
    return result;
}

BOOL CTunerBase::IsTVChannelLocked()
{
    DWORD status = 0;
    return GetTVChannelOkay(&status) && static_cast<long>(status) == m_lAfc[2] ? TRUE : FALSE;
}

BOOL CTunerBase::SetFMChannelFreq(float kHz)
{
    double f = kHz;
    if (!std::isfinite(f)) return FALSE;
    if (static_cast<double>(m_lFMRangeHigh) <= f) f = static_cast<double>(m_lFMRangeHigh);
    if (static_cast<double>(m_lFMRangeLow) > f) f = static_cast<double>(m_lFMRangeLow);
    CScopedLock lock(&m_csBus);
    long divider = 0;
    if (!TruncateToLong((static_cast<double>(m_lFMIF) + f) / 31.25, &divider)) return FALSE;
    TRACE("SetFMChannelFreq :%f\n", f);
    BYTE buffer[5] = {m_ucWriteAddr, static_cast<BYTE>((divider >> 8) & 0xFF), static_cast<BYTE>(divider & 0xFF),
                      m_ucFMControl, m_ucFMBand};
    HRESULT hr = m_pAccess != nullptr ? m_pAccess->I2C_WriteBlock(buffer, 5) : E_FAIL;
    return hr == S_OK ? TRUE : FALSE;
}

BOOL CTunerBase::GetFMChannelOkay(DWORD* status)
{
    CScopedLock lock(&m_csBus);
    BYTE buffer[1] = {m_ucReadAddr};
    HRESULT hr = m_pAccess != nullptr ? m_pAccess->I2C_ReadBlock(buffer, 1) : E_FAIL;
    BOOL result = FALSE;
    if (hr == S_OK && (buffer[0] & m_ucLockMask) != 0 && status != nullptr) {
        *status = buffer[0] & 7;
        result = TRUE;
    }
    TRACE("GetFMChannelOkay : %d,hr = %d\n", status != nullptr ? static_cast<int>(*status) : 0, static_cast<int>(hr));
    return result;
}

BOOL CTunerBase::IsFMChannelLocked()
{
    DWORD status = 0;
    return GetFMChannelOkay(&status) && static_cast<long>(status) == m_lFMLockValue ? TRUE : FALSE;
}

BOOL CTunerBase::SetVideoStandard(long)
{
    return TRUE;
}

BOOL CTunerBase::GetSignalLocked(DWORD* locked)
{
    if (m_pOwnerCard == nullptr || locked == nullptr) return FALSE;
    BOOL result = SUCCEEDED(m_pOwnerCard->IsSignalLocked(locked)) ? TRUE : FALSE;
    if (result && *locked == 0) {
        Sleep(10);
        result = SUCCEEDED(m_pOwnerCard->IsSignalLocked(locked)) ? TRUE : FALSE;
    }
    return result;
}

BOOL CTunerBase::GetVideoStatus(DWORD* status)
{
    if (m_pAccess == nullptr) return FALSE;
    CScopedLock lock(&m_csBus);
    return SUCCEEDED(m_pAccess->Reserved27(status)) ? TRUE : FALSE;
}

// ---- scan workers ----

BOOL CTunerBase::CreateSigBase()
{
    delete m_pSigBase;
    m_pSigBase = nullptr;
    m_pSigBase = new CSigBase(this);
    return m_pSigBase != nullptr ? TRUE : FALSE;
}

BOOL CTunerBase::CreateFMScanThread()
{
    delete m_pFMScan;
    m_pFMScan = nullptr;
    m_pFMScan = new CFMScanThread(this);
    return m_pFMScan != nullptr ? TRUE : FALSE;
}

BOOL CTunerBase::StartScan(BOOL bTV, BOOL bFullBand)
{
    if (m_bScanning) return FALSE;
    if (bTV) {
        CreateSigBase();
        if (m_pSigBase == nullptr) return FALSE;
        m_bScanning = TRUE;
        m_pSigBase->SetWindow(m_lSearchWindow);
        m_pSigBase->SetStep(m_lSearchStep);
        if (bFullBand) {
            m_pSigBase->SetSkip(m_lSweepSkip);
            m_pSigBase->SetHalfWindow(m_lSweepHalfWindow);
            m_pSigBase->SetSweepRange(m_lSweepRangeLow, m_lSweepRangeHigh);
        }
        m_pSigBase->SetFullBand(bFullBand);
        m_pSigBase->SetSettleTime(m_lSettleTime);
        m_pSigBase->Resume();
        return TRUE;
    }
    if (!m_bFMCapable) return FALSE;
    CreateFMScanThread();
    if (m_pFMScan == nullptr) return FALSE;
    m_bScanning = TRUE;
    m_pFMScan->SetRange(m_lFMRangeLow, m_lFMRangeHigh);
    m_pFMScan->SetStep(m_lFMStep);
    m_pFMScan->SetStepChecked(m_lFMWait);
    m_pFMScan->Resume();
    return TRUE;
}

void CTunerBase::StopScan()
{
    m_bScanning = FALSE;
    delete m_pSigBase;
    m_pSigBase = nullptr;
    delete m_pFMScan;
    m_pFMScan = nullptr;
}

BOOL CTunerBase::IsScanning()
{
    if (!m_bScanning) return FALSE;
    if (m_pSigBase == nullptr && m_pFMScan == nullptr) return TRUE;
    bool alive = (m_pSigBase != nullptr && m_pSigBase->GetThreadHandle() != nullptr) ||
                 (m_pFMScan != nullptr && m_pFMScan->GetThreadHandle() != nullptr);
    return alive ? TRUE : FALSE;
}

// ---- scan parameters ----

void CTunerBase::SetNotifyWindow(HWND window) { m_hNotifyWnd = window; }

HWND CTunerBase::GetNotifyWindow() const { return m_hNotifyWnd; }

BOOL CTunerBase::SetChannelTable(const float* table, long count)
{
    if (table == nullptr || count < 0) return FALSE;
    std::lock_guard<std::mutex> lock(m_tableLock);
    m_vecChannelTable.assign(table, table + count);
    return TRUE;
}

const float* CTunerBase::GetChannelTable(long* count)
{
    std::lock_guard<std::mutex> lock(m_tableLock);
    if (count != nullptr) *count = static_cast<long>(m_vecChannelTable.size());
    return m_vecChannelTable.data();
}

std::vector<float> CTunerBase::CopyChannelTable() const
{
    std::lock_guard<std::mutex> lock(m_tableLock);
    return m_vecChannelTable;
}

void CTunerBase::SetSearchWindow(long window)
{
    m_lSearchWindow = window;
    if (m_pSigBase != nullptr) m_pSigBase->SetWindow(window);
}

void CTunerBase::SetSearchStep(long step)
{
    m_lSearchStep = step;
    if (m_pSigBase != nullptr) m_pSigBase->SetStep(step);
}

void CTunerBase::SetSettleTime(long ms)
{
    if (ms < 1) return;
    m_lSettleTime = ms;
    if (m_pSigBase != nullptr) m_pSigBase->SetSettleTime(ms);
}

BOOL CTunerBase::SetFMStep(long step)
{
    if (step < 1) return FALSE;
    m_lFMStep = step;
    return TRUE;
}

BOOL CTunerBase::SetFMWait(long wait)
{
    if (wait < 1) return FALSE;
    m_lFMWait = wait;
    return TRUE;
}

BOOL CTunerBase::SetFMScanRange(long low, long high)
{
    if (!m_bFMCapable || low < 1 || high < low) return FALSE;
    m_lFMRangeLow = low;
    m_lFMRangeHigh = high;
    return TRUE;
}

BOOL CTunerBase::SetSweepParams(long skip, long half)
{
    if (half < 1 || skip <= half) return FALSE;
    m_lSweepSkip = skip;
    m_lSweepHalfWindow = half;
    return TRUE;
}

BOOL CTunerBase::SetSweepRange(long low, long high)
{
    if (low < 1 || high <= low) return FALSE;
    m_lSweepRangeLow = low;
    m_lSweepRangeHigh = high;
    return TRUE;
}
