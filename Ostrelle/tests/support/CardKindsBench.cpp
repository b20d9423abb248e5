#include "support/CardKindsBench.h"

#include "support/EepromBench.h"

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
    std::vector<BenchBoard> boards;
    for (const std::string& kind : kinds) {
        boards.push_back({kind, 5, {{0x20, 'T'}, {0x21, 5}, {160, 'T'}, {161, 5}},
                          deviceControl ? R"(, "driver": "deviceControl")" : ""});
    }
    return EepromBench(boards);
}
