// The filters a graph inserts and renders with.
#include "platform/dshow/GraphFilters.h"

#include <algorithm>
#include <mutex>

namespace platform::dshow {

namespace {

struct Registration {
    DWORD cookie;
    GraphFilterEntry entry;
};

struct Registry {
    std::mutex mutex;
    std::vector<Registration> entries;
    DWORD nextCookie = 1;
};

Registry& TheRegistry() {
    static auto* registry = new Registry;
    return *registry;
}

}  // namespace

DWORD RegisterGraphFilter(GraphFilterEntry entry) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    DWORD cookie = r.nextCookie++;
    r.entries.push_back(Registration{cookie, std::move(entry)});
    return cookie;
}

bool UnregisterGraphFilter(DWORD cookie) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = std::find_if(r.entries.begin(), r.entries.end(), [cookie](const Registration& e) { return e.cookie == cookie; });
    if (it == r.entries.end()) return false;
    r.entries.erase(it);
    return true;
}

std::vector<GraphFilterEntry> GraphFilters(GraphFilterRole role) {
    Registry& r = TheRegistry();
    std::vector<GraphFilterEntry> result;
    {
        std::lock_guard<std::mutex> lock(r.mutex);
        for (const Registration& e : r.entries)
            if (e.entry.role == role) result.push_back(e.entry);
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const GraphFilterEntry& a, const GraphFilterEntry& b) { return a.merit > b.merit; });
    return result;
}

}  // namespace platform::dshow
