// IStorage over an open storage: its streams and storages, Commit and Revert.
#include "StorageObject.h"

#include <cstring>

#include "ByteStream.h"
#include "ComText.h"
#include "platform/runtime.h"

namespace platform::com {

namespace {

constexpr DWORD kKnownFlags = STGM_TRANSACTED | STGM_SIMPLE | STGM_WRITE | STGM_READWRITE | 0x70 | STGM_PRIORITY |
                              STGM_DELETEONRELEASE | STGM_NOSCRATCH | STGM_CREATE | STGM_CONVERT | STGM_NOSNAPSHOT |
                              STGM_DIRECT_SWMR;

// An element name: 1 to 31 characters, none of them '\\', '/', ':' or '!'.
HRESULT CheckName(const OLECHAR* name, std::u16string* out) {
    if (!name) return STG_E_INVALIDPOINTER;
    std::u16string units = platform::WideToUtf16(name);
    if (units.empty() || units.size() > cfb::kMaxNameLength) return STG_E_INVALIDNAME;
    for (char16_t c : units)
        if (c == u'\\' || c == u'/' || c == u':' || c == u'!') return STG_E_INVALIDNAME;
    *out = units;
    return S_OK;
}

// Elements inside a storage are opened exclusively; streams are never transacted.
HRESULT CheckElementMode(DWORD mode, bool stream) {
    if (HRESULT hr = CheckModeFlags(mode); FAILED(hr)) return hr;
    if ((mode & 0x70) != STGM_SHARE_EXCLUSIVE) return STG_E_INVALIDFLAG;
    if (stream && (mode & STGM_TRANSACTED)) return STG_E_INVALIDFUNCTION;
    if (mode & (STGM_CONVERT | STGM_DELETEONRELEASE | STGM_PRIORITY)) return STG_E_INVALIDFLAG;
    return S_OK;
}

bool ModeWrites(DWORD mode) { return (mode & 3) == STGM_WRITE || (mode & 3) == STGM_READWRITE; }

HRESULT Injected(const char* call, HRESULT fallback) {
    LONG error = 0;
    if (!ShouldFail(call, &error)) return S_OK;
    return error ? HRESULT(error) : fallback;
}

// A stream's view of the storage it was opened in.
class ElementHost : public StreamHost {
public:
    ElementHost(std::shared_ptr<StorageState> storage)
        : m_storage(std::move(storage)), m_generation(m_storage->generation) {}
    std::mutex& Mutex() override { return m_storage->document->Mutex(); }
    HRESULT CheckLive() override {
        return m_storage->Live() && m_storage->generation == m_generation ? S_OK : STG_E_REVERTED;
    }
    HRESULT Changed() override { return m_storage->Changed(); }

private:
    std::shared_ptr<StorageState> m_storage;
    unsigned m_generation;
};

}  // namespace

HRESULT CheckModeFlags(DWORD mode) {
    if (mode & ~kKnownFlags) return STG_E_INVALIDFLAG;
    if ((mode & 3) == 3) return STG_E_INVALIDFLAG;
    DWORD share = mode & 0x70;
    if (share != 0 && share != STGM_SHARE_EXCLUSIVE && share != STGM_SHARE_DENY_WRITE &&
        share != STGM_SHARE_DENY_READ && share != STGM_SHARE_DENY_NONE)
        return STG_E_INVALIDFLAG;
    if ((mode & STGM_CREATE) && (mode & STGM_CONVERT)) return STG_E_INVALIDFLAG;
    return S_OK;
}

StorageObject::~StorageObject() {
    std::shared_ptr<Document> document = m_state->document;
    std::lock_guard<std::mutex> lock(document->Mutex());
    m_state->alive = false;
    m_state->node->opened = false;
    if (!m_state->parent) document->Close();
}

HRESULT StorageObject::CheckUsable(bool changes) const {
    if (!m_state->Live()) return STG_E_REVERTED;
    if (changes && !ModeWrites(m_state->mode)) return STG_E_ACCESSDENIED;
    return S_OK;
}

HRESULT StorageObject::MakeStream(const std::shared_ptr<cfb::Node>& node, DWORD mode, IStream** ppstm) {
    // Made directly (not through QueryInterface): the lock is held, and a stream destroyed
    // again here would take it once more.
    node->opened = true;
    *ppstm = new ByteStream(node, mode, std::make_unique<ElementHost>(m_state));
    return S_OK;
}

HRESULT StorageObject::MakeStorage(const std::shared_ptr<cfb::Node>& node, DWORD mode, IStorage** ppstg) {
    auto child = std::make_shared<StorageState>();
    child->document = m_state->document;
    child->parent = m_state;
    child->parentGeneration = m_state->generation;
    child->node = node;
    child->transacted = (mode & STGM_TRANSACTED) != 0;
    child->working = child->transacted ? node->Clone() : node;
    child->mode = mode;
    node->opened = true;
    *ppstg = new StorageObject(child);  // directly, as in MakeStream
    return S_OK;
}

HRESULT StorageObject::AddElement(const std::u16string& name, DWORD mode, cfb::EntryType type,
                                  std::shared_ptr<cfb::Node>* added) {
    if (HRESULT hr = CheckUsable(true); FAILED(hr)) return hr;
    cfb::Node& dir = *m_state->working;
    if (auto existing = dir.Find(name)) {
        if (!(mode & STGM_CREATE)) return STG_E_FILEALREADYEXISTS;
        if (existing->opened) return STG_E_ACCESSDENIED;
        dir.Remove(name);
    }
    auto node = std::make_shared<cfb::Node>();
    node->name = name;
    node->type = type;
    dir.children.push_back(node);
    if (HRESULT hr = m_state->Changed(); FAILED(hr)) {
        dir.Remove(name);
        return hr;
    }
    *added = node;
    return S_OK;
}

HRESULT StorageObject::FindElement(const std::u16string& name, DWORD mode, cfb::EntryType type,
                                   std::shared_ptr<cfb::Node>* found) const {
    if (HRESULT hr = CheckUsable(ModeWrites(mode)); FAILED(hr)) return hr;
    auto node = m_state->working->Find(name);
    if (!node || node->type != type) return STG_E_FILENOTFOUND;
    if (node->opened) return STG_E_ACCESSDENIED;
    *found = node;
    return S_OK;
}

STDMETHODIMP StorageObject::CreateStream(const OLECHAR* pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                                         IStream** ppstm) {
    if (!ppstm) return STG_E_INVALIDPOINTER;
    *ppstm = nullptr;
    if (reserved1 || reserved2) return STG_E_INVALIDPARAMETER;
    std::u16string name;
    if (HRESULT hr = CheckName(pwcsName, &name); FAILED(hr)) return hr;
    if (HRESULT hr = CheckElementMode(grfMode, true); FAILED(hr)) return hr;
    if (!ModeWrites(grfMode)) return STG_E_INVALIDFLAG;
    if (HRESULT hr = Injected("IStorage::CreateStream", STG_E_ACCESSDENIED); FAILED(hr)) return hr;
    std::lock_guard<std::mutex> lock(m_state->document->Mutex());
    std::shared_ptr<cfb::Node> node;
    if (HRESULT hr = AddElement(name, grfMode, cfb::kStream, &node); FAILED(hr)) return hr;
    return MakeStream(node, grfMode, ppstm);
}

STDMETHODIMP StorageObject::OpenStream(const OLECHAR* pwcsName, void* reserved1, DWORD grfMode, DWORD reserved2,
                                       IStream** ppstm) {
    if (!ppstm) return STG_E_INVALIDPOINTER;
    *ppstm = nullptr;
    if (reserved1 || reserved2) return STG_E_INVALIDPARAMETER;
    std::u16string name;
    if (HRESULT hr = CheckName(pwcsName, &name); FAILED(hr)) return hr;
    if (HRESULT hr = CheckElementMode(grfMode, true); FAILED(hr)) return hr;
    if (grfMode & STGM_CREATE) return STG_E_INVALIDFLAG;
    if (HRESULT hr = Injected("IStorage::OpenStream", STG_E_FILENOTFOUND); FAILED(hr)) return hr;
    std::lock_guard<std::mutex> lock(m_state->document->Mutex());
    std::shared_ptr<cfb::Node> node;
    if (HRESULT hr = FindElement(name, grfMode, cfb::kStream, &node); FAILED(hr)) return hr;
    return MakeStream(node, grfMode, ppstm);
}

STDMETHODIMP StorageObject::CreateStorage(const OLECHAR* pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                                          IStorage** ppstg) {
    if (!ppstg) return STG_E_INVALIDPOINTER;
    *ppstg = nullptr;
    if (reserved1 || reserved2) return STG_E_INVALIDPARAMETER;
    std::u16string name;
    if (HRESULT hr = CheckName(pwcsName, &name); FAILED(hr)) return hr;
    if (HRESULT hr = CheckElementMode(grfMode, false); FAILED(hr)) return hr;
    if (!ModeWrites(grfMode)) return STG_E_INVALIDFLAG;
    std::lock_guard<std::mutex> lock(m_state->document->Mutex());
    std::shared_ptr<cfb::Node> node;
    if (HRESULT hr = AddElement(name, grfMode, cfb::kStorage, &node); FAILED(hr)) return hr;
    return MakeStorage(node, grfMode, ppstg);
}

STDMETHODIMP StorageObject::OpenStorage(const OLECHAR* pwcsName, IStorage* pstgPriority, DWORD grfMode,
                                        SNB snbExclude, DWORD reserved, IStorage** ppstg) {
    if (!ppstg) return STG_E_INVALIDPOINTER;
    *ppstg = nullptr;
    if (pstgPriority || snbExclude || reserved) return STG_E_INVALIDPARAMETER;
    std::u16string name;
    if (HRESULT hr = CheckName(pwcsName, &name); FAILED(hr)) return hr;
    if (HRESULT hr = CheckElementMode(grfMode, false); FAILED(hr)) return hr;
    if (grfMode & STGM_CREATE) return STG_E_INVALIDFLAG;
    std::lock_guard<std::mutex> lock(m_state->document->Mutex());
    std::shared_ptr<cfb::Node> node;
    if (HRESULT hr = FindElement(name, grfMode, cfb::kStorage, &node); FAILED(hr)) return hr;
    return MakeStorage(node, grfMode, ppstg);
}

STDMETHODIMP StorageObject::Commit(DWORD grfCommitFlags) {
    if (HRESULT hr = Injected("IStorage::Commit", STG_E_MEDIUMFULL); FAILED(hr)) return hr;
    std::lock_guard<std::mutex> lock(m_state->document->Mutex());
    if (HRESULT hr = CheckUsable(false); FAILED(hr)) return hr;
    if (!ModeWrites(m_state->mode)) return S_OK;
    return m_state->Commit();
}

STDMETHODIMP StorageObject::Revert() {
    std::lock_guard<std::mutex> lock(m_state->document->Mutex());
    if (HRESULT hr = CheckUsable(false); FAILED(hr)) return hr;
    m_state->Revert();
    return S_OK;
}

STDMETHODIMP StorageObject::DestroyElement(const OLECHAR* pwcsName) {
    std::u16string name;
    if (HRESULT hr = CheckName(pwcsName, &name); FAILED(hr)) return hr;
    std::lock_guard<std::mutex> lock(m_state->document->Mutex());
    if (HRESULT hr = CheckUsable(true); FAILED(hr)) return hr;
    auto node = m_state->working->Find(name);
    if (!node) return STG_E_FILENOTFOUND;
    if (node->opened) return STG_E_ACCESSDENIED;
    m_state->working->Remove(name);
    return m_state->Changed();
}

STDMETHODIMP StorageObject::SetClass(REFCLSID clsid) {
    std::lock_guard<std::mutex> lock(m_state->document->Mutex());
    if (HRESULT hr = CheckUsable(true); FAILED(hr)) return hr;
    m_state->working->clsid = clsid;
    return m_state->Changed();
}

STDMETHODIMP StorageObject::Stat(STATSTG* pstatstg, DWORD grfStatFlag) {
    if (!pstatstg) return STG_E_INVALIDPOINTER;
    std::lock_guard<std::mutex> lock(m_state->document->Mutex());
    if (HRESULT hr = CheckUsable(false); FAILED(hr)) return hr;
    std::memset(pstatstg, 0, sizeof *pstatstg);
    if (!(grfStatFlag & STATFLAG_NONAME)) {
        std::wstring name = m_state->parent ? platform::Utf16ToWide(m_state->working->name)
                                            : m_state->document->Name();
        pstatstg->pwcsName = TaskMemCopy(name);
        if (!pstatstg->pwcsName) return STG_E_INSUFFICIENTMEMORY;
    }
    pstatstg->type = STGTY_STORAGE;
    pstatstg->grfMode = m_state->mode;
    pstatstg->clsid = m_state->working->clsid;
    pstatstg->grfStateBits = m_state->working->stateBits;
    return S_OK;
}

}  // namespace platform::com
