// Watches the folder of the named mutexes' lock files for the changes other processes make
// (a release, an owner's end). Internal to the platform library.
#pragma once

#include <string>

namespace platform::kernel {

// Starts watching `dir` (once per process; later calls do nothing). `changed` runs on the
// watcher's own thread with the path of each file that changed. The watcher is stopped and
// joined at exit. Without inotify nothing is watched, and waiters find changes by checking again.
void WatchLockFolder(const std::string& dir, void (*changed)(const std::string& path));

}  // namespace platform::kernel
