// What every filter of one installed class shares with the tests: the log of calls made on its
// private interfaces (interface, slot, arguments, byte copies of the records passed), a
// parameter store by id, failures injected per slot, interfaces refused, and interfaces whose
// QueryInterface answers S_FALSE (with the pointer) as some makers' filters do.
#pragma once

#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/wintypes.h"

namespace hwsim {

struct InterfaceCall {
    std::string iface;
    int slot = 0;
    std::vector<ULONGLONG> args;
    std::vector<std::vector<BYTE>> records;
};

class FilterBehaviour {
public:
    // ---- for tests ----
    std::vector<InterfaceCall> Calls() const;
    // The private interfaces asked for, by name, in order (refused ones included); ClearCalls
    // clears them too.
    std::vector<std::string> Queries() const;
    void ClearCalls();
    // The slot's next `times` calls (-1: every call) fail with `hr`; the call is still logged.
    void FailSlot(const std::string& iface, int slot, HRESULT hr, int times = 1);
    // The next `times` calls (-1: every call) on parameter `id`, read or write, fail with `hr`,
    // for filters whose private interface takes parameters by id.
    void FailParam(DWORD id, HRESULT hr, int times = 1);
    void RefuseInterface(const std::string& iface, bool refuse = true);
    void AnswerSFalse(const std::string& iface, bool on = true);

    void SetParam(DWORD id, std::vector<BYTE> bytes);
    // False when nothing is stored under `id`.
    bool GetParam(DWORD id, std::vector<BYTE>* bytes) const;
    template <class T>
    void Store(DWORD id, const T& value) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
        SetParam(id, std::vector<BYTE>(bytes, bytes + sizeof(T)));
    }
    // False (value untouched) when nothing of T's size is stored under `id`.
    template <class T>
    bool Load(DWORD id, T* value) const {
        std::vector<BYTE> bytes;
        if (!GetParam(id, &bytes) || bytes.size() != sizeof(T)) return false;
        std::memcpy(value, bytes.data(), sizeof(T));
        return true;
    }

    // ---- for the filters ----
    // Logs the call; answers the failure injected for the slot, else S_OK.
    HRESULT Enter(const char* iface, int slot, std::vector<ULONGLONG> args,
                  std::vector<std::vector<BYTE>> records = {});
    // The failure injected for parameter `id` (counted down), else S_OK.
    HRESULT ParamFailure(DWORD id);
    void NoteQuery(const std::string& iface);
    bool Refuses(const std::string& iface) const;
    bool AnswersSFalse(const std::string& iface) const;

    // A byte copy of a record passed to a slot.
    template <class T>
    static std::vector<BYTE> Bytes(const T& record) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&record);
        return std::vector<BYTE>(bytes, bytes + sizeof(T));
    }

private:
    struct Failure {
        HRESULT hr;
        int times;
    };
    mutable std::mutex m_lock;
    std::vector<InterfaceCall> m_calls;
    std::vector<std::string> m_queries;
    std::map<std::pair<std::string, int>, Failure> m_failures;
    std::map<DWORD, Failure> m_paramFailures;
    std::set<std::string> m_refused;
    std::set<std::string> m_sFalse;
    std::map<DWORD, std::vector<BYTE>> m_params;
};

}  // namespace hwsim
