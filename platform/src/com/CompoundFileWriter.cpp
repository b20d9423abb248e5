// Writes an element tree as a version 3 compound file image: header, FAT sectors (and DIFAT
// sectors when more than 109 FAT sectors are needed), the directory, the mini FAT, the mini
// stream holding the streams under 4096 bytes, then the larger streams, each in consecutive
// sectors. Each storage's elements form a balanced red-black tree.
#include <algorithm>
#include <cstring>

#include "CompoundFile.h"
#include "CompoundFileLayout.h"

namespace platform::cfb {

using namespace layout;

namespace {

constexpr size_t kEntriesPerSector = kSectorSize / kDirEntrySize;
constexpr size_t kIdsPerSector = kSectorSize / 4;

size_t DivUp(size_t a, size_t b) { return (a + b - 1) / b; }

void PutGuid(uint8_t* p, const CLSID& g) {
    Put32(p, g.Data1);
    Put16(p + 4, g.Data2);
    Put16(p + 6, g.Data3);
    std::memcpy(p + 8, g.Data4, 8);
}

struct DirEntry {
    const Node* node;
    uint32_t left = kNoStream;
    uint32_t right = kNoStream;
    uint32_t child = kNoStream;
    uint8_t color = kBlack;
    uint32_t start = kEndOfChain;
    uint64_t size = 0;
};

// Links entries [base+lo, base+hi) into a balanced tree (middle as the root) and returns the
// root's id. Nodes on the deepest level are red when that level is not full, so every path
// holds the same number of black nodes.
uint32_t LinkTree(std::vector<DirEntry>& dir, uint32_t base, size_t lo, size_t hi, size_t depth, size_t redDepth) {
    if (lo >= hi) return kNoStream;
    size_t mid = lo + (hi - lo) / 2;
    DirEntry& e = dir[base + mid];
    e.color = depth == redDepth ? kRed : kBlack;
    uint32_t left = LinkTree(dir, base, lo, mid, depth + 1, redDepth);
    uint32_t right = LinkTree(dir, base, mid + 1, hi, depth + 1, redDepth);
    dir[base + mid].left = left;
    dir[base + mid].right = right;
    return uint32_t(base + mid);
}

// The depth whose nodes are red for a tree of `count` nodes (none when it is perfect).
size_t RedDepth(size_t count) {
    size_t height = 0;
    while ((size_t(1) << height) - 1 < count) ++height;
    bool perfect = (size_t(1) << height) - 1 == count;
    return perfect ? SIZE_MAX : height - 1;
}

std::vector<DirEntry> BuildDirectory(const Node& root) {
    std::vector<DirEntry> dir{{&root}};
    for (size_t i = 0; i < dir.size(); ++i) {
        const Node* node = dir[i].node;
        if (node->type == kStream || node->children.empty()) continue;
        std::vector<const Node*> kids;
        for (const auto& child : node->children) kids.push_back(child.get());
        std::stable_sort(kids.begin(), kids.end(),
                         [](const Node* a, const Node* b) { return CompareNames(a->name, b->name) < 0; });
        uint32_t base = uint32_t(dir.size());
        for (const Node* kid : kids) dir.push_back({kid});
        dir[i].child = LinkTree(dir, base, 0, kids.size(), 0, RedDepth(kids.size()));
    }
    return dir;
}

void WriteEntry(uint8_t* p, const DirEntry& e, bool isRoot) {
    const Node& n = *e.node;
    std::u16string name = isRoot ? u"Root Entry" : n.name.substr(0, kMaxNameLength);
    for (size_t i = 0; i < name.size(); ++i) Put16(p + kEntName + 2 * i, uint16_t(name[i]));
    Put16(p + kEntNameLength, uint16_t((name.size() + 1) * 2));
    p[kEntType] = isRoot ? kRoot : (n.type == kStorage ? kStorage : kStream);
    p[kEntColor] = e.color;
    Put32(p + kEntLeft, e.left);
    Put32(p + kEntRight, e.right);
    Put32(p + kEntChild, e.child);
    bool isStream = !isRoot && n.type != kStorage;
    if (!isStream) {
        PutGuid(p + kEntClsid, n.clsid);
        Put32(p + kEntStateBits, n.stateBits);
        Put64(p + kEntCreated, isRoot ? 0 : n.created);
        Put64(p + kEntModified, n.modified);
    }
    Put32(p + kEntStart, e.start);
    Put64(p + kEntSize, e.size);
}

void WriteEmptyEntry(uint8_t* p) {
    Put32(p + kEntLeft, kNoStream);
    Put32(p + kEntRight, kNoStream);
    Put32(p + kEntChild, kNoStream);
}

}  // namespace

std::vector<uint8_t> Serialize(const Node& root) {
    std::vector<DirEntry> dir = BuildDirectory(root);

    // Where each stream goes: mini sectors for small streams, regular sectors for the rest.
    size_t miniSectors = 0, bigSectors = 0;
    std::vector<size_t> firstMini(dir.size(), 0), firstBig(dir.size(), 0);
    for (size_t i = 1; i < dir.size(); ++i) {
        const Node& n = *dir[i].node;
        if (n.type == kStorage) {
            dir[i].start = 0;
            continue;
        }
        dir[i].size = n.data.size();
        if (n.data.empty()) continue;
        if (n.data.size() < kMiniStreamCutoff) {
            firstMini[i] = miniSectors;
            miniSectors += DivUp(n.data.size(), kMiniSectorSize);
        } else {
            firstBig[i] = bigSectors;
            bigSectors += DivUp(n.data.size(), kSectorSize);
        }
    }
    const size_t dirSectors = DivUp(dir.size(), kEntriesPerSector);
    const size_t miniFatSectors = DivUp(miniSectors, kIdsPerSector);
    const size_t miniStreamBytes = miniSectors * kMiniSectorSize;
    const size_t miniStreamSectors = DivUp(miniStreamBytes, kSectorSize);
    const size_t content = dirSectors + miniFatSectors + miniStreamSectors + bigSectors;

    // The FAT covers every sector, its own and the DIFAT's among them.
    size_t fatSectors = 1, difatSectors = 0;
    for (;;) {
        size_t fat = DivUp(content + fatSectors + difatSectors, kIdsPerSector);
        size_t difat = fat > kHeaderDifatEntries ? DivUp(fat - kHeaderDifatEntries, kIdsPerSector - 1) : 0;
        if (fat <= fatSectors && difat <= difatSectors) break;
        fatSectors = std::max(fat, fatSectors);
        difatSectors = std::max(difat, difatSectors);
    }
    const size_t total = fatSectors + difatSectors + content;
    const uint32_t firstDifat = uint32_t(fatSectors);
    const uint32_t firstDir = firstDifat + uint32_t(difatSectors);
    const uint32_t firstMiniFat = firstDir + uint32_t(dirSectors);
    const uint32_t firstMiniStream = firstMiniFat + uint32_t(miniFatSectors);
    const uint32_t firstBigSector = firstMiniStream + uint32_t(miniStreamSectors);

    std::vector<uint32_t> fat(fatSectors * kIdsPerSector, kFreeSector);
    auto chain = [&fat](uint32_t start, size_t count) {
        for (size_t i = 0; i < count; ++i) fat[start + i] = i + 1 < count ? uint32_t(start + i + 1) : kEndOfChain;
    };
    for (size_t i = 0; i < fatSectors; ++i) fat[i] = kFatSector;
    for (size_t i = 0; i < difatSectors; ++i) fat[firstDifat + i] = kDifatSector;
    chain(firstDir, dirSectors);
    chain(firstMiniFat, miniFatSectors);
    chain(firstMiniStream, miniStreamSectors);

    std::vector<uint32_t> miniFat(miniFatSectors * kIdsPerSector, kFreeSector);
    for (size_t i = 1; i < dir.size(); ++i) {
        const Node& n = *dir[i].node;
        if (n.type == kStorage || n.data.empty()) continue;
        if (n.data.size() < kMiniStreamCutoff) {
            size_t count = DivUp(n.data.size(), kMiniSectorSize);
            dir[i].start = uint32_t(firstMini[i]);
            for (size_t k = 0; k < count; ++k)
                miniFat[firstMini[i] + k] = k + 1 < count ? uint32_t(firstMini[i] + k + 1) : kEndOfChain;
        } else {
            dir[i].start = uint32_t(firstBigSector + firstBig[i]);
            chain(dir[i].start, DivUp(n.data.size(), kSectorSize));
        }
    }
    dir[0].start = miniSectors ? firstMiniStream : kEndOfChain;
    dir[0].size = miniStreamBytes;

    std::vector<uint8_t> image(kHeaderSize + total * kSectorSize, 0);
    auto sector = [&image](size_t sid) { return image.data() + kHeaderSize + sid * kSectorSize; };

    // Header.
    uint8_t* h = image.data();
    std::memcpy(h, kSignature, sizeof kSignature);
    Put16(h + kOffMinorVersion, kMinorVersion);
    Put16(h + kOffMajorVersion, kMajorVersion3);
    Put16(h + kOffByteOrder, kByteOrder);
    Put16(h + kOffSectorShift, kSectorShift3);
    Put16(h + kOffMiniSectorShift, kMiniSectorShift);
    Put32(h + kOffFatSectorCount, uint32_t(fatSectors));
    Put32(h + kOffFirstDirSector, firstDir);
    Put32(h + kOffMiniCutoff, kMiniStreamCutoff);
    Put32(h + kOffFirstMiniFatSector, miniFatSectors ? firstMiniFat : kEndOfChain);
    Put32(h + kOffMiniFatSectorCount, uint32_t(miniFatSectors));
    Put32(h + kOffFirstDifatSector, difatSectors ? firstDifat : kEndOfChain);
    Put32(h + kOffDifatSectorCount, uint32_t(difatSectors));

    // DIFAT: the first 109 FAT sector numbers in the header, the rest in DIFAT sectors.
    for (size_t i = 0; i < kHeaderDifatEntries; ++i)
        Put32(h + kOffDifat + 4 * i, i < fatSectors ? uint32_t(i) : kFreeSector);
    for (size_t d = 0; d < difatSectors; ++d) {
        uint8_t* s = sector(firstDifat + d);
        for (size_t k = 0; k + 1 < kIdsPerSector; ++k) {
            size_t fatIndex = kHeaderDifatEntries + d * (kIdsPerSector - 1) + k;
            Put32(s + 4 * k, fatIndex < fatSectors ? uint32_t(fatIndex) : kFreeSector);
        }
        Put32(s + 4 * (kIdsPerSector - 1), d + 1 < difatSectors ? uint32_t(firstDifat + d + 1) : kEndOfChain);
    }

    for (size_t i = 0; i < fat.size(); ++i) Put32(sector(i / kIdsPerSector) + 4 * (i % kIdsPerSector), fat[i]);
    for (size_t i = 0; i < dirSectors * kEntriesPerSector; ++i) {
        uint8_t* p = sector(firstDir) + i * kDirEntrySize;
        if (i < dir.size()) WriteEntry(p, dir[i], i == 0);
        else WriteEmptyEntry(p);
    }
    for (size_t i = 0; i < miniFat.size(); ++i)
        Put32(sector(firstMiniFat + i / kIdsPerSector) + 4 * (i % kIdsPerSector), miniFat[i]);

    for (size_t i = 1; i < dir.size(); ++i) {
        const Node& n = *dir[i].node;
        if (n.type == kStorage || n.data.empty()) continue;
        uint8_t* to = n.data.size() < kMiniStreamCutoff ? sector(firstMiniStream) + firstMini[i] * kMiniSectorSize
                                                         : sector(dir[i].start);
        std::memcpy(to, n.data.data(), n.data.size());
    }
    return image;
}

}  // namespace platform::cfb
