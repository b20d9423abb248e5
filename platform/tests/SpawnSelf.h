// This test binary started again in a process of its own, running the child role `role` (see
// ChildRole.h), with an environment entry added to this process's environment.
#pragma once

#include <spawn.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

// The child's process id, or -1 when it could not be started.
inline pid_t SpawnSelf(const std::string& role, const std::string& environmentEntry,
                       const posix_spawn_file_actions_t* actions = nullptr) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.push_back(environmentEntry);
    env.push_back("PELVATRO_TEST_ROLE=" + role);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    char* argv[] = {self.data(), nullptr};
    pid_t child = -1;
    return posix_spawn(&child, self.c_str(), actions, nullptr, argv, envp.data()) == 0 ? child : -1;
}
