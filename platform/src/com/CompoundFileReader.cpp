// Reads a compound file image into an element tree. Every number taken from the file is
// checked before it is used: sector numbers stay inside the file, chains neither loop nor
// share sectors, the directory is a tree, and no stream claims more bytes than its chain.
#include <algorithm>
#include <cstring>

#include "CompoundFile.h"
#include "CompoundFileLayout.h"

namespace platform::cfb {

using namespace layout;

namespace {

// Storages nested deeper than this are refused (a tree this deep is damage, not data).
constexpr size_t kMaxDepth = 256;

struct Corrupt {
    HRESULT hr;
};

CLSID GetGuid(const uint8_t* p) {
    CLSID g;
    g.Data1 = Get32(p);
    g.Data2 = Get16(p + 4);
    g.Data3 = Get16(p + 6);
    std::memcpy(g.Data4, p + 8, 8);
    return g;
}

class Reader {
public:
    Reader(const uint8_t* bytes, size_t size) : m_bytes(bytes), m_size(size) {}

    void Read(Node* root) {
        ReadHeader();
        ReadFat();
        ReadDirectory();
        ReadMiniStream();
        BuildTree(root);
    }

private:
    // ---- sectors ----
    uint32_t SectorCount() const { return uint32_t((m_size - m_sectorSize + m_sectorSize - 1) / m_sectorSize); }

    // Bytes of sector `sid`; the part of a last, short sector past the end of the file reads
    // as zeros.
    void CopySector(uint32_t sid, uint8_t* out) const {
        size_t offset = (size_t(sid) + 1) * m_sectorSize;
        size_t have = offset < m_size ? std::min(m_sectorSize, m_size - offset) : 0;
        if (have) std::memcpy(out, m_bytes + offset, have);
        std::memset(out + have, 0, m_sectorSize - have);
    }

    void CheckSector(uint32_t sid) const {
        if (sid >= m_sectorCount) throw Corrupt{STG_E_DOCFILECORRUPT};
    }

    // Claims a sector for one structure or stream; a sector claimed twice means crossed chains.
    void Claim(uint32_t sid) {
        CheckSector(sid);
        if (m_used[sid]) throw Corrupt{STG_E_DOCFILECORRUPT};
        m_used[sid] = true;
    }

    // The sectors of the chain from `start` in the FAT, each claimed.
    std::vector<uint32_t> FatChain(uint32_t start) {
        std::vector<uint32_t> chain;
        for (uint32_t sid = start; sid != kEndOfChain;) {
            Claim(sid);
            chain.push_back(sid);
            if (sid >= m_fat.size()) throw Corrupt{STG_E_DOCFILECORRUPT};
            sid = m_fat[sid];
        }
        return chain;
    }

    // ---- header ----
    void ReadHeader() {
        if (HRESULT hr = CheckHeader(m_bytes, m_size); FAILED(hr)) throw Corrupt{hr};
        const uint8_t* h = m_bytes;
        uint16_t major = Get16(h + kOffMajorVersion);
        uint16_t shift = Get16(h + kOffSectorShift);
        m_major = major;
        m_sectorSize = size_t(1) << shift;
        if (m_size < m_sectorSize) throw Corrupt{STG_E_INVALIDHEADER};
        m_sectorCount = SectorCount();
        m_used.assign(m_sectorCount, false);
        m_fatCount = Get32(h + kOffFatSectorCount);
        m_firstDir = Get32(h + kOffFirstDirSector);
        m_firstMiniFat = Get32(h + kOffFirstMiniFatSector);
        m_firstDifat = Get32(h + kOffFirstDifatSector);
        m_difatCount = Get32(h + kOffDifatSectorCount);
        if (m_fatCount > m_sectorCount || m_difatCount > m_sectorCount) throw Corrupt{STG_E_INVALIDHEADER};
    }

    // ---- FAT, through the DIFAT ----
    void ReadFat() {
        std::vector<uint32_t> fatSectors;
        for (size_t i = 0; i < kHeaderDifatEntries && fatSectors.size() < m_fatCount; ++i)
            fatSectors.push_back(Get32(m_bytes + kOffDifat + 4 * i));
        const size_t perSector = m_sectorSize / 4;
        std::vector<uint8_t> sector(m_sectorSize);
        uint32_t difat = m_firstDifat;
        for (uint32_t n = 0; fatSectors.size() < m_fatCount; ++n) {
            if (n >= m_difatCount || difat == kEndOfChain || difat == kFreeSector) throw Corrupt{STG_E_DOCFILECORRUPT};
            Claim(difat);
            CopySector(difat, sector.data());
            for (size_t i = 0; i + 1 < perSector && fatSectors.size() < m_fatCount; ++i)
                fatSectors.push_back(Get32(sector.data() + 4 * i));
            difat = Get32(sector.data() + 4 * (perSector - 1));
        }
        m_fat.reserve(fatSectors.size() * perSector);
        for (uint32_t sid : fatSectors) {
            Claim(sid);
            CopySector(sid, sector.data());
            for (size_t i = 0; i < perSector; ++i) m_fat.push_back(Get32(sector.data() + 4 * i));
        }
    }

    // ---- directory ----
    void ReadDirectory() {
        std::vector<uint32_t> chain = FatChain(m_firstDir);
        if (chain.empty()) throw Corrupt{STG_E_DOCFILECORRUPT};
        m_dir.resize(chain.size() * m_sectorSize);
        for (size_t i = 0; i < chain.size(); ++i) CopySector(chain[i], m_dir.data() + i * m_sectorSize);
        m_entryCount = m_dir.size() / kDirEntrySize;
        if (Entry(0)[kEntType] != kRoot) throw Corrupt{STG_E_DOCFILECORRUPT};
    }

    const uint8_t* Entry(uint32_t id) const { return m_dir.data() + size_t(id) * kDirEntrySize; }

    uint64_t EntrySize(const uint8_t* e) const {
        // Version 3 files keep only the low 32 bits; writers may leave the high ones unset.
        return m_major == kMajorVersion3 ? Get32(e + kEntSize) : Get64(e + kEntSize);
    }

    // ---- mini stream and mini FAT ----
    void ReadMiniStream() {
        const uint8_t* root = Entry(0);
        uint64_t size = EntrySize(root);
        uint32_t start = Get32(root + kEntStart);
        // An empty mini stream may name any start sector; small streams then have nowhere to be.
        if (size == 0) return;
        std::vector<uint32_t> chain = FatChain(start);
        if (size > uint64_t(chain.size()) * m_sectorSize) throw Corrupt{STG_E_DOCFILECORRUPT};
        m_mini.resize(chain.size() * m_sectorSize);
        for (size_t i = 0; i < chain.size(); ++i) CopySector(chain[i], m_mini.data() + i * m_sectorSize);
        m_mini.resize(size_t(size));
        if (m_firstMiniFat == kEndOfChain || m_firstMiniFat == kFreeSector) return;
        std::vector<uint32_t> miniFatChain = FatChain(m_firstMiniFat);
        std::vector<uint8_t> sector(m_sectorSize);
        for (uint32_t sid : miniFatChain) {
            CopySector(sid, sector.data());
            for (size_t i = 0; i < m_sectorSize / 4; ++i) m_miniFat.push_back(Get32(sector.data() + 4 * i));
        }
        m_miniUsed.assign(m_mini.size() / kMiniSectorSize, false);
    }

    // ---- stream contents ----
    std::vector<uint8_t> StreamData(const uint8_t* e) {
        uint64_t size = EntrySize(e);
        uint32_t start = Get32(e + kEntStart);
        std::vector<uint8_t> data;
        if (size == 0) return data;
        if (size < kMiniStreamCutoff) {
            // Mini sectors: every one must lie inside the mini stream and belong to one stream.
            for (uint32_t sid = start; data.size() < size;) {
                if (sid >= m_miniFat.size() || sid >= m_miniUsed.size() || m_miniUsed[sid])
                    throw Corrupt{STG_E_DOCFILECORRUPT};
                m_miniUsed[sid] = true;
                size_t take = std::min<size_t>(kMiniSectorSize, size_t(size) - data.size());
                data.insert(data.end(), m_mini.begin() + ptrdiff_t(sid) * kMiniSectorSize,
                            m_mini.begin() + ptrdiff_t(sid) * kMiniSectorSize + ptrdiff_t(take));
                sid = m_miniFat[sid];
            }
            return data;
        }
        if (size > uint64_t(m_sectorCount) * m_sectorSize) throw Corrupt{STG_E_DOCFILECORRUPT};
        data.resize(size_t(size));
        std::vector<uint8_t> sector(m_sectorSize);
        size_t done = 0;
        for (uint32_t sid = start; done < size;) {
            Claim(sid);
            CopySector(sid, sector.data());
            size_t take = std::min(m_sectorSize, size_t(size) - done);
            std::memcpy(data.data() + done, sector.data(), take);
            done += take;
            if (sid >= m_fat.size()) throw Corrupt{STG_E_DOCFILECORRUPT};
            sid = m_fat[sid];
        }
        return data;
    }

    // ---- the tree ----
    void Fill(Node* node, const uint8_t* e) {
        uint16_t nameBytes = Get16(e + kEntNameLength);
        if (nameBytes > 64 || nameBytes % 2) throw Corrupt{STG_E_DOCFILECORRUPT};
        node->name.clear();
        for (size_t i = 0; i + 1 < nameBytes / 2u; ++i) node->name.push_back(char16_t(Get16(e + kEntName + 2 * i)));
        node->clsid = GetGuid(e + kEntClsid);
        node->stateBits = Get32(e + kEntStateBits);
        node->created = Get64(e + kEntCreated);
        node->modified = Get64(e + kEntModified);
    }

    void BuildTree(Node* root) {
        std::vector<bool> seen(m_entryCount, false);
        seen[0] = true;
        *root = Node();
        Fill(root, Entry(0));
        root->type = kRoot;
        // Storages still to read: (their directory entry's child, the node, depth).
        struct Pending {
            uint32_t child;
            Node* node;
            size_t depth;
        };
        std::vector<Pending> storages{{Get32(Entry(0) + kEntChild), root, 0}};
        std::vector<uint32_t> siblings;
        while (!storages.empty()) {
            Pending p = storages.back();
            storages.pop_back();
            if (p.child == kNoStream) continue;
            siblings.assign(1, p.child);
            while (!siblings.empty()) {
                uint32_t id = siblings.back();
                siblings.pop_back();
                if (id >= m_entryCount || seen[id]) throw Corrupt{STG_E_DOCFILECORRUPT};
                seen[id] = true;
                const uint8_t* e = Entry(id);
                uint8_t type = e[kEntType];
                if (type != kStorage && type != kStream) throw Corrupt{STG_E_DOCFILECORRUPT};
                auto node = std::make_shared<Node>();
                Fill(node.get(), e);
                node->type = type;
                if (type == kStream) {
                    node->data = StreamData(e);
                } else {
                    if (p.depth + 1 > kMaxDepth) throw Corrupt{STG_E_DOCFILECORRUPT};
                    storages.push_back({Get32(e + kEntChild), node.get(), p.depth + 1});
                }
                p.node->children.push_back(node);
                for (size_t link : {kEntLeft, kEntRight})
                    if (Get32(e + link) != kNoStream) siblings.push_back(Get32(e + link));
            }
            // Names are unique within a storage; the elements are kept in the file's order.
            auto& kids = p.node->children;
            std::sort(kids.begin(), kids.end(), [](const std::shared_ptr<Node>& a, const std::shared_ptr<Node>& b) {
                return CompareNames(a->name, b->name) < 0;
            });
            for (size_t i = 1; i < kids.size(); ++i)
                if (CompareNames(kids[i - 1]->name, kids[i]->name) == 0) throw Corrupt{STG_E_DOCFILECORRUPT};
        }
    }

    const uint8_t* m_bytes;
    size_t m_size;
    uint16_t m_major = 0;
    size_t m_sectorSize = kSectorSize;
    uint32_t m_sectorCount = 0;
    uint32_t m_fatCount = 0;
    uint32_t m_firstDir = 0;
    uint32_t m_firstMiniFat = 0;
    uint32_t m_firstDifat = 0;
    uint32_t m_difatCount = 0;
    std::vector<bool> m_used;
    std::vector<uint32_t> m_fat;
    std::vector<uint8_t> m_dir;
    size_t m_entryCount = 0;
    std::vector<uint8_t> m_mini;
    std::vector<uint32_t> m_miniFat;
    std::vector<bool> m_miniUsed;
};

}  // namespace

HRESULT CheckHeader(const uint8_t* h, size_t size) {
    if (!h || !HasSignature(h, size)) return STG_E_FILEALREADYEXISTS;
    if (size < kHeaderSize) return STG_E_INVALIDHEADER;
    uint16_t major = Get16(h + kOffMajorVersion);
    uint16_t shift = Get16(h + kOffSectorShift);
    if (Get16(h + kOffByteOrder) != kByteOrder) return STG_E_INVALIDHEADER;
    if (!((major == kMajorVersion3 && shift == kSectorShift3) || (major == kMajorVersion4 && shift == kSectorShift4)))
        return STG_E_INVALIDHEADER;
    if (Get16(h + kOffMiniSectorShift) != kMiniSectorShift) return STG_E_INVALIDHEADER;
    if (Get32(h + kOffMiniCutoff) != kMiniStreamCutoff) return STG_E_INVALIDHEADER;
    if (major == kMajorVersion3 && Get32(h + kOffDirSectorCount) != 0) return STG_E_INVALIDHEADER;
    return S_OK;
}

HRESULT Parse(const uint8_t* bytes, size_t size, Node* root) {
    if (!bytes && size) return STG_E_INVALIDPOINTER;
    try {
        Reader(bytes, size).Read(root);
        return S_OK;
    } catch (const Corrupt& c) {
        *root = Node();
        root->type = kRoot;
        return c.hr;
    }
}

}  // namespace platform::cfb
