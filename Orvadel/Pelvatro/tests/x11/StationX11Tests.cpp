// The station on the X11 display under Xvfb, worked through XTest as the operator would: the
// sheet as the one X window, a click on "确 定" running the write to its end with the window's
// pixels following the surface, the window manager's close refused while the write runs, the
// no-card message box answered by a click and by the keys. Pictures go to test-output/.
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "StationRun.h"
#include "StationTestSupport.h"
#include "XServerSession.h"

using namespace station_test;

namespace {

class StationX11 : public StationRun {
protected:
    void SetUp() override { XSERVER_OR_SKIP(x); }

    void Await(std::function<bool()> ready, const char* what, std::function<void()> step = nullptr) {
        testsupport::Await(op, std::move(ready), what, std::move(step));
    }

    void ClickOn(HWND control) {
        POINT at = x.CentreOf(control);
        x.Click(at.x, at.y);
    }

    // The sheet's X window shows what its surface holds.
    bool WindowShowsTheSurface(const char* png = nullptr) {
        platform::Screenshot shot = op.TakeScreenshot(Sheet()->m_hWnd);
        testsupport::XWindowId win = x.Of(Sheet()->m_hWnd);
        if (shot.pixels.empty() || !win || x.Pixels(win, shot.width, shot.height) != shot.pixels) return false;
        if (png) {
            std::filesystem::create_directories("test-output");
            EXPECT_TRUE(shot.SavePng(std::string("test-output/") + png));
        }
        return true;
    }

    testsupport::XServerSession x;
};

TEST_F(StationX11, AClickOnOkWritesTheCardWhileTheWindowShowsTheBarAndTheCloseWaitsForTheEnd) {
    Plug(KeshBench(1));
    Await([&] { return Sheet() && x.Find("Write Eeprom") != 0; }, "the sheet's X window", [&] {
        char title[128] = {};
        ::GetWindowTextA(MainDialog()->m_hWnd, title, sizeof title);
        EXPECT_EQ(x.Find(title), 0u) << "the main dialog never shows";
        ClickOn(op.Find(IDC_DEVICE_OK));
    });
    int firstPercent = 0;
    Await([&] { return Page()->GetShownPercent() >= 20 && WindowShowsTheSurface("x11-eeprom-page-writing.png"); },
          "the bar a fifth filled in the X window", [&] {
              firstPercent = Page()->GetShownPercent();
              x.AskToClose(x.Find("Write Eeprom"));
          });
    Await([&] { return Page()->GetShownPercent() >= firstPercent + 20 && WindowShowsTheSurface(); },
          "the bar moving on in the X window", [&] {
              EXPECT_NE(x.Find("Write Eeprom"), 0u) << "the close is refused while the write runs";
              EXPECT_EQ(op.Text(IDC_STATUS), kStatusWriting);
          });
    Await([&] { return op.Text(IDC_STATUS) == kStatusWritten && WindowShowsTheSurface(); }, "the end of the write",
          [&] { x.AskToClose(x.Find("Write Eeprom")); });
    RunProgram();
    EXPECT_EQ(Eeprom(0), KeshImage());
}

// The default bench worked with the keys alone, the pointer resting over the sheet (without a
// window manager the keyboard follows the pointer): Enter presses the focused "确 定" and both
// cards are written; Tab and Enter then press "关 闭", which ends the program.
TEST_F(StationX11, EnterWritesTheDefaultBenchThenTabAndEnterCloseTheProgram) {
    std::ifstream file(hwsim::Bench::DefaultPath());
    std::stringstream bench;
    bench << file.rdbuf();
    Plug(bench.str());
    Await([&] { return Sheet() && x.Find("Write Eeprom") != 0; }, "the sheet's X window", [&] {
        EXPECT_EQ(::GetFocus(), op.Find(IDC_DEVICE_OK));
        POINT over = x.CentreOf(op.Find(IDC_STATUS));
        x.MoveTo(over.x, over.y);
        x.Key(XK_Return);
    });
    Await([&] { return op.Text(IDC_STATUS) == kStatusWritten; }, "the end of the write", [&] {
        EXPECT_EQ(op.Text(IDC_DEVICE_CANCEL), "关 闭");
        x.Key(XK_Tab);
        x.Key(XK_Return);
    });
    RunProgram();
    EXPECT_EQ(Eeprom(0), KeshImage());
    EXPECT_EQ(Eeprom(1), KeshImage());
}

TEST_F(StationX11, NoCardMessageBoxIsAnsweredByAClickThenByTheKeys) {
    Plug(R"({"cards": []})");
    HWND sheet = nullptr;
    Await([&] { return Sheet() && x.Find("Write Eeprom") != 0; }, "the sheet's X window", [&] {
        sheet = Sheet()->m_hWnd;
        ClickOn(op.Find(IDC_DEVICE_OK));
    });
    HWND box = nullptr;
    // Without a window manager the display frames the box: its title bar in the active caption's
    // colours over the page's, which is in the inactive ones.
    platform::Screenshot framed;
    RECT boxRect{}, pageRect{};
    Await(
        [&] {
            if (!op.MessageBoxOpen() || !x.Of(box = op.ActiveWindow())) return false;
            platform::Screenshot inside = op.TakeScreenshot(box);
            if (inside.pixels.empty() || x.Pixels(x.Of(box), inside.width, inside.height) != inside.pixels) return false;
            ::GetWindowRect(box, &boxRect);
            ::GetWindowRect(sheet, &pageRect);
            // The frames stand at the windows' places: a border of 3 pixels, a title bar of 18.
            RECT area{pageRect.left, pageRect.top, pageRect.right + 6, pageRect.bottom + 24};
            framed = platform::Screenshot{int(area.right - area.left), int(area.bottom - area.top), x.ScreenPixels(area)};
            auto at = [&](LONG sx, LONG sy) { return framed.At(int(sx - area.left), int(sy - area.top)); };
            return !framed.pixels.empty() && at(boxRect.left + 5, boxRect.top + 12) == 0x000080 &&
                   at(pageRect.left + 5, pageRect.top + 12) == 0x808080;
        },
        "the box framed, its title bar active over the page's",
        [&] {
            std::filesystem::create_directories("test-output");
            EXPECT_TRUE(framed.SavePng("test-output/x11-message-box.png"));
        });
    Await([&] { return op.MessageBoxOpen() && x.Of(box = op.ActiveWindow()) != 0; }, "the message box's X window",
          [&] {
              EXPECT_EQ(op.Text(IDC_STATIC), "没有找到可用设备!");
              ClickOn(::GetDlgItem(box, IDOK));
          });
    Await([&] { return !op.MessageBoxOpen() && op.Text(IDC_STATUS) == kStatusCreateFailed; }, "the box answered",
          [&] { ClickOn(op.Find(IDC_DEVICE_OK)); });
    // Again, answered with Tab and Enter.
    Await([&] { return op.MessageBoxOpen() && x.Of(op.ActiveWindow()) != 0; }, "the box again", [&] {
        x.Key(XK_Tab);
        x.Key(XK_Return);
    });
    // Tab moves the page's focus to "取 消"; Space presses it and the program ends. A further Tab
    // goes only once the focus moved for the last one, so a slow loop never tabs past the button.
    int tabs = 0;
    HWND focusAtLastTab = HWND(-1);
    Await(
        [&] {
            if (op.MessageBoxOpen()) return false;
            HWND focus = ::GetFocus();
            if (focus == op.Find(IDC_DEVICE_CANCEL)) return true;
            if (focus != focusAtLastTab && tabs++ < 6) {
                focusAtLastTab = focus;
                x.Key(XK_Tab);
            }
            return false;
        },
        "the focus on 取 消", [&] { x.Key(XK_space); });
    RunProgram();
    ASSERT_EQ(op.MessageBoxes().size(), 0u) << "shown on the screen, not answered by the test operator";
}

// The write station's X window lost before "确 定", while the card is written and after: its
// connection cut or the window destroyed by another client. The program closes: nothing pressed
// (a card left blank), a running write ends whole; one line on stderr. In a child process, as
// the program is then closing.
TEST_F(StationRun, X11WindowLostBeforeDuringOrAfterTheWriteClosesTheProgram) {
    for (const char* when : {"before", "during", "after"}) {
        for (bool cut : {true, false}) {
            std::filesystem::remove_all(platform::StateDir() + "/eeprom");  // a blank card again
            Plug(KeshBench(1));
            const std::string file = hwsim::Bench::StateFileFor(Card(0).Kind(), Card(0).Instance());
            const std::string blank = ReadFileBytes(file);
            const std::vector<BYTE> image = KeshImage();
            testsupport::ChildRun run = testsupport::RunInChild([&](testsupport::XServerSession& x) {
                auto lose = [&x, cut] { cut ? x.KillClientOf(x.Find("Write Eeprom")) : x.Destroy(x.Find("Write Eeprom")); };
                testsupport::Await(op, [&] { return Sheet() && x.Find("Write Eeprom") != 0; }, "the sheet's X window",
                                   [&] { when[0] == 'b' ? lose() : (void)op.Click(IDC_DEVICE_OK); });
                if (when[0] != 'b')
                    testsupport::Await(op, [&] { return when[0] == 'd' ? Page()->GetShownPercent() >= 20 : op.Text(IDC_STATUS) == kStatusWritten; },
                                       "the moment", lose);
                app.InitInstance();
                app.ExitInstance();
                return 0;
            });
            if (run.exitCode == 77) GTEST_SKIP() << "no X server";
            EXPECT_EQ(run.exitCode, 0) << when << cut;
            EXPECT_EQ(ReadFileBytes(file), when[0] == 'b' ? blank : std::string(image.begin(), image.end())) << when << cut;
            EXPECT_EQ(run.err, std::string("pelvatro: the display was lost (") +
                                  (cut ? "the connection to the X server was lost" : "a window was destroyed by another X client") +
                                  "); the program closes\n");
        }
    }
}

}  // namespace
