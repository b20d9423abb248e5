// The driver of the Fimbrel card. Its capture filter publishes three property sets; every
// request passes one buffer as instance and data, of the property's size:
//   A (16017E0E-CE9F-44B0-A203-05D05724A12B)
//     0 Set, 19 bytes: a raw write of `count` bytes (1 to 16) from offset 3 to the device at
//       offset 1 (the device is found by its address >> 1). The mode at offset 0 fits the
//       device: 1 for an address with bits 7 and 5 set, 2 for the others (a write: for any),
//       3 for the controller's registers 0xAA and 0xAB (the byte at 3), written at 0xBA and
//       read at 0xBB; in the Gets below too
//     1 Get, 19 bytes: a raw read of `count` bytes (1 to 16) into offset 3
//     2 Get, 28 bytes: the combined record: sub-address count 1 at offset 2, the sub-address at
//       3, read count (1 to 16) at 11; a sub-addressed read into offset 12
//     5 Get, 8 bytes {DWORD register, DWORD value}: 0xC7008100 answers the levels of all 32
//       GPIO lines, 0xC7008104 lines 16 to 31 in its lower half
//     6 Set, 8 bytes: 0xC7008100 and 0xC7008104 carry a write-enable mask in their upper half
//       for the values of lines 0-15 (or 16-31) in the lower half; 0xC7008108 and 0xC700810C
//       name in their upper halves the lines 0-15 (or 16-31) that become outputs
//     3 Get (264), 4 Set (264), 7 Get (32): stores
//   B (ACBFD244-0962-4FBC-B855-2F2BD80D5083) 0 Get and Set, 4 bytes: a store
//   C (0A7AF963-6805-4F99-B284-29B680975542) 0 Get, 4 bytes: a store
// The GPIO lines are the card's line model; line 1 is the tuner's reset line. Anything else is
// refused with E_INVALIDARG before the bus or a line is touched.
#pragma once

#include <mutex>

#include "hwsim/drivers/KsDriver.h"
#include "hwsim/drivers/PropertyStore.h"

namespace hwsim {

// 16017E0E-CE9F-44B0-A203-05D05724A12B
inline constexpr GUID kFimbrelSetA = {0x16017E0E, 0xCE9F, 0x44B0, {0xA2, 0x03, 0x05, 0xD0, 0x57, 0x24, 0xA1, 0x2B}};
// ACBFD244-0962-4FBC-B855-2F2BD80D5083
inline constexpr GUID kFimbrelSetB = {0xACBFD244, 0x0962, 0x4FBC, {0xB8, 0x55, 0x2F, 0x2B, 0xD8, 0x0D, 0x50, 0x83}};
// 0A7AF963-6805-4F99-B284-29B680975542
inline constexpr GUID kFimbrelSetC = {0x0A7AF963, 0x6805, 0x4F99, {0xB2, 0x84, 0x29, 0xB6, 0x80, 0x97, 0x55, 0x42}};

class FimbrelDriver : public KsDriver {
public:
    static constexpr DWORD kTunerResetLine = 0x00000002;  // line 1

    explicit FimbrelDriver(Card& card);

    std::vector<GUID> Sets() const override { return {kFimbrelSetA, kFimbrelSetB, kFimbrelSetC}; }
    PropertyStore& Store() { return m_store; }

protected:
    const char* SetName(REFGUID set) const override;
    DWORD Support(REFGUID set, DWORD id) const override;
    HRESULT Answer(REFGUID set, Request& request) override;

private:
    HRESULT Transfer(Request& request);
    HRESULT Combined(Request& request);
    HRESULT Register(Request& request);

    PropertyStore m_store;
    std::mutex m_linesLock;
};

}  // namespace hwsim
