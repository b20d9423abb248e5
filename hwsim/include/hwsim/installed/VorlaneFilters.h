// The private interfaces of the maker's own installed filters (package "vorlane"): the AV
// switch's IAVSwitch, the deinterlace filter's and the snap picture filter's; the time-delay
// filter has none. The filters are rows of kInstalledFilters (PinnedFilter).
#pragma once

#include "hwsim/installed/InstalledFilter.h"
#include "makers/vorlane.h"

namespace hwsim {

class AvSwitchControl : public PrivateInterface<IAVSwitch> {
public:
    // Where the switch keeps its VARIANT_BOOL (on at the start).
    static constexpr DWORD kSwitchParam = 0;

    STDMETHODIMP get_Switch(VARIANT_BOOL* pOn) override;  // slot 3
    STDMETHODIMP put_Switch(VARIANT_BOOL on) override;    // slot 4
};

// Slots 3 to 13; every setter stores what it was sent, as the filter's own value, under its own
// slot number, and the matching getter reads it back (0 before a write).
class DeinterlaceControl : public PrivateInterface<IVorlaneDeinterlace> {
public:
    STDMETHODIMP GetValue(LONG* pValue) override;
    STDMETHODIMP SetValue(LONG value) override;
    STDMETHODIMP GetSwitch1(VARIANT_BOOL* pOn) override;
    STDMETHODIMP PutSwitch1(VARIANT_BOOL on) override;
    STDMETHODIMP GetSwitch2(VARIANT_BOOL* pOn) override;
    STDMETHODIMP PutSwitch2(VARIANT_BOOL on) override;
    STDMETHODIMP GetMode(LONG* pMode) override;
    STDMETHODIMP SetMode(LONG mode) override;
    STDMETHODIMP SetText(LPCWSTR text, DWORD value) override;
    STDMETHODIMP GetSwitch3(VARIANT_BOOL* pOn) override;
    STDMETHODIMP PutSwitch3(VARIANT_BOOL on) override;

private:
    template <class T>
    HRESULT Get(int slot, int setter, T* pValue);
    template <class T>
    HRESULT Put(int slot, T value);
};

// Slot 4 logs its request record byte for byte (the call's record 0) and refuses (E_INVALIDARG)
// a record that does not hold its size 272, a path ended inside its 260 bytes and a quality of
// 0 to 100.
class SnapPictureControl : public PrivateInterface<IVorlaneSnapPicture> {
public:
    STDMETHODIMP GetState(DWORD* pState) override;
    STDMETHODIMP SavePicture(DWORD dwCount, BYTE* pRequest) override;
};

}  // namespace hwsim
