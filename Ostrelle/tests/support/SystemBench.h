// The wrapper tests' simulated PC: a bench without cards, with its sound cards, video
// compressors and makers' packages in the device tree, the mixer table and the class table, and
// the graph library's classes registered. Mixers a test adds itself go with the test.
#pragma once

#include <memory>

#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"
#include "platform/mixertable.h"
#include "support/GraphTestDoubles.h"

namespace graphtest {

class SystemBench : public GraphTest {
protected:
    // One sound card (the default one) and every package.
    static constexpr const char* kDefaultBench = R"({"cards": []})";

    void SetUp() override {
        GraphTest::SetUp();
        platform::ResetMixerCounts();
        Load(kDefaultBench);
    }
    void TearDown() override {
        m_devices.reset();
        m_bench.reset();
        platform::RemoveAllMixers();
        GraphTest::TearDown();
    }
    void Load(const char* benchText) {
        m_devices.reset();
        m_bench = hwsim::Bench::FromText(benchText);
        m_devices = std::make_unique<hwsim::BenchDevices>(*m_bench);
    }
    hwsim::BenchDevices& Devices() { return *m_devices; }
    hwsim::FilterBehaviour& Behaviour(REFCLSID clsid) { return m_devices->Packages().Behaviour(clsid); }
    // The wrapper the graph adds for `clsid` under `name`, as a T (NULL when it is none).
    template <class T>
    static T* AddOf(CRootGraph& graph, REFCLSID clsid, const char* name = "Wrapped") {
        return dynamic_cast<T*>(graph.AddFilter(clsid, name));
    }

private:
    std::unique_ptr<hwsim::Bench> m_bench;
    std::unique_ptr<hwsim::BenchDevices> m_devices;
};

}  // namespace graphtest
