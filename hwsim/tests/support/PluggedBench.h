// Tests of a plugged bench's devices: the bench, its devices in the platform's device tree, and
// the board objects behind them. Unplugged before the state directory goes.
#pragma once

#include <memory>

#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"
#include "platform/devicetree.h"
#include "support/BenchFixture.h"

namespace hwsim {

class PluggedBench : public BenchFixture {
protected:
    void Plug(const char* text) {
        bench = Bench::FromText(text);
        devices = std::make_unique<BenchDevices>(*bench);
    }
    void TearDown() override {
        devices.reset();
        bench.reset();
        BenchFixture::TearDown();
    }
    // The device's interface I, bound as a program would.
    template <class I>
    static CComPtr<I> Bind(platform::DeviceId id) {
        CComPtr<I> object;
        EXPECT_EQ(S_OK, platform::BindDevice(id, platform::InterfaceTraits<I>::Iid(), reinterpret_cast<void**>(&object)));
        return object;
    }
    Card& CardAt(size_t index) { return *bench->Cards()[index]; }

    std::unique_ptr<Bench> bench;
    std::unique_ptr<BenchDevices> devices;
};

}  // namespace hwsim
