// The card manager over an Elgrin USB box whose EEPROM names a PLL module of model 32 (at 0xC2,
// its status read at 0xC3): tuned to a station on air the card reports the lock, and a TV
// search through the card manager finds the station and nothing where none is.
#include <gtest/gtest.h>

#include <objbase.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "CardMan.h"
#include "StationFilterClasses.h"
#include "cards/base/CardFilterClasses.h"
#include "cards/base/TVCardFilter.h"
#include "graph/FilterClassRecord.h"
#include "graph/RootGraph.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"

namespace {

// Mark 'C' at byte 3 (the tuner comes from the EEPROM), maker 'T' at 0x20, model 32 at 0x21.
std::string ElgrinBench()
{
    std::string hex;
    for (int i = 0; i < 256; ++i) hex += i == 3 ? "43 " : i == 0x20 ? "54 " : i == 0x21 ? "20 " : "FF ";
    std::filesystem::remove(hwsim::Bench::StateFileFor(*hwsim::FindCardKind("Elgrin Capture"), 0));
    return R"({"cards": [{"kind": "Elgrin Capture", "tuner": 32, "eeprom": {"hex": ")" + hex +
           R"("}}], "stations": [{"kHz": 175250, "name": "C7"}]})";
}

TEST(CardManElgrinBox, AModel32TunerReportsTheLockAndTheSearchFindsTheStation)
{
    CoInitialize(nullptr);
    RegisterGraphFilterClasses();
    RegisterCardFilterClasses();
    RegisterStationFilterClasses();
    {
        std::unique_ptr<hwsim::Bench> bench = hwsim::Bench::FromText(ElgrinBench());
        hwsim::BenchDevices devices(*bench);
        CCardMan box(CCardName("Elgrin Capture", "Elgrin Crossbar", 0));
        ASSERT_TRUE(box.Create());
        CTVCardFilter* card = box.GetCardFilter();
        ASSERT_NE(nullptr, card);
        ASSERT_EQ(32, card->GetTunerModel());

        DWORD status = 0;
        ASSERT_TRUE(card->SetTVChannelFreq(175250.0f));
        EXPECT_TRUE(card->GetTVChannelStatus(&status));

        WNDCLASSA wc{};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.lpszClassName = "ElgrinSearchTarget";
        RegisterClassA(&wc);
        HWND window =
            CreateWindowExA(0, "ElgrinSearchTarget", "scan", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        const int list[] = {168250000, 175250000};
        ASSERT_TRUE(box.StartSearch(window, 200, list, 2));
        std::vector<std::pair<WPARAM, LPARAM>> steps;
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) && msg.message != WM_TV_SEARCH_END) {
            if (msg.message == WM_TV_SEARCH_STEP) steps.emplace_back(msg.wParam, msg.lParam);
        }
        const std::vector<std::pair<WPARAM, LPARAM>> expected{{168250, 0}, {175250, 1}};
        EXPECT_EQ(expected, steps);
        box.StopSearch();
        DestroyWindow(window);
        box.Release();
    }
    CoUninitialize();
}

}  // namespace
