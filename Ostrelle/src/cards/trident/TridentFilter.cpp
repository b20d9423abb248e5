// The Trident bridge PCI card ("RiriRir Capture") and its crossbar ("RiriRir Crossbar").
#include "cards/trident/TridentFilter.h"

#include <new>

#include "access/TridentAccess.h"

IMPLEMENT_CARD_FILTER_CLASS(CTridentFilter, &CLSID_VideoInputDeviceCategory, CTridentFilter::kCaptureName)

namespace {

// The modes SetTunerMode puts to the tuner.
constexpr long kTunerModes[] = {AMTUNER_MODE_TV, AMTUNER_MODE_FM_RADIO, AMTUNER_MODE_AM_RADIO, AMTUNER_MODE_DSS};

}  // namespace

CTridentFilter::~CTridentFilter() {
    StopCardThreads();
    m_pTVTuner.Release();
    RemoveUpstreamFilter(m_pTunerFilter);
}

LONG_PTR CTridentFilter::OnCommand(LONG_PTR arg) { return SetTunerMode(static_cast<long>(arg)); }

HRESULT CTridentFilter::InitAccess() {
    if (const HRESULT made = NewAccess<CTridentAccess>(ACCESS_KIND_NONE); made != S_OK) return made;
    m_pTVTuner.Release();
    SearchUpstreamInGraph([this] { FindCaptureTVTuner(m_pTVTuner); });
    return m_pAccess->Init(m_pFilter, this);
}

HRESULT CTridentFilter::ReadFactoryModel() {
    m_nFactory = 'N';
    m_nTunerModel = 0;
    const HRESULT hr = GetTunerInfo(&m_nFactory, &m_nTunerModel);
    if (m_nFactory == 'N') m_nFactory = kDefaultFactory;
    if (m_nTunerModel == 0 || m_nTunerModel == 0xFF) m_nTunerModel = kDefaultModel;
    return hr;
}

BOOL CTridentFilter::SendGPIOCommand(DWORD value, DWORD mask, DWORD) { return WriteGpio(value, mask); }

BOOL CTridentFilter::SetTunerMode(long mode) {
    if (m_pTVTuner == nullptr) return FALSE;
    long available = 0;
    if (FAILED(m_pTVTuner->GetAvailableModes(&available))) return FALSE;
    for (long known : kTunerModes) {
        if (mode == known && (available & mode) != 0) {
            return SUCCEEDED(m_pTVTuner->put_Mode(static_cast<AMTunerModeType>(mode))) ? TRUE : FALSE;
        }
    }
    return FALSE;
}

BOOL CTridentFilter::IsEepromMarkF() { return HasEepromMark(kMarkF); }

// ---- crossbar ----

IMPLEMENT_CARD_FILTER_CLASS(CTridentCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CTridentCrossbarFilter::kCrossbarName)

void CTridentCrossbarFilter::InitRouteTable() { SetRouteTable({0, 1, 2}, {4, 5, 6}); }
