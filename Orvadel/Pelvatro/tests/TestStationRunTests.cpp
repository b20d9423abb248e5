// The test station end to end: the whole program on the headless display, on the test-station
// bench with the repository's test-station settings. The EEPROM page writes the card and offers
// "开始测试"; the check page shows the settings and the card; TV search scans the bench's
// stations; the question pages preview their own inputs and ask. A PNG of each page is left in
// test-output for people to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "CardMan.h"
#include "PageCheck.h"
#include "PageError.h"
#include "PageTVSearch.h"
#include "StationRun.h"
#include "StationTestSupport.h"
#include "cards/base/TVCardFilter.h"
#include "hwsim/boards/CardSignal.h"
#include "hwsim/boards/TunerFilter.h"
#include "hwsim/chips/Tda8290.h"
#include "support/RecordingReader.h"
#include "platform/analogvideo.h"
#include "platform/display.h"

using namespace station_test;
using hwsim::CardSignal;

namespace {

const char kTVSearch[] = "搜台(TV Search)";
const char kTVAudio[] = "TV音频(TV Audio)";
const char kAVVideo[] = "AV视频(AV Video)";
const char kSVVideo[] = "SV视频(SV Video)";
const char kAVAudio[] = "AV音频(AV Audio)";
// The bench's stations, in the order of the page's channel table.
const std::vector<int> kBenchStationsInTableOrder = {479250, 168250, 216250, 623250, 703250};

bool Near(uint32_t pixel, const std::array<BYTE, 3>& rgb, int tolerance) {
    const int got[3] = {int(pixel >> 16 & 0xFF), int(pixel >> 8 & 0xFF), int(pixel & 0xFF)};
    for (int c = 0; c < 3; ++c) {
        if (std::abs(got[c] - rgb[c]) > tolerance) return false;
    }
    return true;
}

class TestStationRun : public StationRun {
protected:
    // The test-station settings on the bench of that name beside the default bench (null: the
    // test plugs its own).
    explicit TestStationRun(const char* benchName = "test-station.json") {
        RemoveStationFiles();
        WriteFileBytes(HomeFile("ConfigTest.txt"), ReadFileBytes(PELVATRO_TEST_STATION_CONFIG));
        const auto bench = std::filesystem::path(hwsim::Bench::DefaultPath()).parent_path() / (benchName ? benchName : "");
        if (benchName) Plug(ReadFileBytes(bench.string()));
        std::filesystem::create_directories("test-output");
    }

    // The program folder is left as the test found it: without settings and result records.
    ~TestStationRun() override { RemoveStationFiles(); }
    static void RemoveStationFiles() {
        for (const char* name : {"ConfigTest.txt", "Pass.txt", "Error.txt"}) std::filesystem::remove(HomeFile(name));
    }

    // The EEPROM page writes the card; once every write has ended, 1053 leads to the check page.
    void WriteThenStartTesting() {
        PressOk();
        op.Then([this] {
            sheet = Sheet();
            ASSERT_NE(sheet, nullptr);
            EXPECT_FALSE(op.IsVisible(IDC_PASS)) << "no test before the writes";
        });
        op.When([this] { return op.Text(IDC_STATUS) == kStatusWritten; },
                [this] {
                    EXPECT_TRUE(op.IsVisible(IDC_PASS));
                    EXPECT_TRUE(op.IsEnabled(IDC_PASS));
                    EXPECT_EQ(op.Text(IDC_PASS), "开始测试");
                    EXPECT_TRUE(op.Click(IDC_PASS));
                    EXPECT_EQ(sheet->GetCurrentPage(), sheet->FindPage(PAGE_CHECK));
                });
    }

    // The scan goes on without the preview, whose frames nobody looks at meanwhile: each frame
    // costs a sanitizer build dearly. The next page builds its preview anew.
    void StopPreviewAndSearch() {
        sheet->GetCard(0)->StopGraph();
        EXPECT_TRUE(op.Click(IDC_SEARCH));
    }

    std::vector<std::string> InfoLines() const {
        std::vector<std::string> lines;
        HWND list = op.Find(IDC_INFO_LIST);
        for (int i = 0; i < int(::SendMessage(list, LB_GETCOUNT, 0, 0)); ++i) {
            char text[256] = {0};
            ::SendMessage(list, LB_GETTEXT, WPARAM(i), LPARAM(text));
            lines.push_back(text);
        }
        return lines;
    }
    bool PageIs(const char* name) const { return sheet != nullptr && sheet->GetCurrentPage() == sheet->FindPage(name); }
    long TunedKHz() const { return static_cast<hwsim::Tda8290*>(Card(0).Chip("demodulator"))->TunedKHz(); }
    CPageTVSearch* Search() const { return dynamic_cast<CPageTVSearch*>(sheet->FindPage(kTVSearch)); }

    platform::Screenshot ShotOfPage(const char* png) {
        platform::Screenshot shot = op.TakeScreenshot(sheet->m_hWnd);
        EXPECT_TRUE(shot.SavePng(std::string("test-output/") + png));
        return shot;
    }
    // The bars of the station at `place` (the composite pattern is place 0's) matched in the
    // current page's video area.
    int BarsInVideoArea(const platform::Screenshot& shot, int place) const {
        CRect area;
        sheet->GetCurrentPage()->GetDlgItem(IDC_VIDEO_AREA)->GetWindowRect(&area);
        sheet->ScreenToClient(&area);
        int matching = 0;
        for (int bar = 0; bar < 8; ++bar) {
            const uint32_t px = shot.At(area.left + bar * area.Width() / 8 + area.Width() / 16, area.top + area.Height() / 3);
            matching += Near(px, CardSignal::kBarRgb[CardSignal::BarColour(place, bar)], 8);
        }
        return matching;
    }

    CTestSheet* sheet = nullptr;
    DWORD previewStarted = 0;
};

TEST_F(TestStationRun, CheckPageShowsTheSettingsTheCardAndItsIndexInGreen) {
    WriteThenStartTesting();
    op.Then([this] {
        CPelvatroDlg* main = MainDialog();
        EXPECT_EQ(main->m_nMachine, CPelvatroDlg::MachineTestStation);
        EXPECT_EQ(op.Text(IDC_CHECK_PRODUCT), "713x 模拟电视卡");
        EXPECT_EQ(op.Text(IDC_CHECK_COUNTRY), "中国 PAL-D/K");
        EXPECT_EQ(op.Text(IDC_CHECK_SUPPORT), "TV, AV, S-Video, 录像, 遥控器");
        HWND features = op.Find(IDC_FEATURE_LIST);
        ASSERT_EQ(::SendMessage(features, LB_GETCOUNT, 0, 0), 5);
        char first[64] = {0};
        ::SendMessage(features, LB_GETTEXT, 0, LPARAM(first));
        EXPECT_STREQ(first, "电视");
        CString product;
        ASSERT_TRUE(sheet->GetWriter().GetProduct2Str().Find(static_cast<EMProductType>(84), product));
        EXPECT_EQ(op.Text(IDC_CARD_TEXT),
                  "产  品: " + std::string(product.GetString()) + "\n卡  号: 0\n高频头:\tPHILIPSTDA8275A\nEeprom: OK\n");
        auto* check = dynamic_cast<CPageCheck*>(sheet->FindPage(PAGE_CHECK));
        ASSERT_NE(check, nullptr);
        EXPECT_EQ(check->IndexDisplay().GetText(), "0");
        EXPECT_EQ(op.Text(IDC_PASS), "开始测试") << "no countdown";

        platform::Screenshot shot = ShotOfPage("test-station-check.png");
        CRect index;
        ASSERT_TRUE(::GetWindowRect(op.Find(IDC_INDEX_DISPLAY), &index));
        sheet->ScreenToClient(&index);
        int green = 0;
        for (int y = index.top; y < index.bottom; ++y) {
            for (int x = index.left; x < index.right; ++x) green += shot.At(x, y) == 0x00FF00;
        }
        EXPECT_GT(green, 20) << "the index is drawn in green";
        sheet->EndDialog(IDCANCEL);
    });
    RunProgram();
}

TEST_F(TestStationRun, TVSearchScansTheBenchStationsAndStepsThroughThemWrapping) {
    WriteThenStartTesting();
    op.Then([this] {
        EXPECT_TRUE(op.Click(IDC_PASS));
        ASSERT_TRUE(PageIs(kTVSearch));
        SIZE size{};
        ASSERT_TRUE(sheet->GetCard(0)->GetVideoSize(&size));
        EXPECT_EQ(size.cx, 320);
        EXPECT_EQ(size.cy, 240);
        long available = 0, current = 0;
        sheet->GetCard(0)->GetCardFilter()->GetVideoStandard(&available, &current);
        EXPECT_EQ(current, AnalogVideo_PAL_D);
        // The country code reached the card's own TV tuner device.
        CComPtr<IAMTVTuner> tuner;
        EXPECT_EQ(sheet->GetCard(0)->GetCardFilter()->GetTVTuner(&tuner), S_OK);
        auto* device = dynamic_cast<hwsim::TunerFilter*>(tuner.p);
        const std::vector<std::string> calls = device != nullptr ? device->Calls() : std::vector<std::string>{};
        EXPECT_NE(std::find(calls.begin(), calls.end(), "put_CountryCode 81"), calls.end());
        EXPECT_EQ(InfoLines(), std::vector<std::string>{"TV 搜台测试"});
        EXPECT_EQ(Search()->GetFoundList().size(), 17u) << "the preset list before any scan";
        StopPreviewAndSearch();
    });
    op.When([this] { return !InfoLines().empty() && InfoLines().back() == "Search finished"; },
            [this] {
                std::vector<std::string> lines = InfoLines();
                ASSERT_EQ(lines.size(), 19u);
                for (size_t i = 1; i <= 17; ++i) {
                    EXPECT_EQ(lines[i].rfind("TV:", 0), 0u) << lines[i];
                    EXPECT_NE(lines[i].find(" KHz,信号:"), std::string::npos) << lines[i];
                }
                EXPECT_EQ(Search()->GetFoundList(), kBenchStationsInTableOrder);
                EXPECT_EQ(Search()->GetCurrentChannel(), 0);
                EXPECT_EQ(TunedKHz(), kBenchStationsInTableOrder[0]) << "the first found channel is tuned";

                // Chl Down steps on; past the last channel it wraps to the first and tunes it.
                for (size_t i = 1; i < kBenchStationsInTableOrder.size(); ++i) {
                    EXPECT_TRUE(op.Click(IDC_CHANNEL_DOWN));
                    EXPECT_EQ(TunedKHz(), kBenchStationsInTableOrder[i]);
                }
                EXPECT_TRUE(op.Click(IDC_CHANNEL_DOWN));
                EXPECT_EQ(Search()->GetCurrentChannel(), 0);
                EXPECT_EQ(TunedKHz(), kBenchStationsInTableOrder[0]) << "wrapped to the first channel";
                EXPECT_TRUE(op.Click(IDC_CHANNEL_DOWN));
                EXPECT_EQ(TunedKHz(), kBenchStationsInTableOrder[1]) << "then the second";
                EXPECT_TRUE(op.Click(IDC_CHANNEL_UP));
                EXPECT_TRUE(op.Click(IDC_CHANNEL_UP));
                EXPECT_EQ(TunedKHz(), kBenchStationsInTableOrder[0]) << "Chl Up stays at the first";

                // Search twice: the second press stops the scan.
                EXPECT_TRUE(op.Click(IDC_SEARCH));
                EXPECT_TRUE(sheet->GetCard(0)->IsScanning());
                EXPECT_TRUE(op.Click(IDC_SEARCH));
                EXPECT_FALSE(sheet->GetCard(0)->IsScanning());
            });
    op.Then([this] {
        EXPECT_LT(InfoLines().size(), 19u + 18u) << "the stopped scan did not go through the table";
        sheet->GetCard(0)->BuildPreview();  // the first station's picture again, for the PNG
        previewStarted = GetTickCount();
    });
    op.When([this] { return GetTickCount() - previewStarted >= 300; },
            [this] {
                ShotOfPage("test-station-tv-search.png");
                sheet->EndDialog(IDCANCEL);
            });
    RunProgram();
}

TEST_F(TestStationRun, QuestionPagesPreviewTheirOwnInputsAndAskAfterHalfASecond) {
    WriteThenStartTesting();
    struct Step {
        const char* page;
        const char* question;
        const char* png;
    };
    static const Step kSteps[] = {{kTVAudio, "TV音频是否正常", "test-station-tv-audio.png"},
                                  {kAVVideo, "AV视频是否正常", "test-station-av-video.png"},
                                  {kSVVideo, "SV 视频是否正常", "test-station-sv-video.png"},
                                  {kAVAudio, "AV/SV音频是否正常", "test-station-av-audio.png"}};
    DWORD entered = 0;
    op.Then([this] {
        EXPECT_TRUE(op.Click(IDC_PASS));  // check -> TV search
        ASSERT_TRUE(PageIs(kTVSearch));
        StopPreviewAndSearch();
    });
    op.When([this] { return !InfoLines().empty() && InfoLines().back() == "Search finished"; },
            [this, &entered] {
                EXPECT_TRUE(op.Click(IDC_CHANNEL_DOWN));  // the second station found: C6
                EXPECT_EQ(TunedKHz(), kBenchStationsInTableOrder[1]);
                entered = GetTickCount();
                EXPECT_TRUE(op.Click(IDC_PASS));
            });
    for (const Step& step : kSteps) {
        op.When([this] { return op.MessageBoxOpen(); },
                [this, &step, &entered] {
                    EXPECT_TRUE(PageIs(step.page));
                    EXPECT_GE(GetTickCount() - entered, DWORD(CBaseVideoPage::AskDelayMs));
                    ASSERT_FALSE(op.MessageBoxes().empty());
                    EXPECT_EQ(op.MessageBoxes().back().text, step.question);
                    platform::Screenshot shot = ShotOfPage(step.png);
                    const int tuner = BarsInVideoArea(shot, 1), composite = BarsInVideoArea(shot, 0);
                    if (step.page == kTVAudio) {
                        EXPECT_GE(tuner, 7) << "the tuner's station C6";
                    } else if (step.page == kAVVideo) {
                        EXPECT_GE(composite, 7) << "the composite colour bars";
                    } else {
                        EXPECT_LE(tuner, 2) << step.page << ": the S-video grid";
                        EXPECT_LE(composite, 2) << step.page << ": the S-video grid";
                    }
                    entered = GetTickCount();
                    EXPECT_TRUE(op.AnswerMessageBox(IDYES));
                });
    }
    op.Then([this] {
        EXPECT_EQ(op.MessageBoxes().size(), 4u) << "one box per page";
        sheet->EndDialog(IDCANCEL);
    });
    RunProgram();
}

TEST_F(TestStationRun, APageLeftEarlyAsksNothingAndNoFailsTheCard) {
    WriteThenStartTesting();
    op.Then([this] {
        sheet->ShowPage(kSVVideo);
        op.AdvanceClock(CBaseVideoPage::AskDelayMs / 2);
        sheet->ShowPage(kAVVideo);  // the S-video page was left before it asked
    });
    op.When([this] { return op.MessageBoxOpen(); },
            [this] {
                ASSERT_EQ(op.MessageBoxes().size(), 1u);
                EXPECT_EQ(op.MessageBoxes()[0].text, "AV视频是否正常");
                EXPECT_TRUE(op.AnswerMessageBox(IDNO));
            });
    op.Then([this] {
        EXPECT_EQ(sheet->GetFailures(), (std::vector<CString>{"第0路 AV视频不正常"}));
        ASSERT_TRUE(PageIs(PAGE_RESULT));
        CString title;
        sheet->GetWindowText(title);
        EXPECT_EQ(title, PAGE_RESULT);
        auto* result = dynamic_cast<CPageError*>(sheet->GetCurrentPage());
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->FailDisplay().GetText(), "第0路 AV视频不正常");
        ShotOfPage("test-station-result-failed.png");
        sheet->EndDialog(IDCANCEL);
    });
    RunProgram();
}

// The remote keys of the settings under names of their own, for telling them from the remote
// page's template texts.
const std::vector<std::pair<int, std::string>> kRemoteNames = {{12, "静音"}, {13, "录制"}, {14, "频道加"}, {15, "全屏"}};

class LoggedTestStationRun : public TestStationRun {
protected:
    explicit LoggedTestStationRun(const char* benchName = "test-station.json") : TestStationRun(benchName) {
        std::string settings = ReadFileBytes(PELVATRO_TEST_STATION_CONFIG);
        const std::string keys = "12=NUM\r\n13=Rec\r\n14=Up\r\n15=Full\r\n";
        std::string named;
        for (const auto& [code, name] : kRemoteNames) named += std::to_string(code) + "=" + name + "\r\n";
        const size_t at = settings.find(keys);
        EXPECT_NE(at, std::string::npos);
        if (at != std::string::npos) settings.replace(at, keys.size(), Gbk(named));
        WriteFileBytes(HomeFile("ConfigTest.txt"), settings);
    }
    // Runs the program on the log display, which keeps its lines.
    void RunLogged() {
        platform::SetDisplay(platform::MakeLogDisplay([this](const std::string& line) { lines.push_back(line); }));
        RunProgram();
        platform::StopDisplay();
        for (const std::string& line : lines) {
            EXPECT_EQ(line.find("Static"), std::string::npos) << line;
            EXPECT_EQ(line.find("Index"), std::string::npos) << line;
        }
    }
    long Count(const std::string& text) const { return std::count(lines.begin(), lines.end(), text); }
    // Where the line is, lines.size() when it is not.
    size_t Where(const std::string& text) const { return size_t(std::find(lines.begin(), lines.end(), text) - lines.begin()); }

    std::vector<std::string> lines;
};

// Nobody at the station: the log display's automatic operator answers every question Yes and
// presses each page's pass button once the page has shown for two seconds, never a fail button;
// the bench's remote presses the settings' four keys over and over, so the remote page hears
// them all although the pages before it took some. The log shows what the pages draw: the
// card's index in green, the settings' key names, each marked green as its key arrives, and
// "Pass" with a button that only ends the run (ShutDown 0).
TEST_F(LoggedTestStationRun, TheLogDisplaysOperatorPassesEveryPageByItselfAndTheLogShowsWhatThePagesDraw) {
    RunLogged();
    EXPECT_EQ(Count("operator: presses \"确 定\" (1002)"), 1);
    EXPECT_GE(Count("operator: presses \"开始测试\" (1053)"), 2) << "the EEPROM page's and the check page's";
    EXPECT_GE(Count("operator: presses \"通过 PASS\" (1053)"), 1) << "TV search";
    for (const char* question : {"TV音频是否正常", "AV视频是否正常", "SV 视频是否正常", "AV/SV音频是否正常"}) {
        EXPECT_EQ(Count(std::string("message box \"Pelvatro\": ") + question + " -> 是"), 1) << question;
    }
    for (const std::string& line : lines) EXPECT_EQ(line.find("(1052)"), std::string::npos) << line;
    EXPECT_EQ(Count("text 1006: 0 (green)"), 1);
    const int labels[4] = {1063, 1064, 1065, 1066};
    for (size_t i = 0; i < kRemoteNames.size(); ++i) {
        const std::string label = "text " + std::to_string(labels[i]) + ": " + kRemoteNames[i].second;
        const size_t shown = Where(label), green = Where(label + " (green background)");
        const size_t key = Where("text 1067: 键值 (KeyCode) : " + std::to_string(kRemoteNames[i].first));
        EXPECT_LT(shown, green) << label;
        ASSERT_LT(green, lines.size()) << label;
        ASSERT_LT(key, lines.size()) << label;
        EXPECT_LE(std::max(green, key) - std::min(green, key), 2u) << label << ": marked as its key arrives";
    }
    const size_t pass = Where("text 1072: Pass (green)");
    ASSERT_LT(pass, lines.size());
    EXPECT_LT(Where("title \"测试结果(Result)\""), pass);
    EXPECT_LT(pass, Where("operator: presses \"关 闭\" (1053)"));
    EXPECT_EQ(Count("button 1053 \"关 闭\""), 1);
    EXPECT_FALSE(FileExists(HomeFile("Error.txt")));
    EXPECT_NE(ReadFileBytes(HomeFile("Pass.txt")).find(Gbk("测试通过") + "\r\n"), std::string::npos);
    EXPECT_FALSE(app.m_bPowerOff);
}

// HotPlugBus asks for a restart at the end; nobody stands at the log display, so the restart is
// left out, said in the log, and the run ends with its one record.
TEST_F(LoggedTestStationRun, HotPlugBusRestartIsLeftOutOnTheLogDisplay) {
    std::string settings = ReadFileBytes(HomeFile("ConfigTest.txt"));
    settings.replace(settings.find("HotPlugBus=0"), 12, "HotPlugBus=1");
    WriteFileBytes(HomeFile("ConfigTest.txt"), settings);
    RunLogged();
    EXPECT_EQ(Count("restart: left out on the log display; the program ends after this run"), 1);
    const std::string record = ReadFileBytes(HomeFile("Pass.txt"));
    EXPECT_EQ(record.find(Gbk("测试通过")), record.rfind(Gbk("测试通过"))) << "one record";
    EXPECT_NE(record.find(Gbk("测试通过")), std::string::npos);
}

TEST_F(LoggedTestStationRun, ARemoteKeyThatNeverComesFailsTheCardOnTheResultPageAndInTheErrorRecord) {
    Card(0).RepeatKeys({12, 13, 15}, 2000);
    RunLogged();
    EXPECT_EQ(Count("text 1065: 频道加 (green background)"), 0);
    EXPECT_LT(Where("title \"测试结果(Result)\""), Where("text 1070: 第0路 遥控器错误 (red)"));
    EXPECT_LT(Where("text 1070: 第0路 遥控器错误 (red)"), lines.size());
    EXPECT_NE(ReadFileBytes(HomeFile("Error.txt")).find(Gbk("第0路 遥控器错误") + "\r\n"), std::string::npos);
}

// The test-station settings on the default bench, whose cards have no encoder: each card's
// record page says so and fails the card when a recording would have ended, and the run ends
// by itself with the error record.
struct TestStationOnTheDefaultBench : LoggedTestStationRun {
    TestStationOnTheDefaultBench() : LoggedTestStationRun("default.json") {}
};

TEST_F(TestStationOnTheDefaultBench, EveryRecordingFailsAndTheRunEndsByItselfWithTheErrorRecord) {
    RunLogged();
    EXPECT_EQ(Count("text 1080: 录像失败: 本卡没有编码器"), 2) << "each card's";
    EXPECT_EQ(Count("text 1070: 第0路 录像出错 (red)"), 2) << "the run's first failure, on both cards' result page";
    EXPECT_EQ(Count("operator: presses \"测试下一块卡\" (1053)"), 1);
    EXPECT_EQ(Count("operator: presses \"关 闭\" (1053)"), 1);
    const std::string record = ReadFileBytes(HomeFile("Error.txt"));
    EXPECT_NE(record.find(Gbk("第0路 录像出错") + "\r\n"), std::string::npos) << record;
    EXPECT_NE(record.find(Gbk("第1路 录像出错") + "\r\n"), std::string::npos) << record;
    EXPECT_FALSE(FileExists(HomeFile("Pass.txt")));
}

// Boards of mixed kinds, each set up as the test-station bench's card: every card records
// through the encoder of its own board, and a card whose recording cannot start, breaks on the
// way or at the stop, or lost its pictures fails alone, with its reason in 1080, once the
// recording would have ended. libavformat reads each recording back: a passed card's holds
// five seconds of video and sound, a failed card's less.
struct RecordRow {
    const char* name;
    const char* cards;  // one letter a card: K a Kesh card, Q a Qel card; lower case: no encoder
    const char* last;   // bench keys added to the last card
    int diskFullAfter;  // the disk fills after this many writes of the first card's recording (-1: never)
    int slowWriteMs;    // each write takes this long (0: the disk is quick)
    int failing;        // the card that fails (-1: none), with 1080 showing `reason` and more
    const char* reason;
    size_t failedBytes = 0;  // the failed card's recording holds so many bytes (0: not checked)
};

std::string MixedBench(const RecordRow& row) {
    std::string cards;
    for (const char* c = row.cards; *c != '\0'; ++c) {
        cards += std::string(cards.empty() ? "" : ",") + "{\"kind\": \"" +
                 (std::toupper(*c) == 'K' ? "713x BDA Analog Capture" : "713x_4 TV Card Capture") +
                 "\", \"tuner\": 95, \"eeprom\": \"blank\", \"encoder\": " + (std::isupper(*c) ? "true" : "false") +
                 ", \"remote\": \"r\", \"keys\": [12, 13, 14, 15], \"keysRepeatMs\": 2000" + (c[1] ? "" : row.last) + "}";
    }
    return "{\"cards\": [" + cards + "], \"stations\": [{\"kHz\": 479250}]}";
}

// Names the row in test listings rather than dumping its pointers' bytes.
void PrintTo(const RecordRow& row, std::ostream* out) { *out << row.name; }

class MixedCardsRecord : public LoggedTestStationRun, public testing::WithParamInterface<RecordRow> {
protected:
    MixedCardsRecord() : LoggedTestStationRun(nullptr) { Plug(MixedBench(GetParam())); }
    ~MixedCardsRecord() override {
        for (const std::string& path : Recordings()) std::filesystem::remove(path);
    }
    // The recordings in the order they were made (named for the time of day).
    static std::vector<std::string> Recordings() {
        std::vector<std::string> paths;
        for (const auto& entry : std::filesystem::directory_iterator(platform::HomeDir()))
            if (entry.path().extension() == ".mpg") paths.push_back(entry.path().string());
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    // A result file of one record, its date line as "<date>".
    static std::string Undated(const char* name) {
        std::string text = FileExists(HomeFile(name)) ? ReadFileBytes(HomeFile(name)) : "";
        return text.size() > 21 ? text.replace(2, 19, "<date>") : text;
    }
};

TEST_P(MixedCardsRecord, EachCardRecordsThroughItsOwnEncoderAndAFailingOneFailsAlone) {
    const RecordRow& row = GetParam();
    // The recording is the run's first file written by WriteFile.
    if (row.diskFullAfter >= 0) platform::InjectFailure("WriteFile", 1, ERROR_DISK_FULL, row.diskFullAfter);
    if (row.slowWriteMs != 0) platform::InjectFailure("WriteFile:slow", 1000000, row.slowWriteMs);
    RunLogged();
    platform::ClearFailures();
    EXPECT_EQ(exitCode, 0);
    // The run's one record.
    const std::string record = "\r\n<date>\r\nKeshar A+D\r\nPHILIPSTDA8275A\r\n" +
                               Gbk(row.failing < 0 ? "测试通过" : "第" + std::to_string(row.failing) + "路 录像出错") + "\r\n";
    EXPECT_EQ(Undated("Pass.txt"), row.failing < 0 ? record : "");
    EXPECT_EQ(Undated("Error.txt"), row.failing < 0 ? "" : record);
    std::vector<int> encoders;
    for (int i = 0; row.cards[i] != '\0'; ++i)
        if (std::isupper(row.cards[i])) encoders.push_back(i);
    if (row.reason) {
        const std::string shown = std::string("text 1080: ") + row.reason;
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(shown); }), 1) << shown;
    }
    const std::vector<std::string> recordings = Recordings();
    ASSERT_EQ(recordings.size(), encoders.size());
    for (size_t i = 0; i < recordings.size(); ++i) {
        const hwsim::RecordingStreams got = hwsim::ReadRecording(recordings[i], 0);
        const size_t bytes = std::filesystem::file_size(recordings[i]);
        if (encoders[i] == row.failing) {
            EXPECT_LT(std::min(got.videoSeconds, got.audioSeconds), 4.8) << recordings[i] << ": the failed card's";
            if (row.failedBytes != 0) EXPECT_EQ(bytes, row.failedBytes);
        } else {
            EXPECT_NEAR(got.videoSeconds, 5, 0.2) << recordings[i];
            EXPECT_NEAR(got.audioSeconds, 5, 0.2) << recordings[i];
            EXPECT_LE(bytes * 8 / 5, 4500000u + 256000u) << "bit/s: the average the station asks, and the sound";
        }
    }
    EXPECT_EQ(Count("operator: presses \"关 闭\" (1053)"), 1) << "the run ends by itself";
}

// A recording makes about 124 writes.
INSTANTIATE_TEST_SUITE_P(Rows, MixedCardsRecord,
                         testing::Values(RecordRow{"KQ", "KQ", "", -1, 0, -1, nullptr},
                                         RecordRow{"KQKQ", "KQKQ", "", -1, 0, -1, nullptr},
                                         RecordRow{"kK", "kK", "", -1, 0, 0, "录像失败: 本卡没有编码器"},
                                         RecordRow{"KK_EncoderStopsAt2s", "KK", ", \"encoderStopsAfterMs\": 2000", -1, 0, 1,
                                                   "录像失败: 编码器停止输出"},
                                         RecordRow{"K_EncoderStopsAt4_5s", "K", ", \"encoderStopsAfterMs\": 4500", -1, 0, 0,
                                                   "录像失败: 编码器停止输出"},
                                         RecordRow{"K_EncoderStopsAfterBytes", "K", ", \"encoderStopsAfterBytes\": 200000", -1, 0, 0,
                                                   "录像失败: 编码器停止输出", 200000},
                                         RecordRow{"K_DiskFullEarly", "K", "", 20, 0, 0, "录像失败: 磁盘已满"},
                                         RecordRow{"K_DiskFullLate", "K", "", 100, 0, 0, "录像失败: 磁盘已满"},
                                         RecordRow{"K_SlowDisk", "K", "", -1, 100, 0, "录像失败: 录像丢帧"}),
                         [](const testing::TestParamInfo<RecordRow>& info) { return std::string(info.param.name); });

}  // namespace

