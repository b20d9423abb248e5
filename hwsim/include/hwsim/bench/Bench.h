// The simulated PC: the cards a bench file plugs and the RF environment around them. Each
// card's EEPROM starts from its state file in platform::StateDir() when there is one, else
// from the bench file, and is written through to the state file as the chip is written.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "hwsim/bench/BenchSpec.h"
#include "hwsim/boards/Card.h"
#include "hwsim/bench/RfEnvironment.h"

namespace hwsim {

class Bench {
public:
    // The bench file to use: PELVATRO_BENCH when set, else benches/default.json beside the
    // executable, else the default bench of the source tree. Throws BenchError when
    // PELVATRO_BENCH names a missing file or no default bench is found.
    static std::string DefaultPath();
    // Throws BenchError with the file and the place of the fault.
    static std::unique_ptr<Bench> Load(const std::string& path);
    static std::unique_ptr<Bench> FromText(const std::string& text, const std::string& baseDir = ".",
                                           const std::string& origin = "bench text");
    // Where a card's EEPROM is kept: <StateDir>/eeprom/<FriendlyName>-<instance>.bin, with
    // every character but letters, digits, '-' and '.' written as '_'.
    static std::string StateFileFor(const CardKind& kind, int instance);

    ~Bench();
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    const std::string& Origin() const { return m_origin; }
    const std::string& Description() const { return m_description; }
    // In bench order.
    const std::vector<std::unique_ptr<Card>>& Cards() const { return m_cards; }
    Card* FindCard(std::string_view friendlyName, int instance) const;
    RfEnvironment& Rf() { return m_rf; }
    const std::vector<SoundCardSpec>& SoundCards() const { return m_soundCards; }
    const std::vector<std::string>& Packages() const { return m_packages; }

private:
    Bench(const BenchSpec& desc, std::string origin);

    std::string m_origin;
    std::string m_description;
    RfEnvironment m_rf;
    std::vector<std::unique_ptr<Card>> m_cards;
    std::vector<SoundCardSpec> m_soundCards;
    std::vector<std::string> m_packages;
};

}  // namespace hwsim
