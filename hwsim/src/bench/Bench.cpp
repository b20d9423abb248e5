// The simulated PC: the cards a bench file plugs and the RF environment around them.
#include "hwsim/bench/Bench.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/runtime.h"

namespace hwsim {

namespace fs = std::filesystem;

// No bench describes a PC in more; a larger file is refused before it is read.
constexpr size_t kMaxBenchBytes = 16u << 20;

std::string Bench::DefaultPath() {
    if (const char* chosen = std::getenv("PELVATRO_BENCH"); chosen && *chosen) {
        std::error_code error;
        if (!fs::is_regular_file(chosen, error)) {
            throw BenchError(std::string("PELVATRO_BENCH names ") + chosen + ", which is not a file");
        }
        return chosen;
    }
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        const fs::path beside = executable.parent_path() / "benches" / "default.json";
        if (fs::is_regular_file(beside, error)) return beside.string();
    }
    const fs::path source = fs::path(HWSIM_SOURCE_BENCHES) / "default.json";
    if (fs::is_regular_file(source, error)) return source.string();
    throw BenchError("no bench file: set PELVATRO_BENCH or install benches/default.json beside the program");
}

std::unique_ptr<Bench> Bench::Load(const std::string& path) {
    if (platform::StateDir().empty()) {
        throw BenchError("no folder for the bench state: HOME, XDG_STATE_HOME and PELVATRO_STATE_DIR are unset; "
                         "set PELVATRO_STATE_DIR");
    }
    std::vector<BYTE> bytes;
    std::string why;
    if (!ReadWholeFile(path, bytes, why, kMaxBenchBytes)) throw BenchError(path + ": cannot be read: " + why);
    return FromText(std::string(bytes.begin(), bytes.end()), fs::path(path).parent_path().string(), path);
}

std::unique_ptr<Bench> Bench::FromText(const std::string& text, const std::string& baseDir,
                                       const std::string& origin) {
    return std::unique_ptr<Bench>(new Bench(ParseBench(text, baseDir, origin), origin));
}

std::string Bench::StateFileFor(const CardKind& kind, int instance) {
    std::string name = kind.captureName;
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '.';
        if (!plain) c = '_';
    }
    return (fs::path(platform::StateDir()) / "eeprom" / (name + "-" + std::to_string(instance) + ".bin")).string();
}

Bench::Bench(const BenchSpec& desc, std::string origin)
    : m_origin(std::move(origin)),
      m_description(desc.description),
      m_rf(desc.stations, desc.fmStations),
      m_soundCards(desc.soundCards),
      m_packages(desc.packages) {
    for (const CardSpec& card : desc.cards) {
        m_cards.push_back(std::make_unique<Card>(card, m_rf, StateFileFor(*card.kind, card.instance)));
    }
}

Bench::~Bench() = default;

Card* Bench::FindCard(std::string_view friendlyName, int instance) const {
    for (const auto& card : m_cards) {
        if (friendlyName == card->FriendlyName() && card->Instance() == instance) return card.get();
    }
    return nullptr;
}

}  // namespace hwsim
