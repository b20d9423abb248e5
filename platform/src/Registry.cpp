// The registry calls with the return codes of Windows, over the store in the state directory,
// and the presets of the simulated PC.
#include <cstring>

#include "RegistryStore.h"
#include "platform/registry_preset.h"
#include "platform/runtime.h"

using platform::registry::Store;
using platform::registry::Value;

namespace {

// True when a test made `call` fail now; *rc gets the injected code, else `fallback`.
bool Injected(const char* call, LONG fallback, LONG* rc) {
    LONG error = 0;
    if (!platform::ShouldFail(call, &error)) return false;
    *rc = error ? error : fallback;
    return true;
}

}  // namespace

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM sam, PHKEY result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    LONG rc;
    if (Injected("RegOpenKeyExA", ERROR_FILE_NOT_FOUND, &rc)) return rc;
    return Store::Instance().Open(key, subKey, sam, false, 0, result, nullptr);
}

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR className, DWORD options, REGSAM sam,
                     LPSECURITY_ATTRIBUTES sa, PHKEY result, LPDWORD disposition) {
    if (!result || !subKey) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    LONG rc;
    if (Injected("RegCreateKeyExA", ERROR_ACCESS_DENIED, &rc)) return rc;
    bool created = false;
    rc = Store::Instance().Open(key, subKey, sam, true, KEY_CREATE_SUB_KEY, result, &created);
    if (rc == ERROR_SUCCESS && disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return rc;
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (data && !dataSize) return ERROR_INVALID_PARAMETER;
    LONG rc;
    if (Injected("RegQueryValueExA", ERROR_FILE_NOT_FOUND, &rc)) return rc;
    Value value;
    rc = Store::Instance().Query(key, valueName ? valueName : "", &value);
    if (rc != ERROR_SUCCESS) return rc;
    if (type) *type = value.type;
    if (!dataSize) return ERROR_SUCCESS;
    DWORD needed = DWORD(value.data.size());
    bool fits = *dataSize >= needed;
    *dataSize = needed;
    if (!data) return ERROR_SUCCESS;
    if (!fits) return ERROR_MORE_DATA;
    if (needed) std::memcpy(data, value.data.data(), needed);
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize) {
    if (!data && dataSize) return ERROR_INVALID_PARAMETER;
    LONG rc;
    if (Injected("RegSetValueExA", ERROR_ACCESS_DENIED, &rc)) return rc;
    Value value{type, std::vector<BYTE>(data, data + dataSize)};
    return Store::Instance().Set(key, valueName ? valueName : "", value);
}

LONG RegDeleteValueA(HKEY key, LPCSTR valueName) {
    LONG rc;
    if (Injected("RegDeleteValueA", ERROR_ACCESS_DENIED, &rc)) return rc;
    return Store::Instance().Delete(key, valueName ? valueName : "");
}

LONG RegCloseKey(HKEY key) {
    return Store::Instance().Close(key);
}

namespace platform {

bool PresetRegistryValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                         const std::vector<BYTE>& bytes) {
    Store& store = Store::Instance();
    HKEY key = nullptr;
    if (store.Open(root, path.c_str(), KEY_ALL_ACCESS, true, 0, &key, nullptr) != ERROR_SUCCESS) return false;
    LONG rc = store.Set(key, name, Value{type, bytes}, 0);
    store.Close(key);
    return rc == ERROR_SUCCESS;
}

bool PresetRegistryString(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
    std::vector<BYTE> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return PresetRegistryValue(root, path, name, REG_SZ, bytes);
}

bool PresetRegistryDword(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    std::vector<BYTE> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return PresetRegistryValue(root, path, name, REG_DWORD, bytes);
}

}  // namespace platform
