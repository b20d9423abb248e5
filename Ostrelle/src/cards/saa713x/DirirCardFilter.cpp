// The Dirir card ("713x_3 TV Card Capture") and its crossbar ("713x_3 TV Card Crossbar").
#include "cards/saa713x/DirirCardFilter.h"

#include <cstring>

#include "access/KsPropertyAccess.h"

namespace {

constexpr int kStandardLayout = 0;
constexpr int kKeshLayout = 1;
// The company and chipset markers of a Kesh-layout EEPROM, from byte 90 on.
constexpr BYTE kKeshMarkerPlace = 90;
constexpr char kKeshMarkers[] = "VORLANEKeshar";

// The bridge's registers of the audio switch.
constexpr DWORD kAudioControl = 0x1C0;
constexpr DWORD kGpioMode = 0x1B0;
constexpr DWORD kGpioStatus = 0x1B4;
constexpr DWORD kAudioLines = 0x7000;
constexpr DWORD kLatch = 0x80000000;
constexpr DWORD kSourceTwo = 0x2000;

}  // namespace

IMPLEMENT_CARD_FILTER_CLASS(CDirirCardFilter, &CLSID_VideoInputDeviceCategory, CDirirCardFilter::kCaptureName)

CDirirCardFilter::~CDirirCardFilter() {
    StopCardThreads();
    m_pTVTuner.Release();
}

BOOL CDirirCardFilter::Create() {
    m_strTunerFilterName = kTunerFilterName;
    return CTVCardFilter::Create();
}

LONG_PTR CDirirCardFilter::OnCommand(LONG_PTR) { return 0; }

HRESULT CDirirCardFilter::InitAccess() {
    if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
    m_pTVTuner.Release();
    const HRESULT hr = OpenKsPropertyAccess(ACCESS_KIND_KS_PROPERTY);
    if (hr == S_OK && m_nEepromLayout == kStandardLayout) DetectKeshLayout();
    return hr;
}

void CDirirCardFilter::DetectKeshLayout() {
    m_nEepromLayout = kKeshLayout;
    for (size_t i = 0; i < std::strlen(kKeshMarkers); ++i) {
        BYTE value = 0;
        if (ReadEepromByte(static_cast<BYTE>(kKeshMarkerPlace + i), &value) != S_OK ||
            value != static_cast<BYTE>(kKeshMarkers[i])) {
            m_nEepromLayout = kStandardLayout;
            return;
        }
    }
}

HRESULT CDirirCardFilter::SetAudioSource4(int source, BOOL on) {
    if (m_pAccess == nullptr) return E_POINTER;
    HRESULT hr = m_pAccess->WriteRegister32(kAudioControl, 0);
    hr |= m_pAccess->WriteRegister32(kGpioMode, kAudioLines);
    hr |= m_pAccess->WriteRegister32(kGpioMode, kLatch | kAudioLines);
    DWORD word = 0;
    const HRESULT read = m_pAccess->ReadRegister32(kGpioStatus, &word);
    if (FAILED(read)) return read;
    hr |= read;
    word &= ~kAudioLines;
    if (!on) {
        word |= kAudioLines;
    } else if (source == 2) {
        word |= kSourceTwo;
    }
    hr |= m_pAccess->WriteRegister32(kGpioMode, kAudioLines);
    hr |= m_pAccess->WriteRegister32(kGpioMode, kLatch | kAudioLines);
    hr |= m_pAccess->WriteRegister32(kGpioStatus, word);
    hr |= m_pAccess->WriteRegister32(kGpioMode, kLatch | kAudioLines);
    return hr;
}

HRESULT CDirirCardFilter::FindTunerInterface() { return FindCaptureTVTuner(m_pTVTuner); }

IMPLEMENT_CARD_FILTER_CLASS(CDirirCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CDirirCrossbarFilter::kCrossbarName)
