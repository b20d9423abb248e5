// The settings file: its syntax, typed values, and writing back what the operator wrote.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>

#include <fstream>
#include <sstream>
#include <string>

#include "SkinIniFile.h"
#include "platform/durablefile.h"
#include "platform/runtime.h"
#include "platform/winnls.h"

using namespace std::string_literals;

namespace {

std::string PathOf(const char* name) { return platform::HomeDir() + "/" + name; }

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A settings file holding `bytes`, loaded.
struct LoadedFile {
    explicit LoadedFile(const std::string& bytes, const char* name = "settings.txt") : path(PathOf(name)) {
        WriteBytes(path, bytes);
        ini.SetPath(path.c_str());
        loaded = ini.Load();
    }
    std::string path;
    CSkinIniFile ini;
    BOOL loaded;
};

TEST(SkinIniFileTest, HeaderIsTheTextUpToTheLastBracket) {
    LoadedFile file("[A]b]\r\nx=1\r\n[A\r\ny=2\r\n[]\r\nz=3\r\n]late\r\n");
    ASSERT_TRUE(file.loaded);
    EXPECT_EQ(file.ini.GetSectionCount(), 2);
    CString value;
    EXPECT_TRUE(file.ini.GetValue("A]b", "x", value));
    EXPECT_EQ(value, "1");
    // "[A" starts no section: its entry belongs to the section before.
    EXPECT_TRUE(file.ini.GetValue("A]b", "y", value));
    EXPECT_TRUE(file.ini.GetValue("", "z", value));
    EXPECT_FALSE(file.ini.HasSection("A"));
}

TEST(SkinIniFileTest, EntryLinesSplitAtTheFirstEqualsAndValuesAreCutAtSemicolon) {
    LoadedFile file(
        "stray=0\r\n[S]\r\nkey=1;comment\r\nk = v\r\n=empty key\r\nno equals sign\r\n/x=commented out\r\n"
        "url=a=b\r\nkey=4;again\r\n");
    int number = 0;
    EXPECT_TRUE(file.ini.GetInt("S", "key", number));
    EXPECT_EQ(number, 1);
    CString text;
    EXPECT_TRUE(file.ini.GetString("S", "key", text));
    EXPECT_EQ(text, "1");
    EXPECT_TRUE(file.ini.GetString("S", "k", text)) << "blanks around a stored key are not part of it";
    EXPECT_EQ(text, " v");
    EXPECT_TRUE(file.ini.GetString("S", "", text));
    EXPECT_EQ(text, "empty key");
    EXPECT_TRUE(file.ini.GetString("S", "url", text));
    EXPECT_EQ(text, "a=b");
    EXPECT_FALSE(file.ini.GetString("S", "/x", text));
    EXPECT_FALSE(file.ini.GetString("S", "stray", text)) << "an entry before the first header is ignored";
    EXPECT_EQ(file.ini.GetKeyCount("S"), 5);
    EXPECT_FALSE(file.ini.GetString("S", "Key", text)) << "keys are case-sensitive";
}

TEST(SkinIniFileTest, AKeyGivenTwiceIsReadAndWrittenAtItsFirstRow) {
    LoadedFile file("[Remote]\r\n12=Power\r\n13=Rec\r\n12=NUM\r\n");
    CString text;
    EXPECT_TRUE(file.ini.GetString("Remote", "12", text));
    EXPECT_EQ(text, "Power");
    CString key;
    EXPECT_TRUE(file.ini.GetSection("Remote")->GetEntry(2, key, text)) << "each row stays an entry of its own";
    EXPECT_EQ(key + "=" + text, "12=NUM");
    file.ini.SetString("Remote", "12", "Mute");
    ASSERT_TRUE(file.ini.Save());
    EXPECT_EQ(ReadBytes(file.path), "[Remote]\r\n12=Mute\r\n13=Rec\r\n12=NUM\r\n");

    // Many keys more, and the file read again after them: every key still finds its own row.
    for (int key = 100; key < 400; ++key) file.ini.SetInt("Remote", std::to_string(key).c_str(), key);
    ASSERT_TRUE(file.ini.Load());
    int value = 0;
    for (int key = 100; key < 400; ++key) {
        EXPECT_TRUE(file.ini.GetInt("Remote", std::to_string(key).c_str(), value));
        EXPECT_EQ(value, key);
    }
    EXPECT_TRUE(file.ini.GetString("Remote", "12", text));
    EXPECT_EQ(text, "Mute");
    EXPECT_EQ(file.ini.GetKeyCount("Remote"), 303);
    EXPECT_EQ(file.ini.GetSectionCount(), 2) << "the second load's section comes after the first";
}

TEST(SkinIniFileTest, EveryLineKeepsItsOwnLineEndAndItsBytes) {
    // Mixed line ends, a line of NUL bytes, a NUL inside a comment, blank lines, no end at the end.
    const std::string nuls(4096, '\0');
    const std::string original = "// a\r\n\n[Type]\nMachine=1\r\n" + nuls + "\r\n\r\n// b\0c\n\n[Eeprom]\r\nShutDown=0"s;
    LoadedFile file(original);
    ASSERT_TRUE(file.loaded);
    ASSERT_TRUE(file.ini.Save());
    // Compared whole, without printing four thousand NUL bytes.
    EXPECT_TRUE(ReadBytes(file.path) == original) << "a file written back unchanged is the file read";
    file.ini.SetInt("Type", "Machine", 2);
    file.ini.SetInt("Eeprom", "HotPlugBus", 1);
    ASSERT_TRUE(file.ini.Save());
    EXPECT_TRUE(ReadBytes(file.path) ==
                "// a\r\n\n[Type]\nMachine=2\r\n" + nuls + "\r\n\r\n// b\0c\n\n[Eeprom]\r\nShutDown=0\r\nHotPlugBus=1\r\n"s)
        << "lines made in memory end in CR LF when not every line ends in LF";
}

TEST(SkinIniFileTest, TwoSectionsOfOneNameKeepBothAndTheFirstAnswers) {
    LoadedFile file("[A]\r\nx=1\r\n[A]\r\nx=2\r\n");
    EXPECT_EQ(file.ini.GetSectionCount(), 2);
    int x = 0;
    file.ini.GetInt("A", "x", x);
    EXPECT_EQ(x, 1);
    file.ini.SetInt("A", "x", 7);
    ASSERT_TRUE(file.ini.Save());
    EXPECT_EQ(ReadBytes(file.path), "[A]\r\nx=7\r\n[A]\r\nx=2\r\n");
}

TEST(SkinIniFileTest, LookupsOfMissingSectionsAndKeys) {
    CSkinIniFile ini;
    CString text = "unchanged";
    EXPECT_FALSE(ini.GetValue("None", "k", text));
    EXPECT_FALSE(ini.HasSection("None")) << "GetValue makes no section";
    int number = 5;
    EXPECT_FALSE(ini.GetInt("Typed", "k", number));
    EXPECT_EQ(number, 5);
    EXPECT_TRUE(ini.HasSection("Typed")) << "a typed read finds or makes the section";
    EXPECT_EQ(text, "unchanged");
}

TEST(SkinIniFileTest, SavingKeepsCommentsBlankLinesAndOrder) {
    const std::string original =
        "// station settings\r\n"
        "\r\n"
        "[Eeprom]\r\n"
        "// product on the line\r\n"
        "ProductType=84\r\n"
        "ShutDown = 0 ; 1 switches the PC off\r\n"
        "\r\n"
        "[Type]\r\n"
        "Machine=1;1 writes, 2 tests\r\n"
        "\r\n"
        "[Remote]\r\n"
        "12=Power\r\n";
    LoadedFile file(original);
    file.ini.SetInt("Type", "Machine", 2);
    file.ini.SetInt("Eeprom", "TunerModel", 95);
    file.ini.SetString("TimeDelay", "Remote", "300");
    ASSERT_TRUE(file.ini.Save());
    EXPECT_EQ(ReadBytes(file.path),
              "// station settings\r\n"
              "\r\n"
              "[Eeprom]\r\n"
              "// product on the line\r\n"
              "ProductType=84\r\n"
              "ShutDown = 0 ; 1 switches the PC off\r\n"
              "TunerModel=95\r\n"
              "\r\n"
              "[Type]\r\n"
              "Machine=2;1 writes, 2 tests\r\n"
              "\r\n"
              "[Remote]\r\n"
              "12=Power\r\n"
              "[TimeDelay]\r\n"
              "Remote=300\r\n");

    CSkinIniFile again(file.path.c_str());
    ASSERT_TRUE(again.Load());
    int machine = 0;
    EXPECT_TRUE(again.GetInt("Type", "Machine", machine));
    EXPECT_EQ(machine, 2);
}

TEST(SkinIniFileTest, GbkAndUtf8FilesAreWrittenBackInTheirOwnEncoding) {
    std::string gbkName;
    ASSERT_TRUE(platform::Utf8ToGbk("[产品]\r\n名称=高频头\r\n", &gbkName));
    LoadedFile gbk(gbkName, "gbk.txt");
    CString text;
    EXPECT_TRUE(gbk.ini.GetString("产品", "名称", text));
    EXPECT_EQ(text, "高频头");
    gbk.ini.SetString("产品", "国家", "中国");
    ASSERT_TRUE(gbk.ini.Save());
    std::string expected;
    ASSERT_TRUE(platform::Utf8ToGbk("[产品]\r\n名称=高频头\r\n国家=中国\r\n", &expected));
    EXPECT_EQ(ReadBytes(gbk.path), expected);

    LoadedFile utf8("[产品]\r\n名称=高频头\r\n", "utf8.txt");
    EXPECT_TRUE(utf8.ini.GetString("产品", "名称", text));
    EXPECT_EQ(text, "高频头");
    utf8.ini.SetString("产品", "国家", "中国");
    ASSERT_TRUE(utf8.ini.Save());
    EXPECT_EQ(ReadBytes(utf8.path), "[产品]\r\n名称=高频头\r\n国家=中国\r\n");
}

TEST(SkinIniFileTest, SavingKeepsTheByteOrderMarkAndTheLineEndsTheFileWasReadWith) {
    LoadedFile bom("\xEF\xBB\xBF[产品]\nMachine=1\n", "bom.txt");
    ASSERT_TRUE(bom.loaded);
    bom.ini.SetInt("产品", "Machine", 2);
    ASSERT_TRUE(bom.ini.Save());
    EXPECT_EQ(ReadBytes(bom.path), "\xEF\xBB\xBF[产品]\nMachine=2\n");

    LoadedFile lf("; plain\n[Type]\nMachine=1\n\n[Eeprom]\nTunerModel=95", "lf.txt");
    lf.ini.SetInt("Type", "Machine", 2);
    ASSERT_TRUE(lf.ini.Save());
    EXPECT_EQ(ReadBytes(lf.path), "; plain\n[Type]\nMachine=2\n\n[Eeprom]\nTunerModel=95");
    lf.ini.SetInt("Eeprom", "ShutDown", 0);
    ASSERT_TRUE(lf.ini.Save());
    EXPECT_EQ(ReadBytes(lf.path), "; plain\n[Type]\nMachine=2\n\n[Eeprom]\nTunerModel=95\nShutDown=0\n");

    // A file that was never read keeps what it is on disk; a new file is GBK with CR LF.
    WriteBytes(PathOf("unread.txt"), "\xEF\xBB\xBF[A]\nx=1\n");
    CSkinIniFile unread(PathOf("unread.txt").c_str());
    unread.SetString("A", "名", "值");
    ASSERT_TRUE(unread.Save());
    EXPECT_EQ(ReadBytes(PathOf("unread.txt")), "\xEF\xBB\xBF[A]\n名=值\n");
    CSkinIniFile fresh(PathOf("fresh.txt").c_str());
    fresh.SetString("A", "名", "值😀");
    ASSERT_TRUE(fresh.Save());
    std::string expected;
    ASSERT_TRUE(platform::Utf8ToGbk("[A]\r\n名=值", &expected));
    EXPECT_EQ(ReadBytes(PathOf("fresh.txt")), expected + "?\r\n") << "GBK cannot hold the emoji";
}

TEST(SkinIniFileTest, FileErrorsAreNamed) {
    CSkinIniFile ini(PathOf("missing.txt").c_str());
    EXPECT_EQ(ini.GetError(), "No error");
    EXPECT_FALSE(ini.Load());
    EXPECT_EQ(ini.GetError(), "File not exist!");

    CSkinIniFile unwritable((platform::HomeDir() + "/no/such/folder/x.txt").c_str());
    unwritable.SetInt("A", "b", 1);
    EXPECT_FALSE(unwritable.Save());
    EXPECT_EQ(unwritable.GetError(), "Unable to open ini File!");

    LoadedFile twice("[A]\r\nx=1\r\n");
    EXPECT_TRUE(twice.ini.Load());
    EXPECT_EQ(twice.ini.GetSectionCount(), 2) << "loading again adds the sections again";
    EXPECT_EQ(twice.ini.GetError(), "No error");
}

TEST(SkinIniSectionTest, TypedValuesReadWhatTheyWrite) {
    CSkinIniSection section("S");
    section.SetInt("int", -12);
    section.SetInt("uint", 4000000000u);
    section.SetDouble("double", 2.5);
    section.SetPoint("point", CPoint(3, -4));
    section.SetSize("size", CSize(640, 480));
    section.SetRect("rect", CRect(10, 20, 30, 40));
    section.SetColor("color", RGB(1, 2, 255));
    section.SetTimeSpan("span", CTimeSpan(1, 2, 3, 4));
    CTime when(2024, 5, 6, 7, 8, 9);
    section.SetTime("time", when);

    int i = 0;
    double d = 0;
    CPoint p;
    CSize s;
    CRect r;
    COLORREF c = 0;
    CTimeSpan span;
    CTime t;
    CString text;
    EXPECT_TRUE(section.GetInt("int", i));
    EXPECT_EQ(i, -12);
    EXPECT_TRUE(section.GetValue("uint", text));
    EXPECT_EQ(text, "-294967296") << "an unsigned value is written with %d";
    EXPECT_TRUE(section.GetDouble("double", d));
    EXPECT_DOUBLE_EQ(d, 2.5);
    EXPECT_TRUE(section.GetPoint("point", p));
    EXPECT_EQ(p, CPoint(3, -4));
    EXPECT_TRUE(section.GetSize("size", s));
    EXPECT_EQ(s, CSize(640, 480));
    EXPECT_TRUE(section.GetRect("rect", r));
    EXPECT_EQ(r, CRect(10, 20, 30, 40));
    EXPECT_TRUE(section.GetValue("color", text));
    EXPECT_EQ(text, "1,2,255");
    EXPECT_TRUE(section.GetColor("color", c));
    EXPECT_EQ(c, RGB(1, 2, 255));
    EXPECT_TRUE(section.GetTimeSpan("span", span));
    EXPECT_EQ(span.GetTotalSeconds(), CTimeSpan(1, 2, 3, 4).GetTotalSeconds());
    EXPECT_TRUE(section.GetValue("time", text));
    EXPECT_EQ(text, "2024,05,06,07,08,09");
    EXPECT_TRUE(section.GetTime("time", t));
    EXPECT_EQ(t, when);
}

TEST(SkinIniSectionTest, ShortOrMissingTextsLeaveTheOutputAlone) {
    CSkinIniSection section("S");
    section.SetValue("rect5", "1,2,3");
    section.SetValue("point", "12");
    section.SetValue("color", "1,2");
    section.SetValue("time", "2024,5");
    CRect r(9, 9, 9, 9);
    CPoint p(9, 9);
    COLORREF c = 9;
    CTime t(2000, 1, 1, 0, 0, 0);
    EXPECT_FALSE(section.GetRect("rect5", r));
    EXPECT_EQ(r, CRect(9, 9, 9, 9));
    EXPECT_FALSE(section.GetPoint("point", p));
    EXPECT_FALSE(section.GetColor("color", c));
    EXPECT_FALSE(section.GetTime("time", t));
    EXPECT_EQ(t, CTime(2000, 1, 1, 0, 0, 0));
    int i = 3;
    EXPECT_FALSE(section.GetInt("missing", i));
    EXPECT_EQ(i, 3);

    // Fields a time text leaves out keep the caller's.
    section.SetValue("date", "2024,12,24");
    EXPECT_TRUE(section.GetTime("date", t));
    EXPECT_EQ(t, CTime(2024, 12, 24, 0, 0, 0));
}

TEST(SkinIniSectionTest, StringListsSplitAtEverySeparator) {
    CSkinIniSection section("S");
    section.SetValue("list", "a,b,,c;comment");
    CStringList list;
    list.AddTail("before");
    ASSERT_TRUE(section.GetStringList("list", list, ','));
    ASSERT_EQ(list.GetCount(), 5);
    const char* expected[] = {"before", "a", "b", "", "c"};
    POSITION position = list.GetHeadPosition();
    for (const char* item : expected) EXPECT_EQ(list.GetNext(position), item);

    CStringList out;
    out.AddTail("x");
    out.AddTail("");
    out.AddTail("z");
    section.SetStringList("joined", out, '|');
    CString text;
    section.GetValue("joined", text);
    EXPECT_EQ(text, "x||z");

    CString key, value;
    EXPECT_TRUE(section.GetEntry(1, key, value));
    EXPECT_EQ(key, "joined");
    EXPECT_FALSE(section.GetEntry(2, key, value));
}

}  // namespace

TEST(SkinIniFileTest, SavingThroughALinkToAPathOfMaxPathOrMoreReplacesTheFileItLeadsTo) {
    const std::string outer = platform::HomeDir() + "/" + std::string(MAX_PATH / 2, 'd');
    const std::string folder = outer + "/" + std::string(MAX_PATH / 2, 'e');
    ASSERT_EQ(mkdir(outer.c_str(), 0777), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    WriteBytes(folder + "/settings.txt", "[Eeprom]\r\nProductType=84\r\n");
    ASSERT_EQ(symlink((folder + "/settings.txt").c_str(), PathOf("link.txt").c_str()), 0);
    CSkinIniFile ini(PathOf("link.txt").c_str());
    ASSERT_TRUE(ini.Load());
    ini.SetInt("Eeprom", "ProductType", 29);
    ASSERT_TRUE(ini.Save()) << ini.GetError();
    EXPECT_EQ(ReadBytes(folder + "/settings.txt"), "[Eeprom]\r\nProductType=29\r\n");
    struct stat st;
    EXPECT_EQ(lstat(PathOf("link.txt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays";
}

// The new contents are on the disk before they take the file's name, and the name is on the
// disk before the save reports done.
TEST(SkinIniFileTest, TheWriteBackIsSyncedBeforeTheRenameAndTheFolderAfter) {
    LoadedFile file("[Type]\r\nMachine=01\r\n");
    ASSERT_TRUE(file.loaded);
    file.ini.SetInt("Type", "Machine", 2);
    std::vector<std::string> calls;
    platform::RecordFileCalls([&](const std::string& call) { calls.push_back(call); });
    const BOOL saved = file.ini.Save();
    platform::RecordFileCall("reported", "");
    platform::RecordFileCalls(nullptr);
    ASSERT_TRUE(saved);
    ASSERT_EQ(calls.size(), 7u);
    const std::string temporary = calls[0].substr(6);
    EXPECT_EQ(temporary.rfind(file.path + ".", 0), 0u) << "made beside the file: " << temporary;
    const std::vector<std::string> expected = {"write " + temporary,
                                               "sync " + temporary,
                                               "sync-folder " + platform::HomeDir(),
                                               "sync " + temporary,
                                               "rename " + temporary + " " + file.path,
                                               "sync-folder " + platform::HomeDir()};
    calls.pop_back();
    EXPECT_EQ(calls, expected);
}

TEST(SkinIniFileTest, AFailedSaveLeavesTheFileAsItWas) {
    const std::string before = "; station settings\r\n[Eeprom]\r\nProductType=84\r\n";
    LoadedFile file(before);
    ASSERT_TRUE(file.loaded);
    file.ini.SetInt("Eeprom", "ProductType", 29);
    const std::filesystem::path folder = std::filesystem::path(file.path).parent_path();
    // The last refusal is another handle reading the file without sharing its deletion.
    for (const char* refused : {"CreateFileA", "WriteFile", "FlushFileBuffers", "ReplaceFileA", "reader"}) {
        platform::InjectFailure(refused, -1);
        HANDLE reader = std::string(refused) == "reader" ? CreateFileA(file.path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                                       nullptr, OPEN_EXISTING, 0, nullptr)
                                                         : INVALID_HANDLE_VALUE;
        EXPECT_FALSE(file.ini.Save()) << refused;
        EXPECT_EQ(file.ini.GetError(), std::string(refused) == "CreateFileA" ? "Unable to open ini File!"
                                                                             : "Unable to write file!")
            << refused;
        if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
        platform::ClearFailures();
        EXPECT_EQ(ReadBytes(file.path), before) << refused << ": the settings are not lost";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1)
            << refused << ": nothing beside it";
    }
    ASSERT_TRUE(file.ini.Save());
    EXPECT_EQ(ReadBytes(file.path), "; station settings\r\n[Eeprom]\r\nProductType=29\r\n");
}
