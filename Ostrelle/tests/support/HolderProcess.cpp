#include "support/HolderProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

HolderProcess::HolderProcess(const char* mode, const char* name) {
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, toChild[1]);
    posix_spawn_file_actions_addclose(&actions, fromChild[0]);
    std::string path = NAME_MUTEX_HOLDER;
    std::string held = name;
    std::string how = mode;
    char* argv[] = {path.data(), held.data(), how.empty() ? nullptr : how.data(), nullptr};
    if (posix_spawn(&m_pid, path.c_str(), &actions, nullptr, argv, environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    m_toChild = toChild[1];
    m_fromChild = fromChild[0];
}

HolderProcess::~HolderProcess() {
    Release();
    if (m_fromChild >= 0) close(m_fromChild);
}

std::string HolderProcess::Answer() {
    std::string line;
    char c;
    while (m_fromChild >= 0 && read(m_fromChild, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

void HolderProcess::Kill() {
    if (m_pid > 0) kill(m_pid, SIGKILL);
    Release();
}

int HolderProcess::Release() {
    if (m_toChild >= 0) {
        close(m_toChild);
        m_toChild = -1;
    }
    if (m_pid > 0) {
        waitpid(m_pid, &m_status, 0);
        m_pid = -1;
    }
    return m_status;
}
