// The maker's own installed filters (package "vorlane"): the AV switch, with IAVSwitch, the
// time-delay filter, without a private interface, the deinterlace filter and the snap picture
// filter.
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

// Video and audio in, video and audio out.
class AvSwitchFilter : public InstalledFilterOf<AvSwitchControl> {
public:
    explicit AvSwitchFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid, void** ppv);
};

// One video input and one video output.
class TimeDelayFilter : public InstalledFilterOf<> {
public:
    explicit TimeDelayFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid, void** ppv);
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

class DeinterlaceFilter : public InstalledFilterOf<DeinterlaceControl> {
public:
    explicit DeinterlaceFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid, void** ppv);
};

// Slot 4 logs its request record byte for byte (the call's record 0) and refuses (E_INVALIDARG)
// a record that does not hold its size 272, a path ended inside its 260 bytes and a quality of
// 0 to 100.
class SnapPictureControl : public PrivateInterface<IVorlaneSnapPicture> {
public:
    STDMETHODIMP GetState(DWORD* pState) override;
    STDMETHODIMP SavePicture(DWORD dwCount, BYTE* pRequest) override;
};

class SnapPictureFilter : public InstalledFilterOf<SnapPictureControl> {
public:
    explicit SnapPictureFilter(std::shared_ptr<FilterBehaviour> behaviour);
    static HRESULT Make(const std::shared_ptr<FilterBehaviour>& behaviour, REFIID riid, void** ppv);
};

}  // namespace hwsim
