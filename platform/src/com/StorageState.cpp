// Open compound files and the chain of open storages within them.
#include "StorageState.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <vector>

namespace platform::com {

namespace {

// The documents open in this process, by file.
struct OpenFiles {
    std::mutex mutex;
    std::map<std::string, std::vector<std::pair<const Document*, DWORD>>> byPath;
};
OpenFiles& Files() {
    static OpenFiles* files = new OpenFiles;
    return *files;
}

std::string FileKey(const std::string& path) {
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : canonical.string();
}

bool Reads(DWORD mode) { return (mode & 3) != STGM_WRITE; }
bool Writes(DWORD mode) { return (mode & 3) == STGM_WRITE || (mode & 3) == STGM_READWRITE; }
bool DeniesRead(DWORD mode) { return (mode & 0x70) == STGM_SHARE_EXCLUSIVE || (mode & 0x70) == STGM_SHARE_DENY_READ; }
bool DeniesWrite(DWORD mode) {
    return (mode & 0x70) == STGM_SHARE_EXCLUSIVE || (mode & 0x70) == STGM_SHARE_DENY_WRITE;
}

bool Conflict(DWORD a, DWORD b) {
    return (Reads(a) && DeniesRead(b)) || (Writes(a) && DeniesWrite(b)) || (Reads(b) && DeniesRead(a)) ||
           (Writes(b) && DeniesWrite(a));
}

}  // namespace

HRESULT Document::Open(const std::shared_ptr<Document>& document) {
    OpenFiles& files = Files();
    std::lock_guard<std::mutex> lock(files.mutex);
    auto& openers = files.byPath[FileKey(document->m_path)];
    for (const auto& [other, mode] : openers)
        if (Conflict(mode, document->m_mode)) return STG_E_SHAREVIOLATION;
    openers.emplace_back(document.get(), document->m_mode);
    document->m_open = true;
    return S_OK;
}

void Document::Close() {
    if (!m_open) return;
    OpenFiles& files = Files();
    std::lock_guard<std::mutex> lock(files.mutex);
    auto it = files.byPath.find(FileKey(m_path));
    if (it != files.byPath.end()) {
        std::erase_if(it->second, [this](const auto& entry) { return entry.first == this; });
        if (it->second.empty()) files.byPath.erase(it);
    }
    m_open = false;
}

Document::~Document() { Close(); }

HRESULT Document::WriteFile(const cfb::Node& root) {
    std::vector<uint8_t> image = cfb::Serialize(root);
    std::string temporary = m_path + ".~wr";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return errno == ENOENT ? STG_E_PATHNOTFOUND : STG_E_ACCESSDENIED;
    bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    int error = written ? 0 : errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written || std::rename(temporary.c_str(), m_path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return error == ENOSPC ? STG_E_MEDIUMFULL : STG_E_WRITEFAULT;
    }
    return S_OK;
}

bool StorageState::Live() const {
    if (!alive) return false;
    return !parent || (parent->Live() && parent->generation == parentGeneration);
}

HRESULT StorageState::Changed() {
    if (transacted) return S_OK;
    if (parent) return parent->Changed();
    return document->WriteFile(*working);
}

HRESULT StorageState::Commit() {
    if (!transacted) return parent ? S_OK : document->WriteFile(*working);
    if (!parent) {
        if (HRESULT hr = document->WriteFile(*working); FAILED(hr)) return hr;
        node = working->Clone();
        return S_OK;
    }
    // Put the copy in place of the element's contents, keeping the element itself (the parent
    // refers to it).
    std::shared_ptr<cfb::Node> copy = working->Clone();
    node->clsid = copy->clsid;
    node->stateBits = copy->stateBits;
    node->modified = copy->modified;
    node->children = std::move(copy->children);
    return parent->Changed();
}

void StorageState::Revert() {
    if (!transacted) return;
    working = node->Clone();
    ++generation;
}

}  // namespace platform::com
