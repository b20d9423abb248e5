// The MPEG-2 program-stream parser of the demultiplexer: bytes are fed in pieces of any size;
// pack headers (MPEG-2 and MPEG-1), system headers, program ends and PES packets are found by
// their start codes across the pieces, and each PES packet of an audio, video or private
// stream 1 id is handed on with its payload and its PTS. Other packets are skipped whole;
// bytes that are no packet are skipped up to the next start code. Nothing held grows beyond
// one PES packet (64 KiB).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace platform::dshow {

class ProgramStreamParser {
public:
    struct Packet {
        uint8_t streamId;
        bool hasPts;
        uint64_t pts;  // 90 kHz, 33 bits
        const uint8_t* payload;
        size_t size;
    };
    using Sink = std::function<void(const Packet&)>;

    explicit ProgramStreamParser(Sink sink) : m_sink(std::move(sink)) {}
    void Feed(const uint8_t* data, size_t size);
    // Forgets a packet cut short (a new stream starts).
    void Reset();
    // Bytes skipped as garbage since the last Reset.
    uint64_t SkippedBytes() const { return m_skipped; }

private:
    // Parses the packet at `at` when it is whole: its length, 0 when more bytes are needed,
    // or -1 when no packet starts there.
    long Parse(size_t at);
    bool ParsePesHeader(const uint8_t* p, size_t length, size_t* payload, bool* hasPts, uint64_t* pts) const;

    Sink m_sink;
    std::vector<uint8_t> m_held;
    uint64_t m_skipped = 0;
};

}  // namespace platform::dshow
