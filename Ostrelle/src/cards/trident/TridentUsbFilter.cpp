// The Trident bridge USB box ("Ivlen Capture"), its crossbar and its TV-audio device.
#include "cards/trident/TridentUsbFilter.h"

#include <new>

#include "access/TridentUsbAccess.h"

IMPLEMENT_CARD_FILTER_CLASS(CTridentUsbFilter, &CLSID_VideoInputDeviceCategory, CTridentUsbFilter::kCaptureName)

CTridentUsbFilter::~CTridentUsbFilter() { StopCardThreads(); }

CTridentUsbAccess* CTridentUsbFilter::UsbAccess() const { return static_cast<CTridentUsbAccess*>(m_pAccess); }

HRESULT CTridentUsbFilter::WriteEeprom(BYTE* buffer, BYTE address, int* count, DWORD delayMs) {
    return WriteEepromBytes(
        [this](BYTE at, BYTE value) { return UsbAccess()->WriteVendorData(m_ucEepromAddr, at, value); }, buffer,
        address, count, delayMs);
}

HRESULT CTridentUsbFilter::ReadEeprom(BYTE* buffer, BYTE address, int* count) {
    return ReadEepromBytes([this](BYTE at, BYTE* value) { return UsbAccess()->ReadVendorData(m_ucEepromAddr, at, value); },
                           buffer, address, count);
}

HRESULT CTridentUsbFilter::InitAccess() {
    if (const HRESULT made = NewAccess<CTridentUsbAccess>(UsbAccessKind()); made != S_OK) return made;
    return m_pAccess->Init(m_pFilter, this);
}

HRESULT CTridentUsbFilter::ReadFactoryModel() {
    m_nFactory = 'N';
    m_nTunerModel = 0;
    return GetTunerInfo(&m_nFactory, &m_nTunerModel);
}

HRESULT CTridentUsbFilter::GetTunerInfo(int* factory, int* model) {
    if (m_pAccess == nullptr) return E_POINTER;
    return ReadTunerInfo([this](BYTE at, BYTE* value) { return UsbAccess()->ReadVendorData(m_ucEepromAddr, at, value); },
                         factory, model);
}

BOOL CTridentUsbFilter::IsEepromMark80() { return HasEepromMark(kMark80); }

HRESULT CTridentUsbFilter::ResetTunerLine() {
    if (m_pAccess == nullptr) return 0;
    return m_pAccess->ResetTuner(FALSE);
}

// ---- crossbar ----

IMPLEMENT_CARD_FILTER_CLASS(CTridentUsbCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CTridentUsbCrossbarFilter::kCrossbarName)

// ---- TV audio ----

IMPLEMENT_CARD_FILTER_CLASS(CTridentUsbTvAudioFilter, &AM_KSCATEGORY_TVAUDIO, CTridentUsbTvAudioFilter::kDeviceName)
