// The Sivren card ("Sivren Video Capture") and its crossbar ("Sivren Crossbar").
#include "cards/saa713x/SivrenCardFilter.h"

#include "access/KsPropertyAccess.h"
#include "cards/saa713x/Saa713xAudioSwitch.h"

IMPLEMENT_CARD_FILTER_CLASS(CSivrenCardFilter, &CLSID_VideoInputDeviceCategory, CSivrenCardFilter::kCaptureName)

CSivrenCardFilter::~CSivrenCardFilter() { StopCardThreads(); }

BOOL CSivrenCardFilter::Create() {
    m_strTunerFilterName = kTunerFilterName;
    m_ucFactoryAddr = kFactoryPlace;
    m_ucModelAddr = kModelPlace;
    return CTVCardFilter::Create();
}

HRESULT CSivrenCardFilter::SetAudioSource(int source, BOOL on) { return Saa713xSelectAudioSource(m_pAccess, source, on); }

HRESULT CSivrenCardFilter::InitAccess() { return OpenKsPropertyAccess<CKsPropertyAccess>(ACCESS_KIND_KS_PROPERTY); }

IMPLEMENT_CARD_FILTER_CLASS(CSivrenCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CSivrenCrossbarFilter::kCrossbarName)
