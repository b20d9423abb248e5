// The record page on the test-station bench: five seconds of the tuner input through the card's
// encoder into a file named after the time of day, never over an older recording, then the
// player asked (recorded, nothing started) with the quoted path, and the next page.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "CardMan.h"
#include "PageRecord.h"
#include "PageSheet.h"
#include "platform/runtime.h"
#include "platform/shell.h"
#include "platform/winfile.h"
#include "support/RecordingReader.h"

using namespace station_test;

namespace {

constexpr char kRecord[] = "录像(Record)";

// A record page that keeps every progress text it showed.
class WatchedRecordPage : public CPageRecord {
public:
    void OnTestTimer(UINT_PTR id) override {
        // The disk fills as the last tick stops the recording.
        if (id == TimerProgress && diskFullAtTheStop && texts.size() == ProgressTicks - 1)
            platform::InjectFailure("WriteFile", 1000, ERROR_DISK_FULL);
        CPageRecord::OnTestTimer(id);
        if (id == TimerProgress) {
            CString shown;
            GetDlgItemText(IDC_RECORD_PROGRESS, shown);
            texts.push_back(shown.str());
            if (s_nProgressTicksSeen++ == 0) firstTick = platform::ClockNow();
            if (!IsRecording()) stopped = platform::ClockNow();
        }
    }
    std::vector<std::string> texts;
    ULONGLONG firstTick = 0, stopped = 0;
    int s_nProgressTicksSeen = 0;
    bool diskFullAtTheStop = false;
};

// The clock reads 10:05:07.000 today.
void SetClockToTenFiveSeven() {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    time.wHour = 10;
    time.wMinute = 5;
    time.wSecond = 7;
    time.wMilliseconds = 0;
    ASSERT_TRUE(SetLocalTime(&time));
}

struct RecordPageTest : PageSheet {
    RecordPageTest() {
        PlugTestStation();
        setenv("PELVATRO_OPENER", "xdg-open", 1);
        sheet.AddPage(kRecord, new WatchedRecordPage(), "next");
        sheet.AddPage("next", new ScriptedPage("", &visits, "next"), PAGE_RESULT);
        sheet.AddPage(PAGE_RESULT, new ScriptedPage("", &visits, "result", true), "");
    }
    ~RecordPageTest() override {
        unsetenv("PELVATRO_OPENER");
        // The recordings go: the next test records at the same time of day.
        for (const auto& entry : std::filesystem::directory_iterator(platform::HomeDir()))
            if (entry.path().extension() == ".mpg") std::filesystem::remove(entry.path());
    }
    WatchedRecordPage* Page() const { return PageOf<WatchedRecordPage>(kRecord); }
    // A step: the cards are made, the clock reads 10:05:07 and card 0 shows the record page.
    bool recordFileFails = false;  // the recording's file cannot be made (the path leads nowhere)
    void EnterAtTenFiveSeven(std::function<void()> then = nullptr) {
        op.Then([this, then] {
            ASSERT_TRUE(sheet.CreateCards());
            ASSERT_TRUE(sheet.SelectCurrentCard());
            SetClockToTenFiveSeven();
            if (recordFileFails) platform::InjectFailure("CreateFileA", 1, ERROR_PATH_NOT_FOUND);
            ASSERT_TRUE(sheet.ShowPage(kRecord));
            if (then) then();
        });
    }
    static std::vector<std::string> ProgressTexts() {
        std::vector<std::string> texts;
        for (int i = 0; i < 100; ++i) texts.push_back("正在录像，当前进度: " + std::to_string(i) + "%");
        return texts;
    }
    // The whole road: 100 ticks, the player asked one second after the stop, the next page.
    void RecordToTheNextPage(const std::string& expectedName) {
        op.Then([this] {
            EXPECT_TRUE(Page()->IsRecording());
            EXPECT_EQ(op.Text(IDC_INFO_LIST), "");
            EXPECT_FALSE(op.IsVisible(IDC_PASS)) << "the page passes by itself";
        });
        op.When([this] { return Page()->texts.size() == 50; }, [this] { SavePicture("record-page"); });
        op.When([this] { return Showing("next"); },
                [this, expectedName] {
                    EXPECT_GE(platform::ClockNow() - Page()->stopped, 1000u);
                    EXPECT_LT(platform::ClockNow() - Page()->stopped, 1100u);
                    std::vector<platform::ShellRequest> requests = platform::ShellRequests();
                    ASSERT_EQ(requests.size(), 1u);
                    EXPECT_TRUE(requests[0].player);
                    EXPECT_TRUE(requests[0].file.ends_with("\\Windows Media Player\\wmplayer.exe")) << requests[0].file;
                    EXPECT_EQ(requests[0].parameters, "\"" + Page()->GetRecordFile().str() + "\"");
                    ASSERT_EQ(requests[0].command.size(), 2u);
                    EXPECT_EQ(requests[0].command[1], HomeFile(expectedName.c_str()))
                        << "one argument: the recording's native path";
                });
        op.Then([this] { sheet.EndDialog(IDCANCEL); });
        sheet.DoModal();
        EXPECT_EQ(Page()->texts, ProgressTexts());
        EXPECT_EQ(visits, (std::vector<std::string>{"next@0"}));
        EXPECT_TRUE(sheet.IsPassed());
        hwsim::RecordingStreams got = hwsim::ReadRecording(HomeFile(expectedName.c_str()), 0);
        EXPECT_TRUE(got.opened);
        EXPECT_TRUE(got.programStream);
        EXPECT_GT(got.pictures, 100) << "about five seconds of pictures decode";
    }
};

TEST_F(RecordPageTest, RecordsFiveSecondsIntoTheTimeNamedFileThenPlaysItAndGoesOn) {
    EnterAtTenFiveSeven();
    RecordToTheNextPage("10_05_07.mpg");
}

TEST_F(RecordPageTest, AnOlderRecordingOfTheSameSecondIsKept) {
    WriteFileBytes(HomeFile("10_05_07.mpg"), "older recording");
    EnterAtTenFiveSeven();
    RecordToTheNextPage("10_05_07_1.mpg");
    EXPECT_EQ(ReadFileBytes(HomeFile("10_05_07.mpg")), "older recording");
}

TEST_F(RecordPageTest, NumberedNamesGoOnWhileTheyAreTaken) {
    WriteFileBytes(HomeFile("10_05_07.mpg"), "a");
    WriteFileBytes(HomeFile("10_05_07_1.mpg"), "b");
    SetClockToTenFiveSeven();
    CPageRecord page;
    CString name = page.MakeRecordFileName();
    EXPECT_TRUE(name.str().ends_with("\\10_05_07_2.mpg")) << name.str();
}

TEST_F(RecordPageTest, TheFailButtonStopsTheRecordingAndTheNextRecordingCountsFromZero) {
    EnterAtTenFiveSeven();
    op.When([this] { return Page()->texts.size() == 20; },
            [this] {
                EXPECT_TRUE(op.Click(IDC_FAIL));
                EXPECT_FALSE(Page()->IsRecording());
                EXPECT_EQ(sheet.GetCard(0)->GetDumpFilter(), nullptr) << "the file writer is out of the graph";
                EXPECT_TRUE(Showing(PAGE_RESULT));
                EXPECT_EQ(CPageRecord::GetProgress(), 20) << "left early";
                platform::AdvanceClock(3000);
            });
    op.Then([this] {
        EXPECT_TRUE(platform::ShellRequests().empty()) << "nothing is played";
        EXPECT_TRUE(Showing(PAGE_RESULT)) << "no page change follows";
        // The next recording counts its own hundred ticks.
        Page()->texts.clear();
        ASSERT_TRUE(sheet.ShowPage(kRecord));
    });
    op.When([this] { return Showing("next"); }, [this] { sheet.EndDialog(IDCANCEL); });
    sheet.DoModal();
    EXPECT_EQ(sheet.GetFailures(), (std::vector<CString>{"第0路 录像出错"}));
    EXPECT_EQ(Page()->texts, ProgressTexts());
}

TEST_F(RecordPageTest, AWriteThatFailsAtTheStopFailsTheCard) {
    EnterAtTenFiveSeven([this] { Page()->diskFullAtTheStop = true; });
    op.When([this] { return Showing(PAGE_RESULT) || Showing("next"); }, [this] {
        EXPECT_EQ(op.Text(IDC_RECORD_PROGRESS), "录像失败: 磁盘已满");
        sheet.EndDialog(IDCANCEL);
    });
    sheet.DoModal();
    platform::ClearFailures();
    EXPECT_EQ(sheet.GetFailures(), (std::vector<CString>{"第0路 录像出错"}));
}

// Nobody stands at a test station: a recording that cannot start says why and, when a recording
// would have ended, fails the card as the fail button does; the run goes on to the result page.
TEST_F(RecordPageTest, AFileThatCannotBeCreatedShowsWhyAndFailsTheCardWhenTheRecordingWouldHaveEnded) {
    recordFileFails = true;
    ULONGLONG entered = 0;
    EnterAtTenFiveSeven([this, &entered] {
        entered = platform::ClockNow();
        EXPECT_FALSE(Page()->IsRecording());
        const std::string shown = op.Text(IDC_RECORD_PROGRESS), why = "录像失败: 不能写入 ";
        ASSERT_EQ(shown.rfind(why, 0), 0u) << shown;
        EXPECT_EQ(shown.substr(why.size()), HomeFile("10_05_07.mpg")) << "named as this machine writes it";
        platform::AdvanceClock(5900);
    });
    op.Then([this] {
        EXPECT_TRUE(Showing(kRecord)) << "the page waits as long as a recording takes";
        EXPECT_TRUE(sheet.GetFailures().empty());
    });
    op.When([this] { return Showing(PAGE_RESULT); },
            [this, &entered] {
                EXPECT_EQ(platform::ClockNow() - entered, 6000u);
                EXPECT_EQ(sheet.GetFailures(), (std::vector<CString>{"第0路 录像出错"}));
                EXPECT_TRUE(Page()->texts.empty()) << "no progress runs";
                EXPECT_TRUE(platform::ShellRequests().empty()) << "nothing is played";
                sheet.EndDialog(IDCANCEL);
            });
    sheet.DoModal();
    EXPECT_EQ(visits, (std::vector<std::string>{"result@0"}));
}

// A recording the disk fills on the way fails the card only when it would have ended; the error
// is this recording's alone: the page entered again records whole.
TEST_F(RecordPageTest, ABrokenRecordingFailsTheCardWhenItWouldHaveEndedAndLeavesNoErrorForTheNext) {
    ULONGLONG entered = 0;
    EnterAtTenFiveSeven([&entered] {
        entered = platform::ClockNow();
        platform::InjectFailure("WriteFile", 1, ERROR_DISK_FULL, 20);
    });
    op.When([this] { return Showing(PAGE_RESULT); },
            [this, &entered] {
                EXPECT_EQ(platform::ClockNow() - entered, 6000u);
                Page()->texts.clear();
                ASSERT_TRUE(sheet.ShowPage(kRecord));
            });
    op.When([this] { return !Showing(kRecord); }, [this] { sheet.EndDialog(IDCANCEL); });
    sheet.DoModal();
    EXPECT_EQ(sheet.GetFailures(), (std::vector<CString>{"第0路 录像出错"})) << "the first recording's alone";
    EXPECT_EQ(Page()->texts, ProgressTexts()) << "the second records whole";
}

}  // namespace
