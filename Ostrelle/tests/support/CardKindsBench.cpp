// Benches of the base, Cranlow and SAA713x card kinds, the kinds taken from the card-kind rows.
#include "support/CardKindsBench.h"

#include "hwsim/bench/CardKind.h"
#include "support/EepromBench.h"

const std::vector<std::string>& FamilyCardKinds() {
    static const std::vector<std::string> kinds =
        hwsim::CaptureNamesWhere([](const hwsim::CardKind& kind) { return kind.saa713xFamily; });
    return kinds;
}

const std::vector<std::string>& DeviceControlCardKinds() {
    static const std::vector<std::string> kinds =
        hwsim::CaptureNamesWhere([](const hwsim::CardKind& kind) { return kind.offersDeviceControl; });
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
