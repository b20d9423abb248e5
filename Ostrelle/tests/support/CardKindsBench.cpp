#include "support/CardKindsBench.h"

#include <cstdio>
#include <filesystem>

#include "hwsim/bench/Bench.h"

const std::vector<std::string>& FamilyCardKinds() {
    static const std::vector<std::string> kinds = {
        "713x TV Card Capture",        "TV AV Capture",           "Ebrin Capture",
        "Vorlane Cranlow Capture",     "Castrel Capture",         "Grelmo TV Capture",
        "Fosbry TV Capture",           "Dolbray TV Card Capture", "713x_IO TV Card Capture",
        "713x_3 TV Card Capture",      "713x_PIP TV Card Capture", "713x_Wadrel TV Card Capture",
        "Sivren Video Capture",        "Movrik Video Capture",    "713x_D TV Card Capture",
    };
    return kinds;
}

const std::vector<std::string>& DeviceControlCardKinds() {
    static const std::vector<std::string> kinds = {
        "713x TV Card Capture",    "TV AV Capture",     "Ebrin Capture",
        "Vorlane Cranlow Capture", "Castrel Capture",   "Grelmo TV Capture",
        "Fosbry TV Capture",       "Dolbray TV Card Capture", "713x_Wadrel TV Card Capture",
    };
    return kinds;
}

std::string FamilyBench(const std::vector<std::string>& kinds, bool deviceControl) {
    std::string hex;
    for (int i = 0; i < 256; ++i) {
        int value = 0xFF;
        if (i == 0x20 || i == 160) value = 'T';
        if (i == 0x21 || i == 161) value = 5;
        char text[4];
        std::snprintf(text, sizeof(text), "%02X ", value);
        hex += text;
    }
    std::string cards;
    for (const std::string& kind : kinds) {
        std::filesystem::remove(hwsim::Bench::StateFileFor(*hwsim::FindCardKind(kind), 0));
        cards += std::string(cards.empty() ? "" : ",\n") + R"({"kind": ")" + kind + R"(", "tuner": 5, "eeprom": {"hex": ")" +
                 hex + "\"}" + (deviceControl ? R"(, "driver": "deviceControl")" : "") + "}";
    }
    return R"({"cards": [)" + cards + R"(], "stations": [{"kHz": 49750}]})";
}
