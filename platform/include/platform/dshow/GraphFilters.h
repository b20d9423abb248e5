// The filters a filter graph may bring in by itself: intermediate filters that intelligent
// connect inserts between two pins that do not connect directly, and renderers that Render
// ends a stream with. They are made by CLSID through the class table and tried by merit
// (highest first), then in registration order. The system filters register themselves; tests
// and the simulated PC may add their own.
#pragma once

#include <string>
#include <vector>

#include "objbase.h"

namespace platform::dshow {

enum class GraphFilterRole { Intermediate, Renderer };

struct GraphFilterEntry {
    CLSID clsid = GUID_NULL;
    std::wstring name;  // the name the filter gets in the graph
    GraphFilterRole role = GraphFilterRole::Intermediate;
    DWORD merit = 0;
};

constexpr DWORD MERIT_PREFERRED = 0x800000;
constexpr DWORD MERIT_NORMAL = 0x600000;
constexpr DWORD MERIT_UNLIKELY = 0x400000;

// Returns a cookie for UnregisterGraphFilter.
PLATFORM_API DWORD RegisterGraphFilter(GraphFilterEntry entry);
PLATFORM_API bool UnregisterGraphFilter(DWORD cookie);
// The registered filters of a role in the order the graph tries them.
PLATFORM_API std::vector<GraphFilterEntry> GraphFilters(GraphFilterRole role);

}  // namespace platform::dshow
