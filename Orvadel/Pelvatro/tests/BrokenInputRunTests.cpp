// The program fed what a new user could feed it, on a PC set up as a new user's may be: a bench
// state it cannot use (or none to keep it in), a settings file with odd lines, one it may not
// replace, a link or no plain file at all, result files it cannot append to, a program folder
// too long for its paths, any locale, closed standard streams, a power-off that never comes.
// Each run ends as the README says: refused at start with exit code 2 and one line on stderr
// naming the path, or run to its end with the operator told, and the user's files left as they
// were but for what the README promises to write.
//
// The program runs in a child process on the log display: the built program where it is to stop
// at its start, and the station's code as the program's start runs it, on the virtual clock,
// where it is to run to its end. The cases of files that are read-only run as a user that file
// modes bind: this one when it is not root, else "nobody".
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

#include "StationRun.h"
#include "StationTestSupport.h"
#include "platform/ProgramUnderTest.h"
#include "platform/display.h"
#include "platform/shell.h"

using namespace station_test;
namespace fs = std::filesystem;

namespace {

struct Outcome {
    int exitCode = -1;  // -1: ended by a signal, or hung and killed
    std::string out;
    std::string err;
    long maxRssKb = 0;  // the most memory the program held
};

struct User {
    uid_t uid;
    gid_t gid;
};

// A user that file modes bind.
std::optional<User> UnprivilegedUser() {
    if (geteuid() != 0) return User{geteuid(), getegid()};
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr || nobody->pw_uid == 0) return std::nullopt;
    return User{nobody->pw_uid, nobody->pw_gid};
}

#define REQUIRE_UNPRIVILEGED_USER(user)                                                                      \
    const std::optional<User> user = UnprivilegedUser();                                                     \
    if (!user) GTEST_SKIP() << "the tests run as root and there is no user \"nobody\" that file modes bind"

class BrokenInputRun : public StationRun {
protected:
    // A folder of the test's own that another user may enter, with the program folder, the state
    // folder and the bench file in it; the program's environment points there.
    BrokenInputRun()
        : m_root(fs::temp_directory_path() / "pelvatro-broken-XXXXXX"),
          m_testStationBench(fs::path(hwsim::Bench::DefaultPath()).parent_path() / "test-station.json") {
        std::string root = m_root.string();
        if (mkdtemp(root.data()) != nullptr) m_root = root;
        chmod(root.c_str(), 0755);
        fs::create_directories(home());
        fs::create_directories(state());
        WriteFileBytes(bench(), KeshBench(2));
        for (const char* name : {"PELVATRO_HOME", "PELVATRO_STATE_DIR", "PELVATRO_BENCH", "HOME", "XDG_STATE_HOME", "LANG",
                                 "PELVATRO_TRACE", "PELVATRO_POWEROFF_COMMAND"}) {
            const char* value = getenv(name);
            m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        UseFolders(home(), state());
    }
    ~BrokenInputRun() override {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        std::error_code error;
        fs::permissions(m_root, fs::perms::all, error);
        fs::remove_all(m_root, error);
    }

    std::string root() const { return m_root.string(); }
    std::string home() const { return (m_root / "home").string(); }
    std::string state() const { return (m_root / "state").string(); }
    std::string bench() const { return (m_root / "bench.json").string(); }
    std::string StateFile(int instance) const {
        return state() + "/eeprom/713x_BDA_Analog_Capture-" + std::to_string(instance) + ".bin";
    }

    void UseFolders(const std::string& homeFolder, const std::string& stateFolder) {
        setenv("PELVATRO_HOME", homeFolder.c_str(), 1);
        setenv("PELVATRO_STATE_DIR", stateFolder.c_str(), 1);
        setenv("PELVATRO_BENCH", bench().c_str(), 1);
    }

    // Everything under the test's folder belongs to the user.
    void GiveTo(const User& user) {
        for (const auto& entry : fs::recursive_directory_iterator(m_root)) {
            EXPECT_EQ(lchown(entry.path().c_str(), user.uid, user.gid), 0) << entry.path();
        }
        EXPECT_EQ(chown(m_root.c_str(), user.uid, user.gid), 0);
    }

    // The built program on the log display, on the virtual clock unless `onOutput`, seeing its output
    // as it comes, acts on it in real time. `closed`: standard descriptors closed when it starts.
    Outcome RunProgram(const std::optional<User>& user = std::nullopt,
                       const std::function<void(const std::string&)>& onOutput = nullptr,
                       std::vector<int> closed = {}) {
        return InChild(user, onOutput, [this, closed, virtualClock = !onOutput] {
            for (int fd : closed) close(fd);
            if (chdir(m_root.c_str()) != 0) return 125;
            setenv("PELVATRO_DISPLAY", "log", 1);
            if (virtualClock) setenv(testsupport::kVirtualClockVariable, "1", 1);
            char* argv[] = {const_cast<char*>(PELVATRO_PROGRAM), nullptr};
            execv(PELVATRO_PROGRAM, argv);
            return 127;
        });
    }

    // The test station's whole run; `shutDown`: the settings' power-off line (or restart line);
    // `atStart` runs in the child once the program's display is up.
    Outcome RunTestStation(const std::optional<User>& user = std::nullopt, const char* shutDown = "ShutDown=0",
                           const std::function<void()>& atStart = nullptr) {
        std::string settings = ReadFileBytes(PELVATRO_TEST_STATION_CONFIG);
        const bool restart = strncmp(shutDown, "HotPlugBus", 10) == 0;
        settings.replace(settings.find(restart ? "HotPlugBus=0" : "ShutDown=0"), restart ? 12 : 10, shutDown);
        WriteFileBytes(HomeFile("ConfigTest.txt"), settings);
        return RunStation(ReadFileBytes(m_testStationBench.string()), user, atStart);
    }

    // The station's whole run on the bench, in this program's code on the log display as the
    // program's start runs it, on the virtual clock.
    Outcome RunStation(const std::string& benchText, const std::optional<User>& user = std::nullopt,
                       const std::function<void()>& atStart = nullptr) {
        Plug(benchText);
        if (user) GiveTo(*user);
        return InChild(user, nullptr, [this, atStart] {
            if (chdir(m_root.c_str()) != 0) return 125;
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
            setenv("PELVATRO_DISPLAY", "log", 1);
            platform::StartMachineDefaultDisplay();
            if (atStart) atStart();
            app.InitInstance();
            int code = app.ExitInstance();
            platform::StopDisplay();
            // A run that asked for its restart (not started by a test) ends with 9.
            for (const platform::ShellRequest& request : platform::ShellRequests())
                if (request.restart) return 9;
            return code;
        });
    }

    rlim_t fileSizeLimit = RLIM_INFINITY;  // the station's, set in the child before it starts
    fs::path m_testStationBench;

private:
    static Outcome InChild(const std::optional<User>& user, const std::function<void(const std::string&)>& onOutput,
                           const std::function<int()>& body) {
        int out[2], err[2];
        Outcome outcome;
        if (pipe(out) != 0 || pipe(err) != 0) return outcome;
        fflush(nullptr);
        pid_t pid = fork();
        if (pid == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            for (int fd : {out[0], out[1], err[0], err[1]}) close(fd);
            if (user && (setgroups(0, nullptr) != 0 || setgid(user->gid) != 0 || setuid(user->uid) != 0)) _exit(126);
            int code = body();
            fflush(nullptr);
            _exit(code);
        }
        close(out[1]);
        close(err[1]);
        // Both pipes read to their ends; the longest run takes 8 s (sanitized, loaded): 30 s is a hang.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        std::string* texts[2] = {&outcome.out, &outcome.err};
        int open = 2;
        while (open > 0 && std::chrono::steady_clock::now() < deadline) {
            if (poll(fds, 2, 100) <= 0) continue;
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || fds[i].revents == 0) continue;
                char buffer[4096];
                ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    texts[i]->append(buffer, size_t(n));
                    if (i == 0 && onOutput) onOutput(outcome.out);
                } else {
                    close(fds[i].fd);
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
        if (open > 0) {
            kill(pid, SIGKILL);
            ADD_FAILURE() << "the program hung";
        }
        for (const pollfd& fd : fds) {
            if (fd.fd >= 0) close(fd.fd);
        }
        int status = 0;
        rusage usage {};
        wait4(pid, &status, 0, &usage);
        outcome.maxRssKb = usage.ru_maxrss;
        EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << outcome.err;
        if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
        return outcome;
    }

    fs::path m_root;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

// The folder's entries by name.
std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(BrokenInputRun, StateTheSimulatedPcCannotUseIsRefusedAtStart) {
    // A folder where the first card's EEPROM state file belongs.
    fs::create_directories(StateFile(0));
    Outcome run = RunProgram();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pelvatro: bench state " + StateFile(0) + ": cannot be read: it is a folder, not a file\n");
    EXPECT_TRUE(fs::is_directory(StateFile(0)));
    EXPECT_EQ(Entries(state() + "/eeprom"), std::vector<std::string>{"713x_BDA_Analog_Capture-0.bin"});

    // A bench whose card's EEPROM image file is a folder.
    fs::remove_all(state());
    fs::create_directories(home() + "/image");
    WriteFileBytes(bench(), KeshBench(1, R"({"file": ")" + home() + R"(/image"})"));
    run = RunProgram();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("cannot read " + home() + "/image: it is a folder, not a file\n"), std::string::npos)
        << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;

    // A state folder that is a file.
    WriteFileBytes(bench(), KeshBench(2));
    const std::string stateFile = home() + "/state-file";
    WriteFileBytes(stateFile, "not a folder\n");
    UseFolders(home(), stateFile);
    run = RunProgram();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pelvatro: bench state " + stateFile + "/eeprom: cannot be made: Not a directory\n");
    EXPECT_EQ(ReadFileBytes(stateFile), "not a folder\n");

    // Files that are no plain files, never opened to wait nor read without end.
    UseFolders(home(), state());
    fs::create_directories(state() + "/eeprom");
    mkfifo(StateFile(0).c_str(), 0644);
    run = RunProgram();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pelvatro: bench state " + StateFile(0) + ": cannot be read: it is not a file\n");
    WriteFileBytes(bench(), KeshBench(1, R"({"file": "/dev/zero"})"));
    run = RunProgram();
    EXPECT_NE(run.err.find("cannot read /dev/zero: it is not a file\n"), std::string::npos) << run.err;
    fs::remove(bench());
    mkfifo(bench().c_str(), 0644);
    run = RunProgram();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pelvatro: PELVATRO_BENCH names " + bench() + ", which is not a file\n");
    EXPECT_EQ(fs::status(bench()).type(), fs::file_type::fifo);

    // No folder of the user's own for the state: none shared with every user is taken.
    fs::remove(bench());
    WriteFileBytes(bench(), KeshBench(1));
    for (const char* name : {"HOME", "XDG_STATE_HOME", "PELVATRO_STATE_DIR"}) unsetenv(name);
    run = RunProgram();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pelvatro: no folder for the bench state: HOME, XDG_STATE_HOME and PELVATRO_STATE_DIR are "
                       "unset; set PELVATRO_STATE_DIR\n");
    EXPECT_EQ(run.out, "");
}

TEST_F(BrokenInputRun, StateThatCannotBeKeptIsNamedAndTheExitCodeSaysSo) {
    // The state folder goes away once the page is up, before the operator starts the write.
    bool replaced = false;
    Outcome run = RunProgram(std::nullopt, [&](const std::string& out) {
        if (replaced || out.find("window \"Write Eeprom\"") == std::string::npos) return;
        fs::remove_all(state() + "/eeprom");
        WriteFileBytes(state() + "/eeprom", "not a folder\n");
        replaced = true;
    });
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.out.find("烧写完成，请重新启动电脑。"), std::string::npos) << "the chips took the image";
    for (int card = 0; card < 2; ++card) {
        EXPECT_NE(run.err.find("pelvatro: bench state " + StateFile(card) +
                               ": cannot open it (Not a directory); the card's EEPROM is not kept\n"),
                  std::string::npos)
            << run.err;
    }
    size_t named = 0;
    for (size_t at = run.err.find("pelvatro: "); at != std::string::npos; at = run.err.find("pelvatro: ", at + 1))
        ++named;
    EXPECT_EQ(named, 2u) << "once for each card: " << run.err;
    EXPECT_EQ(ReadFileBytes(state() + "/eeprom"), "not a folder\n");

    // The state folder removed while the cards are written: each store finds its file gone.
    fs::remove_all(state());
    replaced = false;
    run = RunProgram(std::nullopt, [&](const std::string& out) {
        if (replaced || out.find("请稍候，正在烧写") == std::string::npos) return;
        for (int waited = 0; waited < 200 && !(fs::exists(StateFile(0)) && fs::exists(StateFile(1))); ++waited)
            usleep(10000);
        replaced = fs::remove_all(state()) > 0;
    });
    EXPECT_EQ(run.exitCode, 3);
    for (int card = 0; card < 2; ++card) {
        EXPECT_NE(run.err.find("pelvatro: bench state " + StateFile(card) + ": cannot write it (the file was removed or "
                               "replaced while the card was written); the card's EEPROM is not kept\n"),
                  std::string::npos)
            << run.err;
    }
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
    EXPECT_FALSE(fs::exists(state() + "/eeprom")) << "not made again behind the one who removed it";
}

// Fontconfig names a font first in the locale's language: the Chinese fonts are found under a
// Chinese locale too, installed or not, and the page is drawn (on a bench without cards).
TEST_F(BrokenInputRun, StationStartsAlikeUnderAnyLocale) {
    WriteFileBytes(bench(), KeshBench(0));
    for (const char* locale : {"zh_CN.UTF-8", "zh_TW.GB18030"}) {
        setenv("LANG", locale, 1);
        Outcome run = RunProgram();
        EXPECT_EQ(run.exitCode, 0) << locale;
        EXPECT_EQ(run.err, "") << locale;
        // In the locale's charset where that locale is installed.
        const std::string shown = "创建卡失败，请确认驱动安装正确!";
        EXPECT_TRUE(run.out.find(shown) != std::string::npos ||
                    run.out.find(platform::TextInCharset(shown, "GB18030")) != std::string::npos)
            << locale << run.out;
    }
}

// Standard streams closed at the start are opened on /dev/null before any file is, so neither
// the trace nor a message lands in a card's EEPROM file: on the test station, whose pages trace
// long after the card's file is open, with stderr alone closed.
TEST_F(BrokenInputRun, ClosedStandardStreamsTakeNoFilesPlace) {
    setenv("PELVATRO_TRACE", "1", 1);
    WriteFileBytes(bench(), ReadFileBytes(m_testStationBench.string()));
    WriteFileBytes(HomeFile("ConfigTest.txt"), ReadFileBytes(PELVATRO_TEST_STATION_CONFIG));
    EXPECT_EQ(RunProgram().exitCode, 0);
    const std::string kept = ReadFileBytes(StateFile(0));  // as a run with stderr open leaves it
    fs::remove_all(state());
    Outcome run = RunProgram(std::nullopt, nullptr, {STDERR_FILENO});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(ReadFileBytes(StateFile(0)) == kept) << "no trace in the card's file";
}

TEST_F(BrokenInputRun, StateFileThatIsReadOnlyIsRefusedAtStart) {
    REQUIRE_UNPRIVILEGED_USER(user);
    const std::string blank(256, '\xFF');
    fs::create_directories(state() + "/eeprom");
    WriteFileBytes(StateFile(0), blank);
    GiveTo(*user);
    chmod(StateFile(0).c_str(), 0444);
    Outcome run = RunProgram(user);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pelvatro: bench state " + StateFile(0) + ": cannot be written: Permission denied\n");
    EXPECT_EQ(ReadFileBytes(StateFile(0)), blank);
    EXPECT_EQ(Entries(state() + "/eeprom"), std::vector<std::string>{"713x_BDA_Analog_Capture-0.bin"});

    // The same with the state folder read-only.
    fs::remove(StateFile(0));
    chmod((state() + "/eeprom").c_str(), 0555);
    run = RunProgram(user);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pelvatro: bench state " + state() + "/eeprom: cannot be written: Permission denied\n");
    EXPECT_TRUE(Entries(state() + "/eeprom").empty());
}

TEST_F(BrokenInputRun, SettingsFileIsWrittenBackAsItWasButForTheStationKind) {
    // Mixed line ends, a block of NUL bytes, a key given twice, blank lines, no end at the end.
    const std::string before = Gbk("// 工位\r\n\n[Eeprom]\nShutDown=0\r\n") + std::string(4096, '\0') +
                               "\r\n\r\n[Remote]\r\n12=NUM\n13=Rec\r\n12=Power\n\n[Type]\r\nMachine=";
    WriteFileBytes(HomeFile("ConfigTest.txt"), before + "01");
    Outcome run = RunStation(KeshBench(2));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(ReadFileBytes(HomeFile("ConfigTest.txt")) == before + "1") << "only the value changes";

    // Through a link, into the file it leads to; the link stays, nothing is left beside either.
    const std::string target = state() + "/settings/ConfigTest.txt";
    fs::create_directories(state() + "/settings");
    WriteFileBytes(target, before + "01");
    fs::remove(HomeFile("ConfigTest.txt"));
    fs::create_symlink(target, HomeFile("ConfigTest.txt"));
    run = RunStation(KeshBench(2));
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(fs::is_symlink(HomeFile("ConfigTest.txt")));
    EXPECT_TRUE(ReadFileBytes(target) == before + "1");
    EXPECT_EQ(Entries(state() + "/settings"), std::vector<std::string>{"ConfigTest.txt"});
    EXPECT_EQ(Entries(home()), std::vector<std::string>{"ConfigTest.txt"});
}

TEST_F(BrokenInputRun, SettingsThatCannotBeReadAreNamedAndTheStationRunsWithout) {
    // What stands at the settings file's place, and the error the two lines name.
    const std::string path = HomeFile("ConfigTest.txt");
    const struct {
        std::function<void()> make;
        const char* error;
    } cases[] = {
        {[&] { fs::create_directories(path + "/inside"); }, "Unable to "},  // fails to open or to be read
        {[&] { fs::create_symlink("/dev/null", path); }, "Not a plain file!"},
        {[&] { mkfifo(path.c_str(), 0644); }, "Not a plain file!"},
        {[&] { fs::create_symlink("ConfigTest.txt", path); }, "Unable to open ini File!"},  // a loop
        {[&] { WriteFileBytes(path, "[Type]\r\nMachine=2\r\n"); truncate(path.c_str(), (64 << 20) + 1); },
         "File larger than any settings file!"},
    };
    for (const auto& what : cases) {
        what.make();
        const fs::file_status before = fs::symlink_status(path);
        Outcome run = RunStation(KeshBench(1));
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err.find("pelvatro: " + path + ": the settings were not read (" + what.error), 0u) << run.err;
        EXPECT_NE(run.err.find("); the station runs without them\npelvatro: " + path +
                               ": the setting [Type] Machine=0 was not saved (" + what.error),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
        EXPECT_NE(run.out.find("烧写完成，请重新启动电脑。"), std::string::npos) << "a write station";
        EXPECT_EQ(fs::symlink_status(path).type(), before.type()) << what.error << ": left in its place";
        EXPECT_EQ(Entries(home()), std::vector<std::string>{"ConfigTest.txt"}) << "nothing made beside it";
        fs::remove_all(path);
    }
}

TEST_F(BrokenInputRun, SettingsFileThatIsReadOnlyIsNotReplaced) {
    REQUIRE_UNPRIVILEGED_USER(user);
    const std::string settings = "[Type]\r\nMachine=01\r\n";
    WriteFileBytes(HomeFile("ConfigTest.txt"), settings);
    GiveTo(*user);
    chmod(HomeFile("ConfigTest.txt").c_str(), 0444);
    Outcome run = RunStation(KeshBench(2), user);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("烧写完成，请重新启动电脑。"), std::string::npos) << "the station goes on";
    EXPECT_EQ(run.err, "pelvatro: " + HomeFile("ConfigTest.txt") +
                           ": the setting [Type] Machine=1 was not saved (Unable to write file!)\n");
    EXPECT_EQ(ReadFileBytes(HomeFile("ConfigTest.txt")), settings);
    struct stat st {};
    stat(HomeFile("ConfigTest.txt").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    EXPECT_EQ(Entries(home()), std::vector<std::string>{"ConfigTest.txt"}) << "nothing left beside it";
}

// What a test station run that cannot append its record shows and leaves: the old contents of
// both result files byte for byte.
void ExpectRecordNotWritten(const Outcome& run, const std::string& file, const std::string& errorBefore) {
    const std::string path = HomeFile(file.c_str());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("测试记录没有写入 " + path + "，请记下本次结果。"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "pelvatro: the test record was not written to " + path + "\n");
    EXPECT_EQ(ReadFileBytes(HomeFile("Error.txt")), errorBefore);
}

TEST_F(BrokenInputRun, ResultRecordThatCannotBeWrittenIsSaidOnThePage) {
    const std::string errorBefore = Gbk("\r\n2024-01-01 08:00:00\r\n第0路 录像失败\r\n");
    WriteFileBytes(HomeFile("Error.txt"), errorBefore);
    fs::create_directories(HomeFile("Pass.txt"));
    ExpectRecordNotWritten(RunTestStation(), "Pass.txt", errorBefore);
    EXPECT_TRUE(fs::is_directory(HomeFile("Pass.txt")));

    // A full disk: the write fails, and what was written of the record goes again.
    fs::remove(HomeFile("Pass.txt"));
    const std::string passBefore = Gbk("\r\n2024-01-01 09:00:00\r\n测试通过\r\n");
    WriteFileBytes(HomeFile("Pass.txt"), passBefore);
    platform::InjectFailure("CFile::Write", 1, ERROR_DISK_FULL);
    Outcome run = RunTestStation();
    platform::ClearFailures();
    ExpectRecordNotWritten(run, "Pass.txt", errorBefore);
    EXPECT_EQ(ReadFileBytes(HomeFile("Pass.txt")), passBefore);

    // Another station on this PC (this process) appends its own record at that moment.
    {
        CFile other(HomeFile("Pass.txt").c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        ExpectRecordNotWritten(RunTestStation(), "Pass.txt", errorBefore);
    }
    EXPECT_EQ(ReadFileBytes(HomeFile("Pass.txt")), passBefore);

    // A record that does not reach the disk is not written; a file the record made goes again.
    platform::InjectFailure("CFile::Flush", 1, ERROR_DISK_FULL);
    run = RunTestStation();
    platform::ClearFailures();
    ExpectRecordNotWritten(run, "Pass.txt", errorBefore);
    EXPECT_EQ(ReadFileBytes(HomeFile("Pass.txt")), passBefore);
    fs::remove(HomeFile("Pass.txt"));
    platform::InjectFailure("CFile::Write", 1, ERROR_DISK_FULL);
    run = RunTestStation();
    platform::ClearFailures();
    ExpectRecordNotWritten(run, "Pass.txt", errorBefore);
    EXPECT_FALSE(fs::exists(HomeFile("Pass.txt"))) << "no empty Pass.txt";

    // A file size limit that the record passes: a full disk, not a death (the recording before
    // it fails on the same limit, so the record goes to Error.txt).
    std::string errorsBefore;
    while (errorsBefore.size() < 64 * 1024) errorsBefore += errorBefore;
    WriteFileBytes(HomeFile("Error.txt"), errorsBefore);
    fileSizeLimit = errorsBefore.size() + 5;
    run = RunTestStation();
    ExpectRecordNotWritten(run, "Error.txt", errorsBefore);
    EXPECT_NE(run.out.find("text 1080: 录像失败: "), std::string::npos) << run.out;
}

TEST_F(BrokenInputRun, ResultFileThatIsReadOnlyKeepsItsRecords) {
    REQUIRE_UNPRIVILEGED_USER(user);
    const std::string passBefore = Gbk("\r\n2024-01-01 09:00:00\r\n测试通过\r\n");
    WriteFileBytes(HomeFile("Pass.txt"), passBefore);
    chmod(HomeFile("Pass.txt").c_str(), 0444);
    ExpectRecordNotWritten(RunTestStation(user), "Pass.txt", "");
    EXPECT_EQ(ReadFileBytes(HomeFile("Pass.txt")), passBefore);
}

// A power-off command that never ends is left after a minute of the clock, and the run ends: its
// output came through the station, and it holds none of the station's output pipes, which end.
TEST_F(BrokenInputRun, PowerOffCommandThatNeverEndsIsLeftAfterAMinute) {
    const std::string pidFile = home() + "/../poweroff.pid";
    setenv("PELVATRO_POWEROFF_COMMAND", ("echo $$ >" + pidFile + "; echo going down; echo soon >&2; exec sleep 600").c_str(), 1);
    Outcome run = RunTestStation(std::nullopt, "ShutDown=1");
    kill(pid_t(std::atoi(ReadFileBytes(pidFile).c_str())), SIGKILL);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "going down\nsoon\npelvatro: the machine was not switched off: the power-off command (" +
                           std::string(getenv("PELVATRO_POWEROFF_COMMAND")) + ") has not ended after 60 seconds\n");
    EXPECT_NE(ReadFileBytes(HomeFile("Pass.txt")), "") << "the record was written first";
}

// The log display, but the message box whose text holds `held` is shown as a window, and the
// program then sends itself `signal`, as a shell or a closed terminal would.
class CloseUnderTheBox : public platform::Display {
public:
    CloseUnderTheBox(const char* held, int signal) : m_held(held), m_signal(signal) {}
    platform::DisplayKind Kind() const override { return platform::DisplayKind::Terminal; }  // asks for restarts
    ULONGLONG Idle() override { return m_log->Idle(); }
    int AnswerMessageBox(HWND owner, const char* text, const char* caption, UINT type) override {
        if (!strstr(text, m_held)) return m_log->AnswerMessageBox(owner, text, caption, type);
        m_log->Say(std::string("held: ") + text);
        kill(getpid(), m_signal);
        return 0;
    }
    void SurfaceChanged(HWND top, const std::vector<RECT>& rects) override { m_log->SurfaceChanged(top, rects); }

private:
    std::unique_ptr<platform::Display> m_log = platform::MakeLogDisplay(nullptr);
    const char* m_held;
    int m_signal;
};

// A close request under each question and under the box of a record not written (with a
// restart asked for after the run) gives no verdict: the page neither passes nor fails, no record
// is written, no restart is asked, the program ends with exit code 0.
TEST_F(BrokenInputRun, ACloseUnderAQuestionOrTheRecordBoxGivesNoVerdictNoRecordNoRestart) {
    const std::pair<const char*, int> rows[] = {{"TV音频是否正常", SIGTERM}, {"AV视频是否正常", SIGHUP},
                                                {"SV 视频是否正常", SIGINT}, {"AV/SV音频是否正常", SIGQUIT},
                                                {"测试记录没有写入", SIGUSR1}};
    fs::create_directories(HomeFile("Pass.txt"));  // the record cannot be written
    for (const auto& [held, signal] : rows) {
        Outcome run = RunTestStation(std::nullopt, "HotPlugBus=1", [held = held, signal = signal] {
            platform::SetDisplay(std::make_unique<CloseUnderTheBox>(held, signal));
            platform::SetShellStartsNothing(true);
        });
        EXPECT_EQ(run.exitCode, 0) << held << run.err;
        EXPECT_EQ(run.out.find("不正常"), std::string::npos) << held;
        EXPECT_EQ(run.out.rfind('\n', run.out.size() - 2) + 1, run.out.find(std::string("held: ") + held))
            << "the box is the last picture: " << run.out;
        EXPECT_FALSE(FileExists(HomeFile("Error.txt"))) << held;
        EXPECT_TRUE(fs::is_directory(HomeFile("Pass.txt"))) << held;
    }
}

TEST_F(BrokenInputRun, ProgramFolderTooLongIsRefusedAtStart) {
    // 300 characters and more: the program's path does not fit the station's 260.
    const std::string folder = home() + "/" + std::string(150, 'a') + "/" + std::string(150, 'b');
    fs::create_directories(folder);
    const std::string settings = ReadFileBytes(PELVATRO_TEST_STATION_CONFIG);
    WriteFileBytes(folder + "/ConfigTest.txt", settings);
    UseFolders(folder, state());
    Outcome run = RunProgram();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pelvatro: the program folder " + folder +
                           " is too long: with the program's name it passes the 259 characters a path of the "
                           "station holds\n");
    EXPECT_EQ(run.out, "") << "no page was shown";
    EXPECT_EQ(ReadFileBytes(folder + "/ConfigTest.txt"), settings);
    EXPECT_EQ(Entries(folder), std::vector<std::string>{"ConfigTest.txt"});
    EXPECT_TRUE(Entries(state() + "/eeprom").empty()) << "no card was written";
}

struct stat StatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st;
}

// The write-back keeps what the user gave the file: its mode, its owner and group, its other
// hard links (a file with more is refused, and keeps its bytes and inode), and whatever holds
// a name beside it.
TEST_F(BrokenInputRun, SettingsWriteBackKeepsModeOwnerAndLinks) {
    const std::string path = HomeFile("ConfigTest.txt");
    const std::string before = "[Type]\r\nMachine=01\r\n", after = "[Type]\r\nMachine=1\r\n";
    const std::optional<User> other = geteuid() == 0 ? UnprivilegedUser() : std::nullopt;
    const struct {
        const char* what;
        std::function<void()> make;
        mode_t mode;
        bool saved;
        std::vector<std::string> entries;
    } rows[] = {
        {"mode 0600", [&] { chmod(path.c_str(), 0600); }, 0600, true, {"ConfigTest.txt"}},
        {"mode 0664", [&] { chmod(path.c_str(), 0664); }, 0664, true, {"ConfigTest.txt"}},
        {"another owner", [&] { if (other) EXPECT_EQ(chown(path.c_str(), other->uid, other->gid), 0); }, 0644, true,
         {"ConfigTest.txt"}},
        {"a second hard link", [&] { EXPECT_EQ(link(path.c_str(), HomeFile("Second.txt").c_str()), 0); }, 0644, false,
         {"ConfigTest.txt", "Second.txt"}},
        {"the old temporary's name taken", [&] { WriteFileBytes(path + ".new", "someone's\n"); }, 0644, true,
         {"ConfigTest.txt", "ConfigTest.txt.new"}},
    };
    for (const auto& row : rows) {
        WriteFileBytes(path, before);
        chmod(path.c_str(), 0644);
        row.make();
        const struct stat old = StatOf(path);
        Outcome run = RunStation(KeshBench(1));
        EXPECT_EQ(run.exitCode, 0) << row.what;
        const struct stat now = StatOf(path);
        EXPECT_EQ(now.st_mode & 07777, row.mode) << row.what;
        EXPECT_EQ(now.st_uid, old.st_uid) << row.what;
        EXPECT_EQ(now.st_gid, old.st_gid) << row.what;
        EXPECT_EQ(Entries(home()), row.entries) << row.what;
        if (row.saved) {
            EXPECT_EQ(run.err, "") << row.what;
            EXPECT_EQ(ReadFileBytes(path), after) << row.what;
        } else {
            EXPECT_EQ(run.err, "pelvatro: " + path +
                                   ": the setting [Type] Machine=1 was not saved (File has other hard links!)\n")
                << row.what;
            EXPECT_EQ(ReadFileBytes(path), before) << row.what;
            EXPECT_EQ(now.st_ino, old.st_ino) << row.what;
            EXPECT_EQ(now.st_nlink, 2u) << row.what;
        }
        if (row.entries.size() > 1)
            EXPECT_EQ(ReadFileBytes(home() + "/" + row.entries[1]), row.saved ? "someone's\n" : before);
        for (const std::string& name : Entries(home())) fs::remove(home() + "/" + name);
    }
}

// A state or bench file larger than it may be is refused at start before a byte of it is read:
// a sparse gigabyte costs no memory.
TEST_F(BrokenInputRun, FilesLargerThanTheyMayBeAreRefusedBeforeTheyAreRead) {
    const long gigabyte = 1L << 30;
    const struct {
        std::string path;
        std::string err;
    } rows[] = {
        {StateFile(0), "pelvatro: bench state " + StateFile(0) +
                           ": holds 1073741824 bytes, the EEPROM has 256 (remove the file to start from the bench)\n"},
        {bench(),
         "pelvatro: " + bench() + ": cannot be read: it holds 1073741824 bytes, more than the 16777216 it may\n"},
    };
    fs::create_directories(state() + "/eeprom");
    for (const auto& row : rows) {
        WriteFileBytes(bench(), KeshBench(1));
        WriteFileBytes(row.path, std::string(row.path == bench() ? KeshBench(1) : std::string(256, '\xFF')));
        ASSERT_EQ(truncate(row.path.c_str(), gigabyte), 0);
        Outcome run = RunProgram();
        EXPECT_EQ(run.exitCode, 2) << row.path;
        EXPECT_EQ(run.err, row.err);
        EXPECT_LT(run.maxRssKb, 256L << 10) << row.path << ": read whole";
        EXPECT_EQ(fs::file_size(row.path), uintmax_t(gigabyte)) << row.path;
        fs::remove(row.path);
    }
}

// No link or special file in a file's place takes what the station writes: a lock file that is
// a link keeps the link's target as it was, a result file that leads to /dev/null is refused as
// a folder in its place is.
TEST_F(BrokenInputRun, LinksAndSpecialFilesTakeNothingThroughThem) {
    const std::string kept = root() + "/kept.txt";
    WriteFileBytes(kept, "mine\n");
    fs::create_directories(state() + "/locks");
    fs::create_symlink(kept, state() + "/locks/Mutex_Remote_Control.lock");
    Outcome run = RunProgram();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("烧写完成，请重新启动电脑。"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(kept), "mine\n");
    EXPECT_TRUE(fs::is_symlink(state() + "/locks/Mutex_Remote_Control.lock"));

    for (const char* special : {"/dev/null", "fifo"}) {
        if (std::string(special) == "fifo") {
            mkfifo((root() + "/fifo").c_str(), 0644);
            special = "../fifo";
        }
        fs::create_symlink(special, HomeFile("Pass.txt"));
        ExpectRecordNotWritten(RunTestStation(), "Pass.txt", "");
        EXPECT_TRUE(fs::is_symlink(HomeFile("Pass.txt"))) << special;
        fs::remove(HomeFile("Pass.txt"));
    }
}

// Folders given as relative paths: the state folder and program folder are made absolute once,
// against the folder the program started in, and messages name them as the user wrote them;
// XDG_STATE_HOME and HOME that are not absolute are not taken.
TEST_F(BrokenInputRun, RelativeFoldersAreTakenOnceAndNamedAsWritten) {
    fs::create_directories(StateFile(0));
    UseFolders("home", "state");
    Outcome run = RunProgram();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pelvatro: bench state state/eeprom/713x_BDA_Analog_Capture-0.bin: cannot be read: it is a "
                       "folder, not a file\n");
    fs::remove_all(state() + "/eeprom");

    fs::create_directories(home() + "/ConfigTest.txt");
    run = RunProgram();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err.find("pelvatro: home/ConfigTest.txt: the settings were not read ("), 0u) << run.err;
    const std::vector<BYTE> image = KeshImage();
    EXPECT_EQ(ReadFileBytes(StateFile(0)), std::string(image.begin(), image.end())) << "kept in the state folder";
    fs::remove_all(home() + "/ConfigTest.txt");

    for (const char* name : {"PELVATRO_STATE_DIR", "HOME"}) unsetenv(name);
    setenv("XDG_STATE_HOME", "xdg", 1);
    run = RunProgram();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "pelvatro: no folder for the bench state: HOME, XDG_STATE_HOME and PELVATRO_STATE_DIR are "
                       "unset; set PELVATRO_STATE_DIR\n");
    setenv("XDG_STATE_HOME", (root() + "/xdg").c_str(), 1);
    setenv("HOME", "user", 1);
    run = RunProgram();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::exists(root() + "/xdg/pelvatro/eeprom/713x_BDA_Analog_Capture-0.bin"));
    EXPECT_FALSE(fs::exists(root() + "/user")) << "a relative HOME is not taken";
}

// Past the file size limit a write fails as on a full disk: the recording is cut, the card
// fails with its reason and the run ends with its record.
TEST_F(BrokenInputRun, AFileSizeLimitCutsTheRecordingAsAFullDiskDoes) {
    fileSizeLimit = 1 << 20;
    const Outcome run = RunTestStation();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("text 1080: 录像失败: 磁盘已满"), std::string::npos) << run.out;
    EXPECT_NE(ReadFileBytes(HomeFile("Error.txt")).find(Gbk("第0路 录像出错") + "\r\n"), std::string::npos);
}

}  // namespace
