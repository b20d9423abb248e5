// The whole station program on the headless display against a simulated PC: the tests plug a
// bench, lay out what the operator does, and run the application object as the program's start
// does (InitInstance, then ExitInstance).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PageDevice.h"
#include "Pelvatro.h"
#include "PelvatroDlg.h"
#include "SimulatedPc.h"
#include "TestSheet.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"
#include "platform/testoperator.h"
#include "resource.h"

namespace station_test {

// Texts of the EEPROM page.
inline constexpr const char kStatusWritten[] = "烧写完成，请重新启动电脑。";
inline constexpr const char kStatusWriting[] = "请稍候，正在烧写......";
inline constexpr const char kStatusCreateFailed[] = "创建卡失败，请确认驱动安装正确!";

// A bench of `count` Kesh cards with blank EEPROMs and tuner model 95; `eeprom` replaces the
// EEPROM description of every card.
std::string KeshBench(int count, const std::string& eeprom = "\"blank\"");

class StationRun : public testing::Test {
protected:
    StationRun();
    ~StationRun() override;

    void Plug(const std::string& benchText);
    // Runs the program to its end; the steps laid out on `op` act meanwhile.
    void RunProgram();

    hwsim::Card& Card(size_t index) const { return *m_pc->Bench().Cards()[index]; }
    hwsim::KsDriver& Driver(size_t index) const { return m_pc->Devices().Driver(Card(index)); }
    std::vector<BYTE> Eeprom(size_t index) const;

    // While the program runs: its dialogs.
    CPelvatroDlg* MainDialog() const;
    CTestSheet* Sheet() const;
    CPageDevice* Page() const;

    // The image the station writes to a Kesh card: product 84 with tuner model 95.
    static std::vector<BYTE> KeshImage();

    // A step that presses OK on the untouched page.
    void PressOk();
    // Presses Close once the page has come to its end; `atEnd` runs first.
    void CloseAtTheEnd(std::function<void()> atEnd = nullptr);
    // Both.
    void WriteAllAndClose(std::function<void()> atEnd = nullptr) {
        PressOk();
        CloseAtTheEnd(std::move(atEnd));
    }

    CPelvatroApp app;
    platform::TestOperator op;
    BOOL initResult = TRUE;
    int exitCode = -1;  // what ExitInstance returned
    int threadsBefore = 0;

private:
    std::unique_ptr<SimulatedPc> m_pc;
};

}  // namespace station_test
