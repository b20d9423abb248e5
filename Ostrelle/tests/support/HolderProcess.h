// The named-mutex holder executable (name_mutex_holder) in a process of its own, sharing the
// test's state directory: it locks a name and holds it until released.
#pragma once

#include <sys/types.h>

#include <string>

class HolderProcess {
public:
    static constexpr const char* kRemoteControl = "Mutex_Remote_Control";

    explicit HolderProcess(bool abandon, const char* name = kRemoteControl)
        : HolderProcess(abandon ? "abandon" : "", name) {}
    // mode: "" holds until released, "abandon" exits holding, a number unlocks after that many ms.
    explicit HolderProcess(const char* mode, const char* name = kRemoteControl);
    ~HolderProcess();
    HolderProcess(const HolderProcess&) = delete;
    HolderProcess& operator=(const HolderProcess&) = delete;

    // The first line the holder wrote: "ready" once it holds the name.
    std::string Answer();
    // Ends the holder at once, as a crash would: it dies holding what it holds.
    void Kill();
    // Closes the holder's input and waits for it to exit; its exit status.
    int Release();

private:
    pid_t m_pid = -1;
    int m_toChild = -1;
    int m_fromChild = -1;
    int m_status = -1;
};
