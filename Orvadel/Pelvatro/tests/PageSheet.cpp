#include "PageSheet.h"

#include <objbase.h>

#include <filesystem>

#include "platform/devicetree.h"
#include "platform/runtime.h"
#include "platform/shell.h"

namespace station_test {

namespace {
bool g_classesRegistered = false;
}  // namespace

std::string TestStationBenchPath() {
    return (std::filesystem::path(hwsim::Bench::DefaultPath()).parent_path() / "test-station.json").string();
}

PageSheet::PageSheet() : sheet(&main) {
    CoInitialize(nullptr);
    if (!g_classesRegistered) {
        RegisterFilterClasses();
        g_classesRegistered = true;
    }
    platform::ClearShellRequests();
    platform::SetShellStartsNothing(true);
    // The run's records start empty.
    std::filesystem::remove(HomeFile("Pass.txt"));
    std::filesystem::remove(HomeFile("Error.txt"));
}

PageSheet::~PageSheet() {
    if (sheet.m_hWnd != nullptr) sheet.DestroyWindow();
    sheet.ReleaseCards();
    m_pc.reset();
    platform::RemoveAllDevices();
    platform::SetShellStartsNothing(false);
    platform::ClearShellRequests();
    CoUninitialize();
}

void PageSheet::Settings(const std::string& utf8Text) {
    WriteFileBytes(HomeFile("ConfigTest.txt"), Gbk(utf8Text));
    EXPECT_TRUE(main.LoadConfig(HomeFile("ConfigTest.txt").c_str()));
}

void PageSheet::Enter(LPCSTR page) {
    std::string name = page;
    op.Then([this, name] {
        ASSERT_TRUE(sheet.CreateCards());
        ASSERT_TRUE(sheet.SelectCurrentCard());
        ASSERT_TRUE(sheet.ShowPage(name.c_str()));
    });
}

platform::Screenshot PageSheet::SavePicture(const std::string& name) {
    platform::Screenshot shot = op.TakeScreenshot(sheet.m_hWnd);
    std::filesystem::create_directories("test-output");
    EXPECT_TRUE(shot.SavePng("test-output/" + name + ".png"));
    return shot;
}

uint32_t PageSheet::ColourInside(const platform::Screenshot& shot, int id, int dx, int dy) const {
    CWnd* control = sheet.GetCurrentPage()->GetDlgItem(id);
    if (control == nullptr) return 0xFFFFFFFF;
    CRect r;
    control->GetWindowRect(&r);
    sheet.ScreenToClient(&r);
    return shot.At(r.left + 2 + dx, r.top + 2 + dy);
}

}  // namespace station_test
