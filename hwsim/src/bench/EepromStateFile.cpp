#include "hwsim/bench/EepromStateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "hwsim/bench/BenchSpec.h"
#include "platform/winbase.h"

namespace hwsim {

EepromStateFile::EepromStateFile(std::string path, std::vector<BYTE> contents, size_t size)
    : m_path(std::move(path)), m_size(size), m_contents(std::move(contents)) {
    m_contents.resize(m_size, 0xFF);
}

EepromStateFile::~EepromStateFile() {
    if (m_fd >= 0) close(m_fd);
}

std::optional<std::vector<BYTE>> EepromStateFile::Load(const std::string& path, size_t size) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        // Made at the first write: its folder must take it.
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) throw BenchError("bench state " + folder.string() + ": cannot be made: " + error.message());
        if (access(folder.c_str(), W_OK | X_OK) != 0) {
            throw BenchError("bench state " + folder.string() + ": cannot be written: " + std::strerror(errno));
        }
        return std::nullopt;
    }
    std::vector<BYTE> bytes;
    std::string why;
    if (!ReadWholeFile(path, bytes, why)) throw BenchError("bench state " + path + ": cannot be read: " + why);
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) throw BenchError("bench state " + path + ": cannot be written: " + std::strerror(errno));
    close(fd);
    if (bytes.size() != size) {
        throw BenchError("bench state " + path + ": holds " + std::to_string(bytes.size()) + " bytes, the EEPROM has " +
                         std::to_string(size) + " (remove the file to start from the bench)");
    }
    return bytes;
}

std::vector<BYTE> EepromStateFile::Contents() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_contents;
}

bool EepromStateFile::Kept() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return !m_bLost;
}

void EepromStateFile::Lose(const char* what) {
    const int error = errno;
    PlatformTrace("hwsim: cannot %s bench state %s: %s\n", what, m_path.c_str(), std::strerror(error));
    if (!m_bLost) {
        fprintf(stderr, "pelvatro: bench state %s: cannot %s it (%s); the card's EEPROM is not kept\n", m_path.c_str(),
                what, std::strerror(error));
    }
    m_bLost = true;
}

void EepromStateFile::Store(BYTE offset, BYTE value) {
    if (offset >= m_size) return;
    std::lock_guard<std::mutex> lock(m_lock);
    m_contents[offset] = value;
    if (m_fd < 0) {
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), error);
        m_fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0) {
            Lose("open");
            return;
        }
        // The whole chip, so a byte that failed before is in the file again.
        if (pwrite(m_fd, m_contents.data(), m_size, 0) != static_cast<ssize_t>(m_size)) Lose("write");
        return;
    }
    if (pwrite(m_fd, &value, 1, offset) != 1) Lose("write");
}

}  // namespace hwsim
