// The program-stream parser.
#include "ProgramStreamParser.h"

#include <algorithm>

namespace platform::dshow {

namespace {

constexpr uint8_t kPack = 0xBA, kSystemHeader = 0xBB, kProgramEnd = 0xB9;

bool IsStartCode(const uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 1; }

// Ids whose payload is elementary-stream data: private stream 1, audio, video.
bool CarriesPayload(uint8_t id) { return id == 0xBD || (id >= 0xC0 && id <= 0xEF); }

uint64_t ReadTimestamp(const uint8_t* p) {
    return (uint64_t(p[0] & 0x0E) << 29) | (uint64_t(p[1]) << 22) | (uint64_t(p[2] & 0xFE) << 14) |
           (uint64_t(p[3]) << 7) | (uint64_t(p[4]) >> 1);
}

}  // namespace

void ProgramStreamParser::Reset() {
    m_held.clear();
    m_skipped = 0;
}

void ProgramStreamParser::Feed(const uint8_t* data, size_t size) {
    m_held.insert(m_held.end(), data, data + size);
    size_t at = 0;
    while (at < m_held.size()) {
        // Find the next start code prefix; keep a partial one at the end.
        size_t next = at;
        while (next + 3 <= m_held.size() && !IsStartCode(&m_held[next])) ++next;
        if (next + 3 > m_held.size()) next = std::max(at, m_held.size() - std::min<size_t>(m_held.size(), 2));
        m_skipped += next - at;
        at = next;
        if (at + 3 > m_held.size()) break;
        long length = Parse(at);
        if (length == 0) break;
        if (length < 0) {
            ++m_skipped;
            ++at;
            continue;
        }
        at += size_t(length);
    }
    m_held.erase(m_held.begin(), m_held.begin() + std::min(at, m_held.size()));
}

long ProgramStreamParser::Parse(size_t at) {
    const size_t have = m_held.size() - at;
    const uint8_t* p = &m_held[at];
    if (have < 4) return 0;
    uint8_t code = p[3];
    if (code == kProgramEnd) return 4;
    if (code == kPack) {
        if (have < 5) return 0;
        if ((p[4] & 0xC0) == 0x40) {  // MPEG-2: 14 bytes and up to 7 of stuffing
            if (have < 14) return 0;
            long length = 14 + (p[13] & 0x07);
            return long(have) < length ? 0 : length;
        }
        if ((p[4] & 0xF0) == 0x20) return have < 12 ? 0 : 12;  // MPEG-1
        return -1;
    }
    if (code < kSystemHeader) return -1;  // not a system-level start code
    if (have < 6) return 0;
    size_t length = 6 + ((size_t(p[4]) << 8) | p[5]);
    if (length == 6 && code != kSystemHeader) return -1;  // a PES of unbounded length is not allowed here
    if (have < length) return 0;
    if (!CarriesPayload(code)) return long(length);
    size_t payload;
    bool hasPts = false;
    uint64_t pts = 0;
    if (!ParsePesHeader(p, length, &payload, &hasPts, &pts)) return long(length);  // malformed: dropped
    m_sink(Packet{code, hasPts, pts, p + payload, length - payload});
    return long(length);
}

// Where the payload starts (MPEG-2 header, else MPEG-1's stuffing, buffer size and stamps).
bool ProgramStreamParser::ParsePesHeader(const uint8_t* p, size_t length, size_t* payload, bool* hasPts,
                                         uint64_t* pts) const {
    if (length < 9) return false;
    if ((p[6] & 0xC0) == 0x80) {
        size_t start = 9 + size_t(p[8]);
        if (start > length) return false;
        if ((p[7] & 0x80) && p[8] >= 5) {
            *hasPts = true;
            *pts = ReadTimestamp(p + 9);
        }
        *payload = start;
        return true;
    }
    size_t i = 6;
    while (i < length && p[i] == 0xFF && i < 6 + 16) ++i;
    if (i < length && (p[i] & 0xC0) == 0x40) i += 2;
    if (i >= length) return false;
    if ((p[i] & 0xF0) == 0x20 || (p[i] & 0xF0) == 0x30) {
        size_t stamps = (p[i] & 0xF0) == 0x30 ? 10 : 5;
        if (i + stamps > length) return false;
        *hasPts = true;
        *pts = ReadTimestamp(p + i);
        i += stamps;
    } else if (p[i] == 0x0F) {
        ++i;
    } else {
        return false;
    }
    *payload = i;
    return true;
}

}  // namespace platform::dshow
