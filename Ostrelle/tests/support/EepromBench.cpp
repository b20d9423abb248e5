#include "support/EepromBench.h"

#include <cstdio>
#include <filesystem>

#include "hwsim/bench/Bench.h"

std::string EepromHex(const EepromBytes& bytes) {
    std::string hex;
    for (int i = 0; i < 256; ++i) {
        const auto it = bytes.find(i);
        char text[4];
        std::snprintf(text, sizeof(text), "%02X ", it != bytes.end() ? it->second : 0xFF);
        hex += text;
    }
    return hex;
}

std::string EepromBench(const std::vector<BenchBoard>& boards, const std::string& stations) {
    std::string cards;
    for (const BenchBoard& board : boards) {
        std::filesystem::remove(hwsim::Bench::StateFileFor(*hwsim::FindCardKind(board.kind), 0));
        cards += std::string(cards.empty() ? "" : ",\n") + R"({"kind": ")" + board.kind +
                 R"(", "tuner": )" + std::to_string(board.model) + R"(, "eeprom": {"hex": ")" +
                 EepromHex(board.eeprom) + "\"}" + board.extra + "}";
    }
    return R"({"cards": [)" + cards + R"(], "stations": )" + stations + "}";
}
