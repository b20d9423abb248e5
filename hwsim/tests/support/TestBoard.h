// One board built straight from a CardSpec, of a card kind of the test's own: a PLL tuner of
// model 32 at 0xC2 (unless the test fits another), blank EEPROM, a station at 49750 kHz, and
// the driver the test fits, published on a capture filter (or a tuner filter) as the card's
// driver would publish it, and listed in the device tree when the test plugs it. The test's access objects, which hold the filters, go first.
#pragma once

#include <objbase.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "hwsim/bench/Bench.h"
#include "hwsim/boards/CaptureFilter.h"
#include "hwsim/boards/TunerFilter.h"
#include "platform/devicetree.h"
#include "uuids.h"

namespace hwsim {

class TestBoard {
public:
    explicit TestBoard(int tunerModel = 32, std::vector<FaultSpec> faults = {})
        : m_kind{"Test Board Capture", "Test Board Crossbar", "Test Board Tuner", &StandardPinLayout},
          m_rf({Station{49750, "E2"}}) {
        CardSpec desc;
        desc.kind = &m_kind;
        desc.tunerModel = tunerModel;
        desc.eeprom.assign(256, 0xFF);
        desc.faults = std::move(faults);
        m_card = std::make_unique<Card>(desc, m_rf, Bench::StateFileFor(m_kind, 0));
    }

    Card& GetCard() { return *m_card; }

    // Fits the card's driver (made from the card and `args`) and publishes it on a capture
    // filter, or on the tuner filter when `onTuner` is true.
    template <class Driver, class... Args>
    Driver& Fit(bool onTuner, Args&&... args) {
        auto driver = std::make_shared<Driver>(*m_card, std::forward<Args>(args)...);
        m_driver = driver;
        if (onTuner) {
            m_filter.Attach(static_cast<IBaseFilter*>(new TunerFilter(*m_card, driver)));
        } else {
            m_filter.Attach(static_cast<IBaseFilter*>(new CaptureFilter(driver)));
        }
        return *driver;
    }

    // Lists the board in the device tree as a capture device under the kind's capture name,
    // each bind making a new capture filter on the fitted driver. Taken out with the board.
    platform::DeviceId Plug() {
        std::shared_ptr<KsDriver> driver = m_driver;
        const std::string name = m_kind.captureName;
        m_device = platform::AddDevice({CLSID_VideoInputDeviceCategory, std::wstring(name.begin(), name.end()),
                                        [driver](REFIID riid, void** ppv) {
                                            if (!ppv) return E_POINTER;
                                            auto* filter = new CaptureFilter(driver);
                                            const HRESULT hr = filter->QueryInterface(riid, ppv);
                                            filter->Release();
                                            return hr;
                                        },
                                        {},
                                        kCaptureFilterClsid});
        return m_device;
    }
    ~TestBoard() {
        if (m_device) platform::RemoveDevice(m_device);
    }

    KsDriver& Driver() { return *m_driver; }
    // The filter the driver is published on.
    IBaseFilter* Filter() { return m_filter; }

private:
    CardKind m_kind;
    RfEnvironment m_rf;
    std::unique_ptr<Card> m_card;
    std::shared_ptr<KsDriver> m_driver;
    CComPtr<IBaseFilter> m_filter;
    platform::DeviceId m_device = 0;
};

}  // namespace hwsim
