// The DVB-C board: its driver's capture filter "DVBC TS Capture".
#include "hwsim/boards/DvbcBoard.h"

#include "uuids.h"

namespace hwsim {

DvbcDriver::DvbcDriver(Card& card) : DeviceDriver(card), m_library(std::make_shared<Dm1105Library>(card)) {}

STDMETHODIMP DvbcControlMixin::StartStream() { return Call(1, {}); }
STDMETHODIMP DvbcControlMixin::StopStream() { return Call(2, {}); }
STDMETHODIMP DvbcControlMixin::Tune(DWORD frequency, WORD symbolRate) { return Call(3, {frequency, symbolRate}); }
STDMETHODIMP DvbcControlMixin::GetSignalStatus(DWORD* status) { return Read(4, status); }
STDMETHODIMP DvbcControlMixin::ResetDemodulator() { return Call(5, {}); }
STDMETHODIMP DvbcControlMixin::SetModulation(DWORD modulation) { return Call(6, {modulation}); }
STDMETHODIMP DvbcControlMixin::SetSpectrumInversion(DWORD inversion) { return Call(7, {inversion}); }
STDMETHODIMP DvbcControlMixin::AddPid(DWORD pid) { return Call(8, {pid}); }
STDMETHODIMP DvbcControlMixin::RemovePid(DWORD pid) { return Call(9, {pid}); }
STDMETHODIMP DvbcControlMixin::SetStreamMode(DWORD mode) { return Call(10, {mode}); }
STDMETHODIMP DvbcControlMixin::GetStreamMode(DWORD* mode) { return Read(11, mode); }
STDMETHODIMP DvbcControlMixin::SetTunerPower(DWORD on) { return Call(12, {on}); }
STDMETHODIMP DvbcControlMixin::GetSignalStrength(DWORD* strength) { return Read(13, strength); }
STDMETHODIMP DvbcControlMixin::GetSignalQuality(DWORD* quality) { return Read(14, quality); }
STDMETHODIMP DvbcControlMixin::GetErrorRate(DWORD* rate) { return Read(15, rate); }
STDMETHODIMP DvbcControlMixin::GetUncorrectedBlocks(DWORD* blocks) { return Read(16, blocks); }
STDMETHODIMP DvbcControlMixin::GetLockStatus(DWORD* locked) { return Read(17, locked); }
STDMETHODIMP DvbcControlMixin::WriteDemodRegister(DWORD reg, DWORD value) { return Call(18, {reg, value}); }

HRESULT DvbcControlMixin::Read(int position, DWORD* out) {
    if (!out) return E_POINTER;
    *out = 0;
    return Call(position, {});
}

DvbcCaptureFilter::DvbcCaptureFilter(std::shared_ptr<DvbcDriver> driver)
    : With(kDvbcFilterClsid), m_driver(std::move(driver)) {
    AddPin(platform::dshow::PinDescription{PINDIR_OUTPUT, L"TS Out", L"", PIN_CATEGORY_CAPTURE,
                                           {platform::dshow::MediaType(MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT)}});
}

STDMETHODIMP DvbcCaptureFilter::QueryInterface(REFIID riid, void** ppv) {
    if (ppv && m_driver->Refuses<IDvbcControl>(riid)) {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    return With::QueryInterface(riid, ppv);
}

HRESULT DvbcCaptureFilter::Call(int position, std::initializer_list<DWORD> arguments) {
    std::string call = std::to_string(position);
    for (DWORD argument : arguments) call += " " + std::to_string(argument);
    return m_driver->Enter(call);
}

}  // namespace hwsim
