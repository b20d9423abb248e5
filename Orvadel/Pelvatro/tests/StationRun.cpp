#include "StationRun.h"

#include <objbase.h>

#include "BaseTestPage.h"
#include "dunmorra/EppromWriter.h"
#include "hwsim/chips/Eeprom24C02.h"
#include "platform/devicetree.h"
#include "platform/runtime.h"
#include "platform/shell.h"

namespace station_test {

namespace {
bool g_classesRegistered = false;
}  // namespace

std::string KeshBench(int count, const std::string& eeprom) {
    std::string bench = R"({"cards": [)";
    for (int i = 0; i < count; ++i) {
        if (i > 0) bench += ",";
        bench += R"({"kind": "713x BDA Analog Capture", "tuner": 95, "eeprom": )" + eeprom + "}";
    }
    return bench + R"(], "stations": [{"kHz": 49750}]})";
}

StationRun::StationRun() {
    if (!g_classesRegistered) {
        RegisterFilterClasses();
        g_classesRegistered = true;
    }
    platform::ClearShellRequests();
}

// A restart or power-off the run asked for is the run's own: the next test starts without it.
StationRun::~StationRun() {
    m_pc.reset();
    platform::RemoveAllDevices();
    platform::ClearShellRequests();
}

void StationRun::Plug(const std::string& benchText) { m_pc = SimulatedPc::FromText(benchText); }

void StationRun::RunProgram() {
    threadsBefore = platform::LiveThreadCount();
    initResult = app.InitInstance();
    exitCode = app.ExitInstance();
    EXPECT_FALSE(initResult) << "the program has no message loop of its own";
    EXPECT_TRUE(op.StepsDone()) << "the program ended before the operator was done";
    EXPECT_EQ(platform::LiveThreadCount(), threadsBefore) << "a thread outlived the program";
}

std::vector<BYTE> StationRun::Eeprom(size_t index) const { return Card(index).Eeprom().Contents(); }

CPelvatroDlg* StationRun::MainDialog() const { return dynamic_cast<CPelvatroDlg*>(AfxGetMainWnd()); }

CTestSheet* StationRun::Sheet() const {
    CBaseTestPage* page = Page();
    return page != nullptr ? page->GetSheet() : nullptr;
}

CPageDevice* StationRun::Page() const {
    HWND page = ::GetParent(op.Find(IDC_STATUS));
    return dynamic_cast<CPageDevice*>(CWnd::FromHandlePermanent(page));
}

std::vector<BYTE> StationRun::KeshImage() {
    CEppromWriter writer;
    CEppromData image;
    EXPECT_TRUE(writer.MakeEppromData(static_cast<EMProductType>(84), static_cast<KeshTunerID>(33), image,
                                      static_cast<TUNER_MODEL>(95)));
    return std::vector<BYTE>(image.GetData(), image.GetData() + image.GetDataSize());
}

void StationRun::PressOk() {
    op.Then([this] {
        EXPECT_EQ(op.Text(IDC_STATUS), "是否使用补丁?");
        EXPECT_TRUE(op.Click(IDC_DEVICE_OK));
    });
}

void StationRun::CloseAtTheEnd(std::function<void()> atEnd) {
    op.When([this] { return op.Text(IDC_DEVICE_CANCEL) == "关 闭"; },
            [this, atEnd] {
                EXPECT_FALSE(op.IsEnabled(IDC_DEVICE_OK));
                EXPECT_TRUE(op.IsEnabled(IDC_DEVICE_CANCEL));
                EXPECT_FALSE(op.IsVisible(IDC_PROGRESS));
                if (atEnd) atEnd();
                EXPECT_TRUE(op.Click(IDC_DEVICE_CANCEL));
            });
}

}  // namespace station_test
