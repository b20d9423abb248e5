// A test sheet over the simulated PC, for the test pages: the tests enter the pages they need
// into the sheet's table, plug a bench and run the sheet modally; `Enter` opens the cards and
// shows a page on card 0.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BaseTestPage.h"
#include "Pelvatro.h"
#include "PelvatroDlg.h"
#include "SimulatedPc.h"
#include "StationTestSupport.h"
#include "TestSheet.h"
#include "hwsim/bench/Bench.h"
#include "platform/testoperator.h"
#include "resource.h"

namespace station_test {

// The repository's test-station bench: one Kesh card with the encoder and a remote.
std::string TestStationBenchPath();

class PageSheet : public testing::Test {
protected:
    PageSheet();
    ~PageSheet() override;

    void Plug(const std::string& benchText) { m_pc = SimulatedPc::FromText(benchText); }
    // The bench's remote stays still: the tests press its keys themselves.
    void PlugTestStation() {
        m_pc = SimulatedPc::Load(TestStationBenchPath());
        Card(0).RepeatKeys({}, 0);
    }
    // Reads these settings as the main dialog does at start (GBK, CR LF).
    void Settings(const std::string& utf8Text);
    // A step: the cards are made and card 0 shows `page`.
    void Enter(LPCSTR page);
    // A page of the sheet by name, as its class.
    template <class T>
    T* PageOf(LPCSTR name) const {
        return dynamic_cast<T*>(sheet.FindPage(name));
    }
    bool Showing(LPCSTR name) const { return sheet.GetCurrentPage() == sheet.FindPage(name); }
    hwsim::Card& Card(size_t index) const { return *m_pc->Bench().Cards()[index]; }
    // Saves a picture of the sheet as it is drawn to test-output/<name>.png.
    platform::Screenshot SavePicture(const std::string& name);
    // The picture's colour in the middle of a control of the current page.
    uint32_t ColourInside(const platform::Screenshot& shot, int id, int dx = 0, int dy = 0) const;

    CPelvatroApp app;
    CPelvatroDlg main;
    CTestSheet sheet;
    platform::TestOperator op;
    std::vector<std::string> visits;

private:
    std::unique_ptr<SimulatedPc> m_pc;
};

}  // namespace station_test
