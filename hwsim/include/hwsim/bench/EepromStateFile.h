// A card's EEPROM kept on disk as a raw file of the chip's size (256 bytes, 128 on the DVB-C
// board), so what one process wrote is there at
// the next start and a person can read it with any hex dump. The file is made at the first
// byte written, whole and synced beside its place and renamed in, and then written through
// byte by byte, each byte synced as the chip keeps it (during the write cycle that follows the
// store: the next store, and the question whether the file was kept, wait for it). A file of
// another size than the chip's is refused before it is read. Whether it can be read and written is
// checked when the card is plugged; a write that fails later, or lands in a file no longer at
// its path (its folder removed), is said once on stderr, naming the file, and the file counts
// as not kept.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <optional>
#include <string>
#include <vector>

#include "platform/wintypes.h"

namespace hwsim {

class EepromStateFile {
public:
    static constexpr size_t kSize = 256;

    // `contents`: what the chip holds at the start (the file's bytes when Load found them),
    // cut or padded with 0xFF to `size` bytes.
    EepromStateFile(std::string path, std::vector<BYTE> contents, size_t size = kSize);
    ~EepromStateFile();
    EepromStateFile(const EepromStateFile&) = delete;
    EepromStateFile& operator=(const EepromStateFile&) = delete;

    // The bytes of the file at `path`; nothing when there is no file. Throws BenchError, naming
    // the file, when it is there but is no file, cannot be read or written, or is not `size`
    // bytes long, and when there is none and its folder cannot be made or written.
    static std::optional<std::vector<BYTE>> Load(const std::string& path, size_t size = kSize);

    const std::string& Path() const { return m_path; }
    std::vector<BYTE> Contents() const;
    size_t Size() const { return m_size; }
    // Writes one byte through to the file; the chip keeps the byte whether or not the file
    // takes it. An offset past the size is not kept.
    void Store(BYTE offset, BYTE value);
    // FALSE once a write to the file has failed.
    bool Kept() const;

private:
    std::string m_path;
    const size_t m_size;
    mutable std::mutex m_lock;
    std::vector<BYTE> m_contents;
    int m_fd = -1;
    bool m_bLost = false;
    bool m_bRemoved = false;
    // The syncer: one thread that syncs the file after each store, stopped and joined here.
    std::thread m_syncer;
    std::condition_variable m_wake;            // a sync is due, or the syncer is to stop
    mutable std::condition_variable m_synced;  // what was stored is on the disk
    bool m_bSyncDue = false;
    bool m_bSyncing = false;
    bool m_bStop = false;

    void Lose(const char* what);
    void Lose(const char* what, const char* why);
    // Whether the open file is still the one at the path (not removed, not replaced).
    bool StillAtPath() const;
    // TRUE when the write took `size` bytes; the sync of them is then due.
    bool Written(ssize_t wrote, size_t size);
    void SyncWhileDue();
    void WaitForSync(std::unique_lock<std::mutex>& lock) const;
};

}  // namespace hwsim
