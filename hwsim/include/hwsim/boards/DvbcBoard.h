// The DVB-C board: its driver's capture filter "DVBC TS Capture" (a transport-stream output
// and the private interface IDvbcControl, each call recorded by its position in the
// interface, "3 474000 6875"), and the chip library the PC installs for it.
#pragma once

#include <memory>
#include <string>

#include "drvpriv.h"
#include "hwsim/drivers/DeviceDriver.h"
#include "hwsim/drivers/Dm1105Library.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/With.h"

namespace hwsim {

// {5A1D0C05-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kDvbcFilterClsid = {0x5A1D0C05, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

class DvbcDriver : public DeviceDriver {
public:
    explicit DvbcDriver(Card& card);
    Dm1105Library& Library() const { return *m_library; }
    const std::shared_ptr<Dm1105Library>& SharedLibrary() const { return m_library; }

private:
    std::shared_ptr<Dm1105Library> m_library;
};

class DvbcControlMixin : public IDvbcControl {
public:
    using Interface = IDvbcControl;

    STDMETHODIMP StartStream() override;
    STDMETHODIMP StopStream() override;
    STDMETHODIMP Tune(DWORD frequency, WORD symbolRate) override;
    STDMETHODIMP GetSignalStatus(DWORD* status) override;
    STDMETHODIMP ResetDemodulator() override;
    STDMETHODIMP SetModulation(DWORD modulation) override;
    STDMETHODIMP SetSpectrumInversion(DWORD inversion) override;
    STDMETHODIMP AddPid(DWORD pid) override;
    STDMETHODIMP RemovePid(DWORD pid) override;
    STDMETHODIMP SetStreamMode(DWORD mode) override;
    STDMETHODIMP GetStreamMode(DWORD* mode) override;
    STDMETHODIMP SetTunerPower(DWORD on) override;
    STDMETHODIMP GetSignalStrength(DWORD* strength) override;
    STDMETHODIMP GetSignalQuality(DWORD* quality) override;
    STDMETHODIMP GetErrorRate(DWORD* rate) override;
    STDMETHODIMP GetUncorrectedBlocks(DWORD* blocks) override;
    STDMETHODIMP GetLockStatus(DWORD* locked) override;
    STDMETHODIMP WriteDemodRegister(DWORD reg, DWORD value) override;

protected:
    virtual ~DvbcControlMixin() = default;
    // The driver's answer to the call at `position` with its arguments.
    virtual HRESULT Call(int position, std::initializer_list<DWORD> arguments) = 0;
    // A reading call: 0 into the out pointer (E_POINTER for none).
    HRESULT Read(int position, DWORD* out);
};

class DvbcCaptureFilter : public platform::dshow::With<platform::dshow::FilterBase, DvbcControlMixin> {
public:
    explicit DvbcCaptureFilter(std::shared_ptr<DvbcDriver> driver);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;

protected:
    HRESULT Call(int position, std::initializer_list<DWORD> arguments) override;

private:
    const std::shared_ptr<DvbcDriver> m_driver;
};

}  // namespace hwsim
