// The properties a simulated driver keeps without acting on them: a Set stores the bytes it
// carries, a Get answers the bytes last stored (zeros before the first Set). Tests preset and
// read them. Safe from several threads.
#pragma once

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/guid.h"

namespace hwsim {

class PropertyStore {
public:
    // The stored bytes of `id` in `set`, `length` of them (zero-filled past what was stored).
    std::vector<BYTE> Bytes(REFGUID set, DWORD id, size_t length) const;
    void Store(REFGUID set, DWORD id, const BYTE* bytes, size_t length);
    // Whether anything was stored for `id` in `set`.
    bool Has(REFGUID set, DWORD id) const;

private:
    typedef std::pair<std::vector<BYTE>, DWORD> Key;  // the set's bytes, the id
    static Key KeyOf(REFGUID set, DWORD id);

    mutable std::mutex m_lock;
    std::map<Key, std::vector<BYTE>> m_values;
};

}  // namespace hwsim
