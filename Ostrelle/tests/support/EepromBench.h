// Bench files for the card tests: boards with the EEPROM image a test names, byte by byte.
#pragma once

#include <map>
#include <string>
#include <vector>

// EEPROM bytes by address; every other byte of the 256 is 0xFF.
using EepromBytes = std::map<int, int>;

// The 256-byte image as the bench file's "hex" text ("FF FF ...").
std::string EepromHex(const EepromBytes& bytes);

// One board of a bench: its kind (capture name), the tuner model fitted, its EEPROM bytes, and
// further fields of its entry as bench-file text (", \"driver\": \"deviceControl\"").
struct BenchBoard {
    std::string kind;
    int model;
    EepromBytes eeprom;
    std::string extra;
};

// A bench of `boards` and the bench file's station list `stations`. The first board of each
// kind starts from the bench's image: an earlier bench's EEPROM state file is removed.
std::string EepromBench(const std::vector<BenchBoard>& boards, const std::string& stations = R"([{"kHz": 49750}])");
