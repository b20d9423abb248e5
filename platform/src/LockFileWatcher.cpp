// The lock-folder watcher: one inotify watch on the folder and a thread that reads it.
#include "LockFileWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <mutex>
#include <thread>

namespace platform::kernel {

namespace {

class LockFileWatcher {
public:
    static LockFileWatcher& Instance() {
        static LockFileWatcher watcher;
        return watcher;
    }
    ~LockFileWatcher() {
        if (!thread_.joinable()) return;
        uint64_t one = 1;
        (void)!write(stop_, &one, sizeof one);
        thread_.join();
        close(stop_);
        close(inotify_);
    }
    void Start(const std::string& dir, void (*changed)(const std::string&)) {
        std::lock_guard<std::mutex> g(lock_);
        if (thread_.joinable() || failed_) return;
        changed_ = changed;
        inotify_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        stop_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (inotify_ < 0 || stop_ < 0 || inotify_add_watch(inotify_, dir.c_str(), IN_MODIFY | IN_CLOSE_WRITE) < 0) {
            failed_ = true;  // waiters then find the change by checking again
            if (inotify_ >= 0) close(inotify_);
            if (stop_ >= 0) close(stop_);
            return;
        }
        dir_ = dir;
        thread_ = std::thread([this] { Run(); });
    }

private:
    void Run() {
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            pollfd fds[2] = {{inotify_, POLLIN, 0}, {stop_, POLLIN, 0}};
            if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
            if (fds[1].revents) return;
            ssize_t n;
            while ((n = read(inotify_, buffer, sizeof buffer)) > 0) {
                for (char* p = buffer; p < buffer + n;) {
                    auto* e = reinterpret_cast<inotify_event*>(p);
                    if (e->len) changed_(dir_ + "/" + e->name);
                    p += sizeof(inotify_event) + e->len;
                }
            }
        }
    }
    std::mutex lock_;
    std::thread thread_;
    void (*changed_)(const std::string&) = nullptr;
    std::string dir_;
    int inotify_ = -1;
    int stop_ = -1;
    bool failed_ = false;
};

}  // namespace

void WatchLockFolder(const std::string& dir, void (*changed)(const std::string& path)) {
    LockFileWatcher::Instance().Start(dir, changed);
}

}  // namespace platform::kernel
