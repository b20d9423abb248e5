// eeprom_reader: plugs the bench (PELVATRO_BENCH, its state in PELVATRO_STATE_DIR) and reads
// every card's 256 EEPROM bytes through the access class of its kind, bound to the card's
// capture filter from the device tree. Writes one line per card in bench order:
// "<FriendlyName>#<instance>: <256 bytes in hexadecimal>", or the failure of the first read.
#include <cstdio>
#include <exception>
#include <memory>

#include "access/Kesh713xAccess.h"
#include "access/KsPropertyAccess.h"
#include "hwsim/bench/BenchDevices.h"

int main()
{
    try {
        auto bench = hwsim::Bench::Load(hwsim::Bench::DefaultPath());
        hwsim::BenchDevices devices(*bench);
        for (const auto& card : bench->Cards()) {
            CComPtr<IUnknown> filter;
            if (FAILED(platform::BindDevice(devices.CaptureDevice(*card), IID_IUnknown,
                                            reinterpret_cast<void**>(&filter)))) {
                return 1;
            }
            std::unique_ptr<CCustomDataAccess> access;
            if (card->Kind().captureName == std::string("713x BDA Analog Capture")) {
                access = std::make_unique<CKesh713xAccess>();
            } else {
                access = std::make_unique<CKsPropertyAccess>();
            }
            if (FAILED(access->Init(filter, nullptr))) return 1;
            std::printf("%s#%d:", card->FriendlyName(), card->Instance());
            for (int offset = 0; offset < 256; ++offset) {
                BYTE value = 0;
                const HRESULT hr = access->I2C_Read(0xA0, offset, &value);
                if (FAILED(hr)) {
                    std::printf(" failed at %d: %08X\n", offset, static_cast<unsigned>(hr));
                    return 1;
                }
                std::printf(" %02X", value);
            }
            std::printf("\n");
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "eeprom_reader: %s\n", error.what());
        return 2;
    }
}
