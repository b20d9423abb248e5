// A card's MPEG encoder device (the encoder device category): its driver keeps the encoder
// settings on the encoder property set D2185A40-0398-11D3-A53E-00A0C9EF506A. Every id takes
// Get and Set with one buffer as instance and property data (the same length both): a Set
// stores the bytes, a Get answers the bytes last stored (zeros before the first Set). Each
// request goes into the driver's wire log ("set 12 bytes", "get 4 bytes").
#pragma once

#include <memory>

#include "hwsim/drivers/KsDriver.h"
#include "hwsim/drivers/PropertyStore.h"
#include "platform/dshow/FilterBase.h"

namespace hwsim {

// {5A1D0C05-7F3B-4C8E-9D21-3B6E0A4F7C10}
inline constexpr CLSID kEncoderFilterClsid = {0x5A1D0C05, 0x7F3B, 0x4C8E, {0x9D, 0x21, 0x3B, 0x6E, 0x0A, 0x4F, 0x7C, 0x10}};
// D2185A40-0398-11D3-A53E-00A0C9EF506A
inline constexpr GUID kEncoderPropertySet = {0xD2185A40, 0x0398, 0x11D3, {0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A}};

class EncoderDriver : public KsDriver {
public:
    explicit EncoderDriver(Card& card);

    std::vector<GUID> Sets() const override { return {kEncoderPropertySet}; }
    PropertyStore& Store() { return m_store; }

protected:
    const char* SetName(REFGUID set) const override;
    DWORD Support(REFGUID set, DWORD id) const override;
    HRESULT Answer(REFGUID set, Request& request) override;

private:
    PropertyStore m_store;
};

// The encoder device's filter: an input from the capture side, an MPEG output, and the
// driver's property set.
class EncoderFilter : public platform::dshow::FilterBase {
public:
    explicit EncoderFilter(const std::shared_ptr<EncoderDriver>& driver);
};

}  // namespace hwsim
