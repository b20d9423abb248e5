// The filters the card library's graph wrappers open, from the maker's packages: the colour
// converter and the MPEG-2 splitter (package "vorlane") and the InterVideo time-shift filter
// (package "intervideo"). They only record what their private interfaces are sent and answer; the
// converter and the time-shift filter are rows of kInstalledFilters (PinnedFilter).
#pragma once

#include "hwsim/installed/InstalledFilter.h"
#include "hwsim/installed/InstalledFilterRow.h"
#include "makers/intervideo.h"
#include "makers/vorlane.h"
#include "platform/dshow/ConnectionPins.h"

namespace hwsim {

// Slots 3 and 4 log (value) and keep it under their slot number.
class ColorConvertControl : public PrivateInterface<IVorlaneColorConvert> {
public:
    STDMETHODIMP SetParameterA(DWORD value) override;
    STDMETHODIMP SetParameterB(DWORD value) override;
};

// A program stream in; "Video" and "Audio" outputs once the input is connected.
class Mpeg2SplitterFilter : public InstalledFilterOf<> {
public:
    explicit Mpeg2SplitterFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const InstalledFilterRow& row, const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid,
                        void** ppv);

protected:
    void OnPinConnected(platform::dshow::PinBase* pin) override;
    void OnPinDisconnected(platform::dshow::PinBase* pin) override;

private:
    platform::dshow::ConnectionPins m_outputs;
};

// Every slot logs what it was sent. Slot 3 fills the caller's record with the filter's storage
// (directory, file name and the four words, as last set; kDefaultFourth before); slot 4 logs the
// record's four words as arguments and its two strings (UTF-16 bytes, no terminator; an absent
// string logs no bytes) as records 0 and 1, and keeps it; slot 21 logs the name as record 0.
class TimeShiftControl : public PrivateInterface<IIVTimeShift> {
public:
    static constexpr LONG kDefaultFourth = 96;
    static constexpr const wchar_t* kDefaultDirectory = L"C:\\TimeShift";
    static constexpr const wchar_t* kDefaultFileName = L"buffer.tsf";

    STDMETHODIMP GetStorage(IVTimeShiftRecord* pRecord) override;
    STDMETHODIMP SetStorage(IVTimeShiftRecord record) override;
    STDMETHODIMP Slot5() override { return Unnamed(5); }
    STDMETHODIMP Slot6() override { return Unnamed(6); }
    STDMETHODIMP Slot7() override { return Unnamed(7); }
    STDMETHODIMP Slot8() override { return Unnamed(8); }
    STDMETHODIMP SetBufferValue(LONG value) override;
    STDMETHODIMP Slot10() override { return Unnamed(10); }
    STDMETHODIMP Slot11() override { return Unnamed(11); }
    STDMETHODIMP Slot12() override { return Unnamed(12); }
    STDMETHODIMP SetWordA(DWORD value) override { return Word(13, value); }
    STDMETHODIMP SetLongWord(DWORD low, DWORD high) override;
    STDMETHODIMP SetWordB(DWORD value) override { return Word(15, value); }
    STDMETHODIMP SetWordC(DWORD value) override { return Word(16, value); }
    STDMETHODIMP SetWordD(DWORD value) override { return Word(17, value); }
    STDMETHODIMP Slot18() override { return Unnamed(18); }
    STDMETHODIMP CommandA() override;
    STDMETHODIMP CommandB() override;
    STDMETHODIMP SetFileName(LPCSTR name) override;

private:
    HRESULT Word(int slot, DWORD value);
    HRESULT Unnamed(int slot);
};

}  // namespace hwsim
