// The result log: the record a finished run appends, byte for byte.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mutex>
#include <regex>

#include "PelvatroDlg.h"
#include "StationTestSupport.h"
#include "graph/TunerModelNames.h"
#include "platform/durablefile.h"

using namespace station_test;

namespace {

// The record's lines after its leading empty line, as UTF-8.
std::vector<std::string> RecordLines(const std::string& gbkBytes) {
    std::string text;
    EXPECT_TRUE(platform::GbkToUtf8(gbkBytes, &text));
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "every line ends with CR LF";
    return lines;
}

struct ResultLogTest : testing::Test {
    ResultLogTest() : sheet(&main) {
        main.m_nProductType = 84;
        main.m_nTunerModel = 95;
    }
    CPelvatroDlg main;
    CTestSheet sheet;
};

TEST_F(ResultLogTest, PassedRunAppendsItsRecordInGbkWithCrLf) {
    ASSERT_TRUE(sheet.WriteResultLog());
    EXPECT_FALSE(FileExists(HomeFile("Error.txt")));
    std::string bytes = ReadFileBytes(HomeFile("Pass.txt"));
    EXPECT_NE(bytes.find(Gbk("测试通过") + "\r\n"), std::string::npos) << "the file is GBK";

    std::vector<std::string> lines = RecordLines(bytes);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "");
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"))) << lines[1];
    EXPECT_EQ(lines[2], "Keshar A+D");
    CString tuner;
    GetTunerModelNames().Find(static_cast<TUNER_MODEL>(95), tuner);
    EXPECT_EQ(lines[3], tuner.str());
    EXPECT_EQ(lines[4], "测试通过");

    ASSERT_TRUE(sheet.WriteResultLog());
    lines = RecordLines(ReadFileBytes(HomeFile("Pass.txt")));
    ASSERT_EQ(lines.size(), 10u) << "a second run appends a second record";
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[9], "测试通过");
}

// The record is on the disk, the file and its folder synced, before the sheet goes on to say
// what comes next: a power loss right after leaves it there.
TEST_F(ResultLogTest, TheRecordIsSyncedBeforeTheRunGoesOn) {
    std::vector<std::string> calls;
    std::mutex lock;
    platform::RecordFileCalls([&](const std::string& call) {
        std::lock_guard<std::mutex> guard(lock);
        calls.push_back(call);
    });
    const bool written = sheet.WriteResultLog();
    platform::RecordFileCall("reported", "");
    platform::RecordFileCalls(nullptr);
    ASSERT_TRUE(written);
    const std::string file = HomeFile("Pass.txt");
    const std::vector<std::string> expected = {"write " + file, "sync " + file, "sync-folder " + platform::HomeDir(),
                                               "reported "};
    EXPECT_EQ(calls, expected);
}

TEST_F(ResultLogTest, FailuresGoToTheErrorFileInArrivalOrder) {
    sheet.AddFailure("第1路 视频测试失败");
    sheet.AddFailure("第0路 遥控器测试失败");
    main.m_nProductType = 9999;  // no product of that number: an empty line
    ASSERT_TRUE(sheet.WriteResultLog());
    EXPECT_FALSE(FileExists(HomeFile("Pass.txt")));
    std::vector<std::string> lines = RecordLines(ReadFileBytes(HomeFile("Error.txt")));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[4], "第1路 视频测试失败");
    EXPECT_EQ(lines[5], "第0路 遥控器测试失败");
}

TEST_F(ResultLogTest, ACharacterGbkCannotHoldIsWrittenAsAQuestionMark) {
    sheet.AddFailure("第1路 遥控器😀测试失败");
    ASSERT_TRUE(sheet.WriteResultLog());
    std::vector<std::string> lines = RecordLines(ReadFileBytes(HomeFile("Error.txt")));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4], "第1路 遥控器?测试失败");
}

// A child that may not grow the file past a few bytes of the second record writes only those
// bytes: they go again, and the file holds its first record only.
TEST_F(ResultLogTest, ARecordWrittenInPartIsCutBackReportedAndTraced) {
    ASSERT_TRUE(sheet.WriteResultLog());
    const std::string first = ReadFileBytes(HomeFile("Pass.txt"));
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{first.size() + 5, first.size() + 5};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(!sheet.WriteResultLog() && platform::TraceContains("the record was not written whole") ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0) << "the child's write failed, reported and traced";
    EXPECT_EQ(ReadFileBytes(HomeFile("Pass.txt")), first);
}

TEST_F(ResultLogTest, UnopenableFileLosesTheRecord) {
    std::vector<CString> lines{"x"};
    EXPECT_FALSE(CTestSheet::AppendLines(lines, (platform::HomeDir() + "/no/such/Pass.txt").c_str()));
}

}  // namespace
