// The Lurvan PCI Express dual-tuner card.
#include "cards/devices/PcieFilter.h"

#include <cstdint>
#include <new>

#include "access/PcieAccess.h"
#include "cards/base/RemoteKeyCodes.h"

IMPLEMENT_CARD_FILTER_CLASS(CPcieFilter, &CLSID_VideoInputDeviceCategory, CPcieFilter::kCaptureName)

CPcieFilter::CPcieFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag)
    : CTVCardFilter(owner, category, friendlyName, flag), m_nDeviceIndex(g_nDeviceInstance) {}

CPcieFilter::CPcieFilter(CRootGraph* owner, REFCLSID clsid) : CTVCardFilter(owner, clsid) {}

CPcieFilter::~CPcieFilter() {
    StopCardThreads();
    m_pTVTuner.Release();
    RemoveUpstreamFilter(m_pTunerFilter);
}

BOOL CPcieFilter::Create() {
    ResetCardState();
    m_pTVTuner.Release();
    RemoveUpstreamFilter(m_pTunerFilter);
    m_nFactory = kFactoryLetter;
    m_nTunerModel = kTunerModel;
    if (!IsValid()) return FALSE;

    FindOutputPins();
    CControllerLock lock;
    if (!lock.IsLocked()) return FALSE;
    InitAccess();
    InitTuner();
    m_nAccessKind = ACCESS_KIND_NONE;
    return TRUE;
}

HRESULT CPcieFilter::InitAccess() {
    if (m_pAccess != nullptr) return E_FAIL;  // one access object at a time
    m_nAccessKind = ACCESS_KIND_NONE;
    m_pAccess = new (std::nothrow) CPcieAccess();
    if (m_pAccess == nullptr) return E_OUTOFMEMORY;
    // The index goes as it stands: bit 0 picks the board's half, the rest the board.
    const HRESULT result =
        m_pAccess->Init(m_pFilter, reinterpret_cast<void*>(static_cast<uintptr_t>(m_nDeviceIndex)));
    if (result != S_OK) TRACE("CPcieFilter::InitAccess - the device interface cannot be opened\n");
    SearchUpstreamInGraph([this] { FindTunerFilter(); });
    return result;
}

HRESULT CPcieFilter::FindTunerFilter() { return FindCaptureTVTuner(m_pTVTuner); }

BOOL CPcieFilter::GetRemoteData(BYTE* key) {
    return ReadControllerKey(m_pAccess, kRemoteAddr, kKeyReadyReg, kKeyReg, key);
}

BOOL CPcieFilter::AckRemoteKey() {
    return AcknowledgeControllerKey(m_pAccess, kRemoteAddr, kKeyReg);
}

HRESULT CPcieFilter::IsSignalLocked(DWORD* locked) {
    if (locked == nullptr) return E_POINTER;
    *locked = 1;
    return S_OK;
}

IMPLEMENT_CARD_FILTER_CLASS(CPcieCrossbarFilter, &AM_KSCATEGORY_CROSSBAR, CPcieCrossbarFilter::kCrossbarName)

IMPLEMENT_CARD_FILTER_CLASS(CPcieAudioDecoderFilter, &AM_KSCATEGORY_TVAUDIO, CPcieAudioDecoderFilter::kDeviceName)
