// One standard change of an Xceive tuner (reset pulse, base image, patch) on each of its paths:
// addressed through the KS-property access, the sound-IF class's small chunks through the same
// access, and the direct path. The platform clock is virtual, so the waits in the lists and
// between chunks cost nothing: what is measured is the bus traffic's own cost.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "access/KsPropertyAccess.h"
#include "support/DirectBusAccess.h"
#include "tuners/XCeive2028.h"
#include "tuners/XCeive3028_SIF.h"
#include "hwsim/bench/BenchDevices.h"
#include "platform/runtime.h"

namespace {

class OwnerCard : public CTunerOwnerCard {
public:
    explicit OwnerCard(long kind) : m_kind(kind) {}
    HRESULT IsSignalLocked(DWORD* locked) override
    {
        *locked = 0;
        return S_OK;
    }
    long GetAccessKind() const override { return m_kind; }

private:
    long m_kind;
};

// One KS-property board with the model fitted, its state in a directory of its own.
class XceiveBoard {
public:
    explicit XceiveBoard(int model)
    {
        std::string dir = (std::filesystem::temp_directory_path() / "pelvatro-bench-XXXXXX").string();
        if (mkdtemp(dir.data())) m_stateDir = dir;
        setenv("PELVATRO_STATE_DIR", m_stateDir.c_str(), 1);
        m_bench = hwsim::Bench::FromText(R"({"cards": [{"kind": "713x_4 TV Card Capture", "tuner": )" +
                                         std::to_string(model) + "}]}");
        m_devices = std::make_unique<hwsim::BenchDevices>(*m_bench);
    }
    ~XceiveBoard()
    {
        m_devices.reset();
        m_bench.reset();
        std::error_code error;
        if (!m_stateDir.empty()) std::filesystem::remove_all(m_stateDir, error);
    }
    hwsim::Card& Board() { return *m_bench->Cards()[0]; }
    CComPtr<IUnknown> CaptureFilter()
    {
        CComPtr<IUnknown> filter;
        platform::BindDevice(m_devices->CaptureDevice(Board()), IID_IUnknown, reinterpret_cast<void**>(&filter));
        return filter;
    }

private:
    std::string m_stateDir;
    std::unique_ptr<hwsim::Bench> m_bench;
    std::unique_ptr<hwsim::BenchDevices> m_devices;
};

template <class Tuner>
void StandardChange(benchmark::State& state, CCustomDataAccess& access, long kind, long standard)
{
    OwnerCard card(kind);
    Tuner tuner(&access);
    tuner.SetOwnerCard(&card);
    for (auto _ : state) {
        if (!tuner.SetVideoStandard(standard)) {
            state.SkipWithError("standard change failed");
            break;
        }
    }
}

void XceiveAddressedStandardChange(benchmark::State& state)
{
    platform::UseVirtualClock(true);
    XceiveBoard board(91);
    CKsPropertyAccess access;
    if (access.Init(board.CaptureFilter(), nullptr) != S_OK) return state.SkipWithError("no capture filter");
    StandardChange<CXCeive2028>(state, access, 2, AnalogVideo_PAL_I);
}

void XceiveSoundIfStandardChange(benchmark::State& state)
{
    platform::UseVirtualClock(true);
    XceiveBoard board(137);
    CKsPropertyAccess access;
    if (access.Init(board.CaptureFilter(), nullptr) != S_OK) return state.SkipWithError("no capture filter");
    StandardChange<CXCeive3028_SIF>(state, access, 2, AnalogVideo_PAL_I);
}

void XceiveDirectStandardChange(benchmark::State& state)
{
    platform::UseVirtualClock(true);
    XceiveBoard board(91);
    DirectBusAccess access(board.Board());
    StandardChange<CXCeive2028>(state, access, long(XcAccessKind::Direct), AnalogVideo_PAL_I);
}

BENCHMARK(XceiveAddressedStandardChange)->Unit(benchmark::kMillisecond);
BENCHMARK(XceiveSoundIfStandardChange)->Unit(benchmark::kMillisecond);
BENCHMARK(XceiveDirectStandardChange)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
