// The element tree of a compound file: copies, look-up and the order of names.
#include <algorithm>

#include "CompoundFile.h"
#include "CompoundFileLayout.h"

namespace platform::cfb {

namespace {
char16_t Upper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c; }
}  // namespace

int CompareNames(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = Upper(a[i]), y = Upper(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

bool HasSignature(const uint8_t* bytes, size_t size) {
    return size >= sizeof layout::kSignature &&
           std::equal(std::begin(layout::kSignature), std::end(layout::kSignature), bytes);
}

std::shared_ptr<Node> Node::Clone() const {
    // Iterative, so a deeply nested tree read from a file cannot exhaust the stack.
    auto top = std::make_shared<Node>();
    std::vector<std::pair<const Node*, Node*>> work{{this, top.get()}};
    while (!work.empty()) {
        auto [from, to] = work.back();
        work.pop_back();
        to->name = from->name;
        to->type = from->type;
        to->clsid = from->clsid;
        to->stateBits = from->stateBits;
        to->created = from->created;
        to->modified = from->modified;
        to->data = from->data;
        to->opened = false;
        to->children.clear();
        for (const auto& child : from->children) {
            to->children.push_back(std::make_shared<Node>());
            work.emplace_back(child.get(), to->children.back().get());
        }
    }
    return top;
}

std::shared_ptr<Node> Node::Find(const std::u16string& wanted) const {
    for (const auto& child : children)
        if (CompareNames(child->name, wanted) == 0) return child;
    return nullptr;
}

bool Node::Remove(const std::u16string& wanted) {
    auto it = std::find_if(children.begin(), children.end(),
                           [&](const std::shared_ptr<Node>& c) { return CompareNames(c->name, wanted) == 0; });
    if (it == children.end()) return false;
    children.erase(it);
    return true;
}

}  // namespace platform::cfb
