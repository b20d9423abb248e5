// CFile and CStdioFile: text-mode line ends, the GBK and UTF-8 encodings of the station's files,
// errors as CFileException; CTime on the platform clock.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "afx.h"
#include "platform/runtime.h"

namespace {

std::string Path(const char* name) { return platform::HomeDir() + "/" + name; }

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

const std::string kPassUtf8 = "测试通过";
const std::string kPassGbk = "\xB2\xE2\xCA\xD4\xCD\xA8\xB9\xFD";

TEST(CStdioFile, NewTextFileIsWrittenInGbkWithCrLf) {
    std::string path = Path("Pass.txt");
    CStdioFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText));
    file.WriteString("\n2026-12-09 05:00:00\n");
    file.WriteString((kPassUtf8 + "\n").c_str());
    file.Close();
    EXPECT_EQ(Bytes(path), "\r\n2026-12-09 05:00:00\r\n" + kPassGbk + "\r\n");
}

TEST(CStdioFile, ReadsGbkAndEitherLineEndAsUtf8Lines) {
    std::string path = Path("Error.txt");
    Put(path, "[Eeprom]\r\nName=" + kPassGbk + "\nlast");
    CStdioFile file(path.c_str(), CFile::modeRead | CFile::typeText);
    CString line;
    std::vector<CString> lines;
    while (file.ReadString(line)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<CString>{"[Eeprom]", ("Name=" + kPassUtf8).c_str(), "last"}));
    EXPECT_EQ(file.GetEncoding(), CStdioFile::Encoding::Gbk);
}

TEST(CStdioFile, Utf8FileIsReadAsUtf8AndAppendedInUtf8) {
    for (const std::string& bom : {std::string(), std::string("\xEF\xBB\xBF")}) {
        std::string path = Path("ConfigTest.txt");
        Put(path, bom + "[高频头]\r\n");
        CStdioFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
        CString line;
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(line, "[高频头]");
        file.SeekToEnd();
        file.WriteString("Product=产品\n");
        file.Close();
        EXPECT_EQ(Bytes(path), bom + "[高频头]\r\nProduct=产品\r\n");
    }
}

TEST(CStdioFile, AsciiFileCountsAsGbkWhenWritten) {
    std::string path = Path("ascii.txt");
    Put(path, "a=1\r\n");
    CStdioFile file(path.c_str(), CFile::modeReadWrite | CFile::typeText);
    file.SeekToEnd();
    file.WriteString((kPassUtf8 + "\n").c_str());
    file.Close();
    EXPECT_EQ(Bytes(path), "a=1\r\n" + kPassGbk + "\r\n");
}

TEST(CStdioFile, CharacterGbkCannotHoldBecomesAQuestionMark) {
    std::string path = Path("emoji.txt");
    CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    file.WriteString("a\xF0\x9F\x98\x80" "b");
    file.Close();
    EXPECT_EQ(Bytes(path), "a?b");
}

// Reads every line of a text file and writes them back, the one line `changed` replaced by
// `replacement`, as a settings file saves itself.
std::string RewriteLines(const std::string& path, const std::string& changed, const std::string& replacement) {
    std::vector<CString> lines;
    {
        CStdioFile in(path.c_str(), CFile::modeRead | CFile::typeText);
        CString line;
        while (in.ReadString(line)) lines.push_back(line);
    }
    CStdioFile out(path.c_str(), CFile::modeNoTruncate | CFile::modeReadWrite | CFile::typeText);
    out.SetLength(0);
    for (const CString& line : lines) out.WriteString(((line == changed.c_str() ? replacement : line.str()) + "\n").c_str());
    out.Close();
    return Bytes(path);
}

TEST(CStdioFile, StrayByteNeverTakesTheLineEndAndUnchangedLinesKeepTheirBytes) {
    std::string path = Path("ConfigTest.txt");
    // A UTF-8 file whose comment ends in a stray byte: the line end after it stays.
    Put(path, "; 工位 \xFF\r\n[Type]\r\nMachine=1\r\n");
    {
        CStdioFile file(path.c_str(), CFile::modeRead | CFile::typeText);
        EXPECT_EQ(file.GetEncoding(), CStdioFile::Encoding::Utf8) << "one stray byte does not make the file GBK";
        CString line;
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(line, "; 工位 \xEF\xBF\xBD") << "read as the replacement character";
    }
    EXPECT_EQ(RewriteLines(path, "Machine=1", "Machine=2"), "; 工位 \xFF\r\n[Type]\r\nMachine=2\r\n");

    // A GBK file with one bad byte in a Chinese line: the line stays as it was, the rest of the
    // file too, and a changed line with a bad byte loses only that byte.
    std::string badLine = "Name=" + kPassGbk.substr(0, 4) + "\xFF" + kPassGbk.substr(4);
    Put(path, badLine + "\r\nPass=" + kPassGbk + "\r\nMachine=1\r\n");
    EXPECT_EQ(RewriteLines(path, "Machine=1", "Machine=2"), badLine + "\r\nPass=" + kPassGbk + "\r\nMachine=2\r\n");
    EXPECT_EQ(RewriteLines(path, "Machine=2", "Machine=2 \xFF" + kPassUtf8),
              badLine + "\r\nPass=" + kPassGbk + "\r\nMachine=2 ?" + kPassGbk + "\r\n");
}

TEST(CStdioFile, BinaryModeKeepsBytesAndLineEnds) {
    std::string path = Path("raw.bin");
    CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary);
    file.WriteString("x\ny\r\n");
    file.SeekToBegin();
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "x");
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "y\r");
    EXPECT_FALSE(file.ReadString(line));
    char buffer[8];
    file.SeekToBegin();
    EXPECT_STREQ(file.ReadString(buffer, 3), "x\n");
}

TEST(CFile, MissingFileFailsOpenAndThrowsFromTheConstructor) {
    std::string path = Path("missing\\nothing.txt");
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    bool thrown = false;
    try {
        CFile opened(path.c_str(), CFile::modeRead);
    } catch (CFileException* e) {
        thrown = e->m_cause == CFileException::fileNotFound;
        char text[256];
        EXPECT_TRUE(e->GetErrorMessage(text, sizeof text));
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(CFile, BinaryReadWriteSeekAndLength) {
    std::string path = Path("image.bin");
    CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    BYTE image[256];
    for (int i = 0; i < 256; ++i) image[i] = BYTE(i);
    file.Write(image, sizeof image);
    EXPECT_EQ(file.GetLength(), 256u);
    file.Seek(-16, CFile::end);
    BYTE tail[32] = {};
    EXPECT_EQ(file.Read(tail, sizeof tail), 16u);
    EXPECT_EQ(tail[0], 240);
    file.SetLength(10);
    EXPECT_EQ(file.GetLength(), 10u);
    EXPECT_EQ(file.GetFileName(), "image.bin");
}

// The share flags are Windows' share modes (the compatibility mode is the exclusive one): a
// second open the first does not share is a sharing violation and empties nothing.
TEST(CFile, ShareFlagsRefuseASecondOpenTheFirstDoesNotShare) {
    const std::string path = Path("Error.txt");
    struct Row {
        UINT first, second;
        bool opens;
    } rows[] = {
        {CFile::modeRead | CFile::shareDenyWrite, CFile::modeRead | CFile::shareDenyWrite, true},
        {CFile::modeRead | CFile::shareDenyWrite, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone, false},
        {CFile::modeReadWrite, CFile::modeRead | CFile::shareDenyNone, false},
        {CFile::modeRead | CFile::shareExclusive, CFile::modeRead | CFile::shareDenyNone, false},
        {CFile::modeWrite | CFile::shareDenyRead, CFile::modeRead | CFile::shareDenyNone, false},
        {CFile::modeWrite | CFile::shareDenyNone, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone, true},
    };
    for (const Row& row : rows) {
        Put(path, "kept");
        CFile first(path.c_str(), row.first);
        CFile second;
        CFileException error;
        EXPECT_EQ(second.Open(path.c_str(), row.second, &error), row.opens) << row.first << " then " << row.second;
        if (!row.opens) EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
        second.Abort();
        first.Abort();
        if (!row.opens) EXPECT_EQ(Bytes(path), "kept");
    }
}

TEST(CFile, InjectedWriteFailureThrowsForTheCatchBlockToDelete) {
    std::string path = Path("full.txt");
    CStdioFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
    platform::InjectFailure("CFile::Write");
    bool caught = false;
    TRY {
        file.WriteString("x\n");
    }
    CATCH(CFileException, e) {
        caught = e->m_cause == CFileException::diskFull;
        e->Delete();  // left to the CATCH block's end
    }
    END_CATCH
    EXPECT_TRUE(caught);
}

TEST(CTime, FollowsThePlatformClockAndFormats) {
    CTime before = CTime::GetCurrentTime();
    platform::AdvanceClock(3600 * 1000);
    CTime after = CTime::GetCurrentTime();
    CTimeSpan span = after - before;
    EXPECT_GE(span.GetTotalSeconds(), 3599);
    EXPECT_LE(span.GetTotalSeconds(), 3601);
    CTime t(2026, 12, 9, 10, 5, 7);
    EXPECT_EQ(t.Format("%H_%M_%S"), "10_05_07");
    EXPECT_EQ(t.Format("%Y-%m-%d %H:%M:%S"), "2026-12-09 10:05:07");
    EXPECT_EQ(t.GetDayOfWeek(), 4);  // a Wednesday
    EXPECT_EQ(CTimeSpan(1, 2, 3, 4).GetHours(), 2);
}

}  // namespace
