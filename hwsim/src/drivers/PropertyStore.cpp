// The properties a simulated driver keeps without acting on them.
#include "hwsim/drivers/PropertyStore.h"

#include <algorithm>
#include <cstring>

namespace hwsim {

PropertyStore::Key PropertyStore::KeyOf(REFGUID set, DWORD id) {
    std::vector<BYTE> bytes(sizeof(GUID));
    std::memcpy(bytes.data(), &set, sizeof(GUID));
    return {bytes, id};
}

std::vector<BYTE> PropertyStore::Bytes(REFGUID set, DWORD id, size_t length) const {
    std::vector<BYTE> answer(length, 0);
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_values.find(KeyOf(set, id));
    if (it != m_values.end()) std::copy_n(it->second.begin(), std::min(length, it->second.size()), answer.begin());
    return answer;
}

void PropertyStore::Store(REFGUID set, DWORD id, const BYTE* bytes, size_t length) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_values[KeyOf(set, id)].assign(bytes, bytes + length);
}

bool PropertyStore::Has(REFGUID set, DWORD id) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_values.count(KeyOf(set, id)) != 0;
}

}  // namespace hwsim
