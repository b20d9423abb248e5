// The registry store: one JSON document, {root: key}, key = {"keys": {name: key},
// "values": {name: {"type": n, "data": [bytes]}}}.
#include "RegistryStore.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/durablefile.h"
#include "platform/runtime.h"
#include "platform/winnls.h"

namespace platform::registry {

using json = nlohmann::json;

namespace {

struct Root {
    HKEY key;
    const char* name;
};

const Root kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {HKEY_USERS, "HKEY_USERS"},
};

std::vector<std::string> SplitPath(const char* path) {
    std::vector<std::string> parts;
    std::istringstream in(path ? path : "");
    std::string part;
    while (std::getline(in, part, '\\'))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

// The member of `object` whose name equals `name` without regard to case.
json::iterator FindChild(json& object, const std::string& name) {
    for (auto it = object.begin(); it != object.end(); ++it)
        if (strcasecmp(it.key().c_str(), name.c_str()) == 0) return it;
    return object.end();
}

json* Descend(json& object, const std::string& name, bool create) {
    auto it = FindChild(object, name);
    if (it != object.end()) return &*it;
    return create ? &(object[name] = json::object()) : nullptr;
}

bool IsValue(const json& value) {
    if (!value.is_object() || value.size() != 2 || !value.contains("type") || !value.contains("data")) return false;
    if (!value["type"].is_number_unsigned() || !value["data"].is_array()) return false;
    for (const json& byte : value["data"])
        if (!byte.is_number_unsigned() || byte.get<unsigned>() > 0xFF) return false;
    return true;
}

bool IsKey(const json& key) {
    if (!key.is_object()) return false;
    for (auto it = key.begin(); it != key.end(); ++it) {
        bool subKeys = it.key() == "keys";
        if (!it->is_object() || (!subKeys && it.key() != "values")) return false;
        for (const json& member : *it)
            if (subKeys ? !IsKey(member) : !IsValue(member)) return false;
    }
    return true;
}

bool IsTree(const json& tree) {
    if (!tree.is_object()) return false;
    for (const json& root : tree)
        if (!IsKey(root)) return false;
    return true;
}

std::string ReadAll(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Excludes other processes from the store while one changes it.
class FileLock {
public:
    explicit FileLock(const std::string& file) : fd_(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};

}  // namespace

Store& Store::Instance() {
    // Never destroyed: static objects may close keys while the process ends.
    static Store& store = *new Store;
    return store;
}

bool Store::Find(HKEY key, OpenKey* found) const {
    for (const Root& root : kRoots) {
        if (root.key == key) {
            *found = OpenKey{root.name, {}, KEY_ALL_ACCESS};
            return true;
        }
    }
    auto it = handles_.find(reinterpret_cast<uintptr_t>(key));
    if (it == handles_.end()) return false;
    *found = it->second;
    return true;
}

json* Store::Node(const OpenKey& key, bool create) {
    json* node = Descend(tree_, key.root, create);
    for (const std::string& part : key.path) {
        json* keys = node ? Descend(*node, "keys", create) : nullptr;
        node = keys ? Descend(*keys, part, create) : nullptr;
    }
    return node;
}

void Store::Refresh() {
    std::string file = platform::StateDir() + "/registry.json";
    std::string text = ReadAll(file);
    if (file == file_ && text == fileText_) return;
    file_ = file;
    fileText_ = text;
    tree_ = json::object();
    if (text.empty()) return;
    json parsed = json::parse(text, nullptr, false);
    if (parsed.is_discarded() || !IsTree(parsed)) {
        PlatformTrace("Registry store %s is unreadable; it starts empty\n", file.c_str());
        return;
    }
    tree_ = std::move(parsed);
}

bool Store::Save() {
    std::string text = tree_.dump(1);
    // Made whole or not at all: a later start reads it.
    if (!platform::WriteFileDurably(file_, text.data(), text.size(), 0644)) {
        PlatformTrace("Registry store %s cannot be written\n", file_.c_str());
        return false;
    }
    fileText_ = text;
    return true;
}

template <class Change>
LONG Store::Modify(Change change) {
    std::error_code ec;
    std::filesystem::create_directories(platform::StateDir(), ec);
    FileLock lock(platform::StateDir() + "/registry.lock");
    Refresh();
    json before = tree_;
    LONG rc = change();
    if (rc != ERROR_SUCCESS || tree_ == before) return rc;
    if (!Save()) {
        tree_ = std::move(before);
        return ERROR_CANTWRITE;
    }
    return ERROR_SUCCESS;
}

LONG Store::Open(HKEY parent, const char* subKey, REGSAM access, bool create, REGSAM needed, HKEY* result,
                 bool* created) {
    std::lock_guard<std::mutex> guard(mutex_);
    OpenKey key;
    if (!Find(parent, &key)) return ERROR_INVALID_HANDLE;
    if ((key.access & needed) != needed) return ERROR_ACCESS_DENIED;
    key.access = access;
    for (std::string& part : SplitPath(subKey)) {
        if (!platform::IsValidUtf8(part)) return ERROR_INVALID_PARAMETER;
        key.path.push_back(std::move(part));
    }
    bool isNew = false;
    LONG rc;
    if (create) {
        rc = Modify([&]() -> LONG {
            isNew = Node(key, false) == nullptr;
            Node(key, true);
            return ERROR_SUCCESS;
        });
    } else {
        Refresh();
        rc = Node(key, false) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    }
    if (rc != ERROR_SUCCESS) return rc;
    uintptr_t handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = std::move(key);
    *result = reinterpret_cast<HKEY>(handle);
    if (created) *created = isNew;
    return ERROR_SUCCESS;
}

LONG Store::Close(HKEY key) {
    std::lock_guard<std::mutex> guard(mutex_);
    for (const Root& root : kRoots)
        if (root.key == key) return ERROR_SUCCESS;
    return handles_.erase(reinterpret_cast<uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG Store::Query(HKEY key, const std::string& name, Value* value) {
    std::lock_guard<std::mutex> guard(mutex_);
    OpenKey open;
    if (!Find(key, &open)) return ERROR_INVALID_HANDLE;
    if (!(open.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
    Refresh();
    json* node = Node(open, false);
    if (!node) return ERROR_KEY_DELETED;
    json* values = Descend(*node, "values", false);
    json* found = values ? Descend(*values, name, false) : nullptr;
    if (!found) return ERROR_FILE_NOT_FOUND;
    value->type = (*found)["type"].get<DWORD>();
    value->data = (*found)["data"].get<std::vector<BYTE>>();
    return ERROR_SUCCESS;
}

LONG Store::Set(HKEY key, const std::string& name, const Value& value, REGSAM needed) {
    std::lock_guard<std::mutex> guard(mutex_);
    OpenKey open;
    if (!Find(key, &open)) return ERROR_INVALID_HANDLE;
    if ((open.access & needed) != needed) return ERROR_ACCESS_DENIED;
    if (!platform::IsValidUtf8(name)) return ERROR_INVALID_PARAMETER;
    return Modify([&]() -> LONG {
        json* node = Node(open, false);
        if (!node) return ERROR_KEY_DELETED;
        json entry = {{"type", value.type}, {"data", value.data}};
        json& values = *Descend(*node, "values", true);
        auto it = FindChild(values, name);
        if (it != values.end())
            *it = std::move(entry);
        else
            values[name] = std::move(entry);
        return ERROR_SUCCESS;
    });
}

LONG Store::Delete(HKEY key, const std::string& name) {
    std::lock_guard<std::mutex> guard(mutex_);
    OpenKey open;
    if (!Find(key, &open)) return ERROR_INVALID_HANDLE;
    if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    return Modify([&]() -> LONG {
        json* node = Node(open, false);
        if (!node) return ERROR_KEY_DELETED;
        json* values = Descend(*node, "values", false);
        auto it = values ? FindChild(*values, name) : json::iterator();
        if (!values || it == values->end()) return ERROR_FILE_NOT_FOUND;
        values->erase(it);
        return ERROR_SUCCESS;
    });
}

}  // namespace platform::registry
