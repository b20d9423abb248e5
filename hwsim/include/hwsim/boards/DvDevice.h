// The 1394 DV device "Microsoft DV Camera and VCR": its filter answers IAMExtDevice (the device
// type), IAMExtTransport (mode, status items, rate) and IAMTimecodeReader (the timecode or the
// track number, by the sample's dwFlags, with dwUser). Each interface can be absent and each
// call can fail (DeviceDriver); what the device reports is set on its driver.
#pragma once

#include <map>
#include <memory>

#include "hwsim/drivers/DeviceDriver.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/With.h"
#include "strmif.h"

namespace hwsim {

// {5A1D0C06-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kDvDeviceFilterClsid = {0x5A1D0C06, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};

class DvDeviceDriver : public DeviceDriver {
public:
    struct State {
        long deviceType = ED_DEVTYPE_VCR;  // 0: the device reports none
        long mode = 0;
        double rate = 1.0;
        DWORD timecode = 0;     // dwFrames of a timecode read
        DWORD trackNumber = 0;  // dwFrames of a track-number read
        DWORD user = 0;         // dwUser of every sample
        std::map<long, long> status;  // GetStatus items; others are refused
    };

    explicit DvDeviceDriver(Card& card) : DeviceDriver(card) {}
    State Get() const;
    void Set(const State& state);
    void SetMode(long mode);

private:
    mutable std::mutex m_stateLock;
    State m_state;
};

class DvExtDeviceMixin : public IAMExtDevice {
public:
    using Interface = IAMExtDevice;
    explicit DvExtDeviceMixin(DvDeviceDriver& driver) : m_driver(driver) {}
    STDMETHODIMP GetCapability(long Capability, long* pValue, double* pdblValue) override;
    STDMETHODIMP get_ExternalDeviceID(LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_ExternalDeviceVersion(LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_DevicePower(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_DevicePower(long*) override { return E_NOTIMPL; }
    STDMETHODIMP Calibrate(HEVENT, long, long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_DevicePort(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_DevicePort(long*) override { return E_NOTIMPL; }

protected:
    virtual ~DvExtDeviceMixin() = default;

private:
    DvDeviceDriver& m_driver;
};

class DvTransportMixin : public IAMExtTransport {
public:
    using Interface = IAMExtTransport;
    explicit DvTransportMixin(DvDeviceDriver& driver) : m_driver(driver) {}
    STDMETHODIMP GetStatus(long StatusItem, long* pValue) override;
    STDMETHODIMP put_Mode(long Mode) override;
    STDMETHODIMP get_Mode(long* pMode) override;
    STDMETHODIMP get_Rate(double* pdblRate) override;
    STDMETHODIMP GetCapability(long, long*, double*) override { return E_NOTIMPL; }
    STDMETHODIMP put_MediaState(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_MediaState(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_LocalControl(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_LocalControl(long*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTransportBasicParameters(long, long*, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetTransportBasicParameters(long, long, LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP GetTransportVideoParameters(long, long*) override { return E_NOTIMPL; }
    STDMETHODIMP SetTransportVideoParameters(long, long) override { return E_NOTIMPL; }
    STDMETHODIMP GetTransportAudioParameters(long, long*) override { return E_NOTIMPL; }
    STDMETHODIMP SetTransportAudioParameters(long, long) override { return E_NOTIMPL; }
    STDMETHODIMP put_Rate(double) override { return E_NOTIMPL; }
    STDMETHODIMP GetChase(long*, long*, HEVENT*) override { return E_NOTIMPL; }
    STDMETHODIMP SetChase(long, long, HEVENT) override { return E_NOTIMPL; }
    STDMETHODIMP GetBump(long*, long*) override { return E_NOTIMPL; }
    STDMETHODIMP SetBump(long, long) override { return E_NOTIMPL; }
    STDMETHODIMP get_AntiClogControl(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_AntiClogControl(long) override { return E_NOTIMPL; }
    STDMETHODIMP GetEditPropertySet(long, long*) override { return E_NOTIMPL; }
    STDMETHODIMP SetEditPropertySet(long*, long) override { return E_NOTIMPL; }
    STDMETHODIMP GetEditProperty(long, long, long*) override { return E_NOTIMPL; }
    STDMETHODIMP SetEditProperty(long, long, long) override { return E_NOTIMPL; }
    STDMETHODIMP get_EditStart(long*) override { return E_NOTIMPL; }
    STDMETHODIMP put_EditStart(long) override { return E_NOTIMPL; }

protected:
    virtual ~DvTransportMixin() = default;

private:
    DvDeviceDriver& m_driver;
};

class DvTimecodeMixin : public IAMTimecodeReader {
public:
    using Interface = IAMTimecodeReader;
    explicit DvTimecodeMixin(DvDeviceDriver& driver) : m_driver(driver) {}
    STDMETHODIMP GetTimecode(PTIMECODE_SAMPLE pTimecodeSample) override;
    STDMETHODIMP GetTCRMode(long, long*) override { return E_NOTIMPL; }
    STDMETHODIMP SetTCRMode(long, long) override { return E_NOTIMPL; }
    STDMETHODIMP put_VITCLine(long) override { return E_NOTIMPL; }
    STDMETHODIMP get_VITCLine(long*) override { return E_NOTIMPL; }

protected:
    virtual ~DvTimecodeMixin() = default;

private:
    DvDeviceDriver& m_driver;
};

class DvDeviceFilter : public platform::dshow::FilterBase,
                       public DvExtDeviceMixin,
                       public DvTransportMixin,
                       public DvTimecodeMixin {
public:
    explicit DvDeviceFilter(std::shared_ptr<DvDeviceDriver> driver);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return FilterBase::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return FilterBase::Release(); }

private:
    const std::shared_ptr<DvDeviceDriver> m_driver;
};

}  // namespace hwsim
