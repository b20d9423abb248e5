// The registry: a tree of keys with values, kept in the state directory ("registry.json"), read
// from there at every call and written through on every change, so processes on one state
// directory see each other's values. Key and value names compare without regard to case.
// Internal to the platform library.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/winfile.h"

namespace platform::registry {

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

class Store {
public:
    static Store& Instance();

    // Opens (or, with `create`, creates) `subKey` below `parent`. `needed` is the access the
    // parent handle must grant. *created tells whether the key was new.
    LONG Open(HKEY parent, const char* subKey, REGSAM access, bool create, REGSAM needed, HKEY* result,
              bool* created);
    LONG Close(HKEY key);
    LONG Query(HKEY key, const std::string& name, Value* value);
    LONG Set(HKEY key, const std::string& name, const Value& value, REGSAM needed = KEY_SET_VALUE);
    LONG Delete(HKEY key, const std::string& name);

private:
    struct OpenKey {
        std::string root;
        std::vector<std::string> path;
        REGSAM access;
    };

    bool Find(HKEY key, OpenKey* found) const;
    nlohmann::json* Node(const OpenKey& key, bool create);
    void Refresh();
    bool Save();
    // Applies `change` to the tree under the store's file lock and writes the tree through;
    // the tree stays as it was when the change fails or cannot be written.
    template <class Change>
    LONG Modify(Change change);

    std::mutex mutex_;
    nlohmann::json tree_ = nlohmann::json::object();
    std::string file_;
    std::string fileText_;
    std::map<uintptr_t, OpenKey> handles_;
    uintptr_t nextHandle_ = 0x1000;
};

}  // namespace platform::registry
