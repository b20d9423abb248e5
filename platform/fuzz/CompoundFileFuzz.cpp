// Fuzz target for the compound-file reader and writer: any input is either refused with an
// error or read into a tree that the writer writes and the reader reads back unchanged.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "CompoundFile.h"

using platform::cfb::Node;

namespace {

bool SameStreamsAndStorages(const Node& a, const Node& b, bool root);

std::vector<const Node*> Sorted(const Node& node) {
    std::vector<const Node*> kids;
    for (const auto& child : node.children) kids.push_back(child.get());
    std::stable_sort(kids.begin(), kids.end(), [](const Node* x, const Node* y) {
        int order = platform::cfb::CompareNames(x->name, y->name);
        if (order != 0) return order < 0;
        if (x->name != y->name) return x->name < y->name;
        if (x->type != y->type) return x->type < y->type;
        return x->data < y->data;
    });
    return kids;
}

// What the writer keeps: names, types and stream bytes; class, state bits and times of storages.
bool SameStreamsAndStorages(const Node& a, const Node& b, bool root) {
    if (a.type != b.type || a.children.size() != b.children.size()) return false;
    if (!root && a.name != b.name) return false;
    if (a.type == platform::cfb::kStream) return a.data == b.data;
    if (!(a.clsid == b.clsid) || a.stateBits != b.stateBits || a.modified != b.modified) return false;
    if (!root && a.created != b.created) return false;
    std::vector<const Node*> x = Sorted(a), y = Sorted(b);
    for (size_t i = 0; i < x.size(); ++i)
        if (!SameStreamsAndStorages(*x[i], *y[i], false)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Node first;
    if (FAILED(platform::cfb::Parse(data, size, &first))) return 0;
    std::vector<uint8_t> written = platform::cfb::Serialize(first);
    Node second;
    if (platform::cfb::Parse(written.data(), written.size(), &second) != S_OK) std::abort();
    if (!SameStreamsAndStorages(first, second, true)) std::abort();
    if (platform::cfb::Serialize(second) != written) std::abort();
    return 0;
}
