// Fuzz target for the demultiplexer's program-stream parser: any input, fed whole or cut into
// pieces at places the input itself chooses, gives the same packets, each no larger than a PES
// packet can be, and nothing is read outside the input.
#include <cstdlib>
#include <vector>

#include "dshow/filters/ProgramStreamParser.h"

using platform::dshow::ProgramStreamParser;

namespace {

struct Seen {
    uint8_t id;
    bool hasPts;
    uint64_t pts;
    std::vector<uint8_t> payload;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> Parse(const uint8_t* data, size_t size, size_t piece) {
    std::vector<Seen> seen;
    ProgramStreamParser parser([&](const ProgramStreamParser::Packet& p) {
        if (p.size > 65535) abort();
        seen.push_back(Seen{p.streamId, p.hasPts, p.pts, std::vector<uint8_t>(p.payload, p.payload + p.size)});
    });
    for (size_t at = 0; at < size; at += piece) parser.Feed(data + at, std::min(piece, size - at));
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    size_t piece = 1 + data[0] % 61;
    if (Parse(data + 1, size - 1, size) != Parse(data + 1, size - 1, piece)) abort();
    return 0;
}
