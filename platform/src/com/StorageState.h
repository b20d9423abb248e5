// The state behind open storages: one Document per open compound file (its lock, its path, its
// share mode) and one StorageState per open storage object, chained to its parent. A direct
// storage shows its element of the parent's tree; a transacted one shows a copy that Commit
// puts back (the root's Commit writes the file). Internal to the platform library.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "CompoundFile.h"
#include "objbase.h"

namespace platform::com {

class Document {
public:
    // `path` as the file system takes it, `name` as the caller gave it.
    Document(std::string path, std::wstring name, DWORD mode)
        : m_path(std::move(path)), m_name(std::move(name)), m_mode(mode) {}
    ~Document();

    std::mutex& Mutex() { return m_mutex; }
    const std::string& Path() const { return m_path; }
    const std::wstring& Name() const { return m_name; }
    // Writes the tree as the whole file (through a temporary file, so a failed write leaves
    // the old file as it was).
    HRESULT WriteFile(const cfb::Node& root);
    // Leaves the table of open files (the root storage was released).
    void Close();

    // Enters `document` in the table of open files, unless its access or share mode conflicts
    // with a document open on the same file (STG_E_SHAREVIOLATION).
    static HRESULT Open(const std::shared_ptr<Document>& document);

private:
    std::mutex m_mutex;
    std::string m_path;
    std::wstring m_name;
    DWORD m_mode;
    bool m_open = false;
};

struct StorageState {
    std::shared_ptr<Document> document;
    std::shared_ptr<StorageState> parent;  // null for the root
    unsigned parentGeneration = 0;
    // The element in the parent's tree (for the root: the tree as last written to the file).
    std::shared_ptr<cfb::Node> node;
    // What the storage shows: `node` itself when direct, a copy when transacted.
    std::shared_ptr<cfb::Node> working;
    DWORD mode = 0;
    bool transacted = false;
    bool alive = true;
    unsigned generation = 0;  // bumped by Revert; older child objects are reverted

    // Lock held for all of these.
    bool Live() const;
    // Passes a change up: a direct root writes its file, a transacted storage keeps it.
    HRESULT Changed();
    // Publishes a transacted storage's copy (root: writes the file).
    HRESULT Commit();
    // Drops a transacted storage's changes and reverts the objects opened in it.
    void Revert();
};

}  // namespace platform::com
