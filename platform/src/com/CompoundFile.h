// The compound file binary format: a tree of storages and streams kept in 512-byte sectors
// (header, FAT, directory, mini FAT and mini stream). The reader takes any version 3 or 4
// file and refuses malformed ones with an error; the writer produces version 3 files.
// Internal to the platform library; no other platform code is needed, so the fuzz target
// builds these files alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/guid.h"
#include "platform/winerror.h"

namespace platform::cfb {

enum EntryType : uint8_t { kUnallocated = 0, kStorage = 1, kStream = 2, kRoot = 5 };

// Element names hold at most 31 UTF-16 units (a terminator makes 32).
constexpr size_t kMaxNameLength = 31;

struct Node {
    std::u16string name;
    uint8_t type = kStream;
    CLSID clsid{};
    uint32_t stateBits = 0;
    uint64_t created = 0;
    uint64_t modified = 0;
    std::vector<uint8_t> data;                    // a stream's bytes
    std::vector<std::shared_ptr<Node>> children;  // a storage's elements
    // Held by an open stream or storage object; not part of the file.
    bool opened = false;

    // A deep copy (nothing opened).
    std::shared_ptr<Node> Clone() const;
    // The child called `name` (names compare without case), or null.
    std::shared_ptr<Node> Find(const std::u16string& name) const;
    bool Remove(const std::u16string& name);
};

// The order of elements in a storage: shorter names first, then by upper-cased units.
int CompareNames(const std::u16string& a, const std::u16string& b);

// True when `bytes` start with the compound-file signature.
bool HasSignature(const uint8_t* bytes, size_t size);

// S_OK when `bytes` begin with a valid compound-file header (signature, byte order, version
// and sector sizes), STG_E_FILEALREADYEXISTS without the signature, else STG_E_INVALIDHEADER.
HRESULT CheckHeader(const uint8_t* bytes, size_t size);

// Reads a whole file image into `root` (type kRoot). STG_E_FILEALREADYEXISTS when the bytes
// are not a compound file at all, STG_E_INVALIDHEADER for a damaged header, STG_E_DOCFILECORRUPT
// for any inconsistency behind it (chains that leave the file, loop or cross, a directory tree
// that is not a tree, two elements of one name, streams longer than their chains). Each
// storage's elements come in name order.
HRESULT Parse(const uint8_t* bytes, size_t size, Node* root);

// Writes the tree under `root` as a version 3 file image.
std::vector<uint8_t> Serialize(const Node& root);

}  // namespace platform::cfb
