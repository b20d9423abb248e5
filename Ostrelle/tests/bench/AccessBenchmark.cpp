// One EEPROM byte written the station's way: I2C_Write of the card's access class, through the
// capture filter's IKsPropertySet to the simulated driver, over the card's I2C bus into the
// EEPROM and through to the bench state file. The per-byte delay of the write thread is not
// part of it.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "access/Kesh713xAccess.h"
#include "access/KsPropertyAccess.h"
#include "hwsim/bench/BenchDevices.h"
#include "platform/runtime.h"

namespace {

// A bench of one card of each kind, its state in a directory of its own.
class OneOfEach {
public:
    OneOfEach()
    {
        std::string dir = (std::filesystem::temp_directory_path() / "pelvatro-bench-XXXXXX").string();
        if (mkdtemp(dir.data())) m_stateDir = dir;
        setenv("PELVATRO_STATE_DIR", m_stateDir.c_str(), 1);
        m_bench = hwsim::Bench::FromText(R"({"cards": [
            {"kind": "713x BDA Analog Capture", "tuner": 95},
            {"kind": "713x_4 TV Card Capture", "tuner": 95}]})");
        m_devices = std::make_unique<hwsim::BenchDevices>(*m_bench);
    }
    ~OneOfEach()
    {
        m_devices.reset();
        m_bench.reset();
        std::error_code error;
        if (!m_stateDir.empty()) std::filesystem::remove_all(m_stateDir, error);
    }

    CComPtr<IUnknown> CaptureFilter(size_t card) const
    {
        CComPtr<IUnknown> filter;
        platform::BindDevice(m_devices->CaptureDevice(*m_bench->Cards()[card]), IID_IUnknown,
                             reinterpret_cast<void**>(&filter));
        return filter;
    }

private:
    std::string m_stateDir;
    std::unique_ptr<hwsim::Bench> m_bench;
    std::unique_ptr<hwsim::BenchDevices> m_devices;
};

template <class Access>
void EepromByteWrite(benchmark::State& state, size_t card)
{
    platform::UseVirtualClock(true);
    OneOfEach bench;
    {
        Access access;
        if (access.Init(bench.CaptureFilter(card), nullptr) != S_OK) {
            state.SkipWithError("no capture filter");
            return;
        }
        int offset = 0;
        for (auto _ : state) {
            if (access.I2C_Write(0xA0, offset, static_cast<BYTE>(offset ^ 0x5A)) != S_OK) {
                state.SkipWithError("write failed");
                break;
            }
            offset = (offset + 1) & 0xFF;
        }
    }
}

void Kesh713xEepromByteWrite(benchmark::State& state) { EepromByteWrite<CKesh713xAccess>(state, 0); }
void KsPropertyEepromByteWrite(benchmark::State& state) { EepromByteWrite<CKsPropertyAccess>(state, 1); }

BENCHMARK(Kesh713xEepromByteWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(KsPropertyEepromByteWrite)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
