// A named mutex another process holds: the wait sleeps until that process lets go or ends, waking
// for nothing else, and hears an end as an abandonment.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include <windows.h>

#include "SpawnSelf.h"
#include "platform/ChildRole.h"
#include "platform/runtime.h"

namespace {

constexpr char kName[] = "held-by-another-process";

// This thread's voluntary context switches so far: how often it went to sleep.
long Sleeps() {
    std::ifstream status("/proc/thread-self/status");
    std::string word;
    while (status >> word)
        if (word == "voluntary_ctxt_switches:") {
            long n = 0;
            status >> n;
            return n;
        }
    return -1;
}

// This test binary in a process of its own, running the holder below on this state directory.
class Holder {
public:
    Holder() {
        int in[2], out[2];
        EXPECT_EQ(pipe2(in, O_CLOEXEC), 0);  // the holder keeps only its ends, as 0 and 1
        EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        m_pid = SpawnSelf("MutexHolder",
                          "PELVATRO_MUTEX_HOLDER_STATE=" + platform::StateDir(), &actions);
        EXPECT_GT(m_pid, 0);
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        m_input = in[1];
        m_output = out[0];
    }
    ~Holder() {
        if (m_input >= 0) close(m_input);
        close(m_output);
        if (m_pid > 0) waitpid(m_pid, nullptr, 0);
    }
    // True once the holder says it holds the name.
    bool Ready() {
        std::string said;
        char c;
        while (read(m_output, &c, 1) == 1) {
            said += c;
            if (said.find("ready\n") != std::string::npos) return true;
        }
        return false;
    }
    // Lets it release the name and end.
    void Release() {
        close(m_input);
        m_input = -1;
    }
    // Ends it at once, holding the name.
    void Kill() { kill(m_pid, SIGKILL); }

private:
    pid_t m_pid = -1;
    int m_input = -1, m_output = -1;
};

// Run by the tests below in a process of their own: takes the name until its input ends.
CHILD_ROLE(MutexHolder) {
    setenv("PELVATRO_STATE_DIR", getenv("PELVATRO_MUTEX_HOLDER_STATE"), 1);
    HANDLE m = CreateMutexA(nullptr, FALSE, kName);
    if (WaitForSingleObject(m, 0) != WAIT_OBJECT_0 || write(1, "ready\n", 6) != 6) return 1;
    char c;
    while (read(0, &c, 1) == 1) {
    }
    const bool released = ReleaseMutex(m);
    CloseHandle(m);
    return released ? 0 : 1;
}

TEST(NamedMutexProcess, ANameOnlyAnotherProcessHasOpenOpens) {
    Holder holder;
    ASSERT_TRUE(holder.Ready());
    HANDLE opened = OpenMutexA(SYNCHRONIZE, FALSE, kName);
    EXPECT_NE(opened, nullptr);
    CloseHandle(opened);
    holder.Release();
}

TEST(NamedMutexProcess, AWaitSleepsUntilTheHolderReleasesOrEnds) {
    HANDLE m = CreateMutexA(nullptr, FALSE, kName);
    {
        Holder holder;
        ASSERT_TRUE(holder.Ready());
        // Held for 600 ms of real time: the wait sleeps through it, not waking to look again.
        const long before = Sleeps();
        EXPECT_EQ(WaitForSingleObject(m, 600), WAIT_TIMEOUT);
        EXPECT_LT(Sleeps() - before, 5) << "woke to look again";
        holder.Release();
        EXPECT_EQ(WaitForSingleObject(m, 5000), WAIT_OBJECT_0);
        EXPECT_TRUE(ReleaseMutex(m));
    }
    Holder holder;
    ASSERT_TRUE(holder.Ready());
    holder.Kill();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(m, 5000), WAIT_ABANDONED) << "the holder ended holding it";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(ReleaseMutex(m));
    CloseHandle(m);
}

}  // namespace
