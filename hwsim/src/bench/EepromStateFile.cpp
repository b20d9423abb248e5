#include "hwsim/bench/EepromStateFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw BenchError("bench state " + path + ": cannot be read");
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

void EepromStateFile::Store(BYTE offset, BYTE value) {
    if (offset >= m_size) return;
    std::lock_guard<std::mutex> lock(m_lock);
    m_contents[offset] = value;
    if (m_fd < 0) {
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), error);
        m_fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fd < 0) {
            PlatformTrace("hwsim: cannot open bench state %s: %s\n", m_path.c_str(), std::strerror(errno));
            return;
        }
        if (pwrite(m_fd, m_contents.data(), m_size, 0) != static_cast<ssize_t>(m_size)) {
            PlatformTrace("hwsim: cannot write bench state %s: %s\n", m_path.c_str(), std::strerror(errno));
        }
        return;
    }
    if (pwrite(m_fd, &value, 1, offset) != 1) {
        PlatformTrace("hwsim: cannot write bench state %s: %s\n", m_path.c_str(), std::strerror(errno));
    }
}

}  // namespace hwsim
