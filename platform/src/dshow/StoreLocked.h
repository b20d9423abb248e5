// The property setters' one shape: take the object's lock, store the values, let it go.
#pragma once

#include <mutex>
#include <tuple>
#include <utility>

#include "platform/winerror.h"

namespace platform::dshow {

// Stores each value in its field of `fields` (made with std::tie), in order, while holding
// `mutex`. The values are worked out by the caller before the lock is taken, so they must not
// read what the lock guards. Answers S_OK, for a COM setter to return.
template <class Mutex, class... Fields, class... Values>
HRESULT StoreLocked(Mutex& mutex, std::tuple<Fields&...> fields, Values&&... values) {
    static_assert(sizeof...(Fields) == sizeof...(Values), "one value for each field");
    std::lock_guard<Mutex> lock(mutex);
    fields = std::forward_as_tuple(std::forward<Values>(values)...);
    return S_OK;
}

}  // namespace platform::dshow
