// StgCreateDocfile, StgOpenStorage and StgIsStorageFile: compound files on disk.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ComText.h"
#include "CompoundFile.h"
#include "StorageObject.h"
#include "platform/runtime.h"

using namespace platform;
using namespace platform::com;

namespace {

HRESULT Injected(const char* call, HRESULT fallback) {
    LONG error = 0;
    if (!ShouldFail(call, &error)) return S_OK;
    return error ? HRESULT(error) : fallback;
}

std::string NativeName(const WCHAR* name) { return NativePath(platform::WideToUtf8(name).c_str()); }

// The whole file, or the error StgOpenStorage reports for it.
HRESULT ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) {
        auto parent = std::filesystem::path(path).parent_path();
        return parent.empty() || std::filesystem::is_directory(parent, ec) ? STG_E_FILENOTFOUND : STG_E_PATHNOTFOUND;
    }
    if (std::filesystem::is_directory(status)) return STG_E_ACCESSDENIED;
    std::ifstream in(path, std::ios::binary);
    if (!in) return STG_E_ACCESSDENIED;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return STG_E_READFAULT;
    return S_OK;
}

// Read-write roots in direct mode are opened exclusively.
HRESULT CheckRootMode(DWORD mode) {
    if (HRESULT hr = CheckModeFlags(mode); FAILED(hr)) return hr;
    if (mode & (STGM_CONVERT | STGM_PRIORITY | STGM_DELETEONRELEASE)) return STG_E_INVALIDFLAG;
    bool writes = (mode & 3) != STGM_READ;
    if (writes && !(mode & STGM_TRANSACTED) && (mode & 0x70) != STGM_SHARE_EXCLUSIVE) return STG_E_INVALIDFLAG;
    return S_OK;
}

// Opens the root storage over `tree`; `create` writes the tree as the file first.
HRESULT OpenRoot(const WCHAR* name, std::string path, DWORD mode, std::shared_ptr<cfb::Node> tree, bool create,
                 IStorage** ppstg) {
    auto document = std::make_shared<Document>(std::move(path), name, mode);
    if (HRESULT hr = Document::Open(document); FAILED(hr)) return hr;
    if (create) {
        if (HRESULT hr = document->WriteFile(*tree); FAILED(hr)) return hr;
    }
    auto state = std::make_shared<StorageState>();
    state->document = document;
    state->node = tree;
    state->transacted = (mode & STGM_TRANSACTED) != 0;
    state->working = state->transacted ? tree->Clone() : tree;
    state->mode = mode;
    return CreateComObject<StorageObject>(IID_IStorage, reinterpret_cast<void**>(ppstg), state);
}

}  // namespace

HRESULT StgCreateDocfile(const WCHAR* pwcsName, DWORD grfMode, DWORD reserved, IStorage** ppstgOpen) {
    if (!ppstgOpen) return STG_E_INVALIDPOINTER;
    *ppstgOpen = nullptr;
    if (reserved) return STG_E_INVALIDPARAMETER;
    if (!pwcsName || !*pwcsName) return STG_E_INVALIDNAME;
    if (HRESULT hr = CheckRootMode(grfMode); FAILED(hr)) return hr;
    if ((grfMode & 3) == STGM_READ) return STG_E_INVALIDFLAG;
    if (HRESULT hr = Injected("StgCreateDocfile", STG_E_ACCESSDENIED); FAILED(hr)) return hr;
    std::string path = NativeName(pwcsName);
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !(grfMode & STGM_CREATE)) return STG_E_FILEALREADYEXISTS;
    if (std::filesystem::is_directory(path, ec)) return STG_E_ACCESSDENIED;
    auto tree = std::make_shared<cfb::Node>();
    tree->type = cfb::kRoot;
    tree->name = u"Root Entry";
    // The file exists from now on, empty until the first change (direct) or Commit (transacted).
    return OpenRoot(pwcsName, path, grfMode, tree, true, ppstgOpen);
}

HRESULT StgOpenStorage(const WCHAR* pwcsName, IStorage* pstgPriority, DWORD grfMode, SNB snbExclude, DWORD reserved,
                       IStorage** ppstgOpen) {
    if (!ppstgOpen) return STG_E_INVALIDPOINTER;
    *ppstgOpen = nullptr;
    if (pstgPriority || snbExclude || reserved) return STG_E_INVALIDPARAMETER;
    if (!pwcsName || !*pwcsName) return STG_E_INVALIDNAME;
    if (HRESULT hr = CheckRootMode(grfMode); FAILED(hr)) return hr;
    if (grfMode & STGM_CREATE) return STG_E_INVALIDFLAG;
    if (HRESULT hr = Injected("StgOpenStorage", STG_E_FILENOTFOUND); FAILED(hr)) return hr;
    std::string path = NativeName(pwcsName);
    std::vector<uint8_t> bytes;
    if (HRESULT hr = ReadWholeFile(path, &bytes); FAILED(hr)) return hr;
    auto tree = std::make_shared<cfb::Node>();
    if (HRESULT hr = cfb::Parse(bytes.data(), bytes.size(), tree.get()); FAILED(hr)) return hr;
    return OpenRoot(pwcsName, path, grfMode, tree, false, ppstgOpen);
}

HRESULT StgIsStorageFile(const WCHAR* pwcsName) {
    if (!pwcsName || !*pwcsName) return STG_E_INVALIDNAME;
    if (HRESULT hr = Injected("StgIsStorageFile", STG_E_ACCESSDENIED); FAILED(hr)) return hr;
    std::string path = NativeName(pwcsName);
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) return STG_E_FILENOTFOUND;
    if (std::filesystem::is_directory(status)) return STG_E_ACCESSDENIED;
    std::ifstream in(path, std::ios::binary);
    if (!in) return STG_E_ACCESSDENIED;
    std::vector<uint8_t> header(512);
    in.read(reinterpret_cast<char*>(header.data()), std::streamsize(header.size()));
    header.resize(size_t(in.gcount()));
    return cfb::CheckHeader(header.data(), header.size()) == S_OK ? S_OK : S_FALSE;
}
