// A bench file as read: the cards plugged into the simulated PC and what is on air.
#include "hwsim/bench/BenchSpec.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>

#include <nlohmann/json.hpp>

#include "hwsim/boards/Em28xxBox.h"
#include "hwsim/installed/InstalledPackages.h"

namespace hwsim {

namespace {

constexpr size_t kEepromSize = 256;

using nlohmann::json;

class Reader {
public:
    Reader(std::string origin, std::string baseDir) : m_origin(std::move(origin)), m_baseDir(std::move(baseDir)) {}

    [[noreturn]] void Fail(const std::string& where, const std::string& what) const {
        throw BenchError(m_origin + ": " + where + ": " + what);
    }

    void OnlyKeys(const json& object, const std::string& where, std::initializer_list<const char*> keys) const {
        if (!object.is_object()) Fail(where, "expected an object");
        for (const auto& [key, value] : object.items()) {
            bool known = false;
            for (const char* allowed : keys) known = known || key == allowed;
            if (!known) Fail(where, "unknown key \"" + key + "\"");
        }
    }

    long Integer(const json& object, const char* key, const std::string& where, long fallback, long low,
                 long high) const {
        auto it = object.find(key);
        if (it == object.end()) return fallback;
        if (!it->is_number_integer()) Fail(where + "." + key, "expected an integer");
        const long long value = it->get<long long>();
        if (value < low || value > high) {
            Fail(where + "." + key, "must lie in " + std::to_string(low) + " to " + std::to_string(high));
        }
        return static_cast<long>(value);
    }

    std::string String(const json& object, const char* key, const std::string& where) const {
        auto it = object.find(key);
        if (it == object.end()) return std::string();
        if (!it->is_string()) Fail(where + "." + key, "expected a string");
        return it->get<std::string>();
    }

    bool Boolean(const json& object, const char* key, const std::string& where) const {
        auto it = object.find(key);
        if (it == object.end()) return false;
        if (!it->is_boolean()) Fail(where + "." + key, "expected true or false");
        return it->get<bool>();
    }

    std::vector<BYTE> HexBytes(const std::string& text, const std::string& where) const {
        std::vector<BYTE> bytes;
        int high = -1;
        for (char c : text) {
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',') {
                if (high >= 0) Fail(where, "odd number of hex digits");
                continue;
            }
            int digit;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            } else {
                Fail(where, std::string("not a hex digit: '") + c + "'");
            }
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<BYTE>(high * 16 + digit));
                high = -1;
            }
        }
        if (high >= 0) Fail(where, "odd number of hex digits");
        return bytes;
    }

    void ImageFits(uint64_t size, const std::string& where) const {
        if (size > kEepromSize) {
            Fail(where, "image of " + std::to_string(size) + " bytes is larger than the 256-byte chip");
        }
    }

    std::vector<BYTE> FileBytes(const std::string& name, const std::string& where) const {
        std::filesystem::path path(name);
        if (path.is_relative()) path = std::filesystem::path(m_baseDir) / path;
        // Larger than the chip: refused before it is read.
        struct stat st {};
        if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ImageFits(uint64_t(st.st_size), where);
        std::vector<BYTE> bytes;
        std::string why;
        if (!ReadWholeFile(path.string(), bytes, why, kEepromSize)) {
            Fail(where, "cannot read " + path.string() + ": " + why);
        }
        return bytes;
    }

    void Eeprom(const json& card, CardSpec& desc, const std::string& where) const {
        std::vector<BYTE> image;
        auto it = card.find("eeprom");
        if (it != card.end() && it->is_string()) {
            if (*it != "blank") Fail(where, "expected \"blank\" or an object");
        } else if (it != card.end()) {
            OnlyKeys(*it, where, {"file", "hex", "writeProtect", "writeCycleMs"});
            if (it->contains("file") && it->contains("hex")) Fail(where, "give either \"file\" or \"hex\"");
            if (it->contains("file")) image = FileBytes(String(*it, "file", where), where + ".file");
            if (it->contains("hex")) image = HexBytes(String(*it, "hex", where), where + ".hex");
            desc.writeProtect = Boolean(*it, "writeProtect", where);
            desc.writeCycleMs = static_cast<DWORD>(Integer(*it, "writeCycleMs", where, 0, 0, 10000));
        }
        ImageFits(image.size(), where);
        image.resize(kEepromSize, 0xFF);
        desc.eeprom = std::move(image);
    }

    FaultSpec Fault(const json& fault, const std::string& where) const {
        OnlyKeys(fault, where, {"chip", "kind", "transfer", "byte", "count"});
        FaultSpec desc;
        desc.chip = String(fault, "chip", where);
        if (desc.chip.empty()) Fail(where, "\"chip\" names the chip (\"eeprom\", \"tuner\")");
        const std::string kind = String(fault, "kind", where);
        if (kind == "nack") {
            desc.kind = FaultSpec::Kind::Nack;
        } else if (kind == "stuck") {
            desc.kind = FaultSpec::Kind::Stuck;
        } else if (kind == "absent") {
            desc.kind = FaultSpec::Kind::Absent;
        } else {
            Fail(where + ".kind", "expected \"nack\", \"stuck\" or \"absent\"");
        }
        desc.transfer = static_cast<int>(Integer(fault, "transfer", where, 0, 0, INT_MAX));
        desc.byte = static_cast<int>(Integer(fault, "byte", where, 0, 0, INT_MAX));
        desc.count = static_cast<int>(Integer(fault, "count", where, 1, -1, INT_MAX));
        return desc;
    }

    CardSpec Card(const json& card, const std::string& where, std::map<const CardKind*, int>& nextInstance) const {
        OnlyKeys(card, where, {"kind", "instance", "tuner", "eeprom", "remote", "keys", "keysRepeatMs", "faults", "driver",
                                  "crossbarPins", "interleaved", "encoder", "encoderStopsAfterMs",
                                  "encoderStopsAfterBytes", "remoteFault", "composite", "svideo", "tunerDevice",
                                  "tunerTypeCode"});
        CardSpec desc;
        const std::string kind = String(card, "kind", where);
        desc.kind = FindCardKind(kind);
        if (!desc.kind) {
            std::string known;
            for (const CardKind& k : CardKinds()) known += std::string(known.empty() ? "" : ", ") + "\"" + k.captureName + "\"";
            Fail(where + ".kind", "unknown card kind \"" + kind + "\" (known: " + known + ")");
        }
        const int next = nextInstance[desc.kind];
        desc.instance = static_cast<int>(Integer(card, "instance", where, next, 0, 255));
        if (desc.instance < next) {
            Fail(where + ".instance", "instance " + std::to_string(desc.instance) +
                                          " of this kind is taken or out of order (next free: " +
                                          std::to_string(next) + ")");
        }
        nextInstance[desc.kind] = desc.instance + 1;
        desc.tunerModel = static_cast<int>(Integer(card, "tuner", where, 0, 0, 255));
        Eeprom(card, desc, where + ".eeprom");
        desc.remote = String(card, "remote", where);
        if (auto it = card.find("keys"); it != card.end()) {
            if (!it->is_array()) Fail(where + ".keys", "expected a list of key codes");
            for (size_t i = 0; i < it->size(); ++i) {
                const json& key = (*it)[i];
                const std::string at = where + ".keys[" + std::to_string(i) + "]";
                if (!key.is_number_integer() || key.get<long long>() < 0 || key.get<long long>() > 255) {
                    Fail(at, "expected a key code 0 to 255");
                }
                desc.keys.push_back(static_cast<BYTE>(key.get<int>()));
            }
        }
        desc.keysRepeatMs = static_cast<DWORD>(Integer(card, "keysRepeatMs", where, 0, 0, 600000));
        if (desc.keysRepeatMs != 0 && desc.keys.empty()) Fail(where + ".keysRepeatMs", "needs \"keys\" to press");
        if (auto it = card.find("faults"); it != card.end()) {
            if (!it->is_array()) Fail(where + ".faults", "expected a list");
            for (size_t i = 0; i < it->size(); ++i) {
                desc.faults.push_back(Fault((*it)[i], where + ".faults[" + std::to_string(i) + "]"));
            }
        }
        desc.driver = String(card, "driver", where);
        if (card.contains("driver") && (desc.driver != "deviceControl" || !desc.kind->offersDeviceControl)) {
            Fail(where + ".driver", desc.kind->offersDeviceControl
                                        ? "expected \"deviceControl\""
                                        : "\"" + kind + "\" has no driver to choose");
        }
        if (card.contains("crossbarPins") && !desc.kind->crossbarName) {
            Fail(where + ".crossbarPins", "\"" + kind + "\" has no crossbar");
        }
        desc.crossbarPins = static_cast<int>(Integer(card, "crossbarPins", where, 0, kMinCrossbarPins, kMaxCrossbarPins));
        if (card.contains("interleaved")) {
            if (!desc.kind->interleavedCapture) Fail(where + ".interleaved", "\"" + kind + "\" has no interleaved pin");
            desc.interleaved = Boolean(card, "interleaved", where);
        }
        desc.encoder = Boolean(card, "encoder", where);
        for (const char* key : {"encoderStopsAfterMs", "encoderStopsAfterBytes"})
            if (card.contains(key) && !desc.encoder) Fail(where + "." + key, "the card has no \"encoder\"");
        desc.encoderStopsAfterMs = static_cast<DWORD>(Integer(card, "encoderStopsAfterMs", where, 0, 1, 3600000));
        desc.encoderStopsAfterBytes = static_cast<DWORD>(Integer(card, "encoderStopsAfterBytes", where, 0, 1, INT_MAX));
        if (const std::string fault = String(card, "remoteFault", where); fault == "noKeys") {
            desc.remoteFault = CardSpec::RemoteFault::NoKeys;
        } else if (fault == "stuckKey") {
            desc.remoteFault = CardSpec::RemoteFault::StuckKey;
        } else if (!fault.empty()) {
            Fail(where + ".remoteFault", "expected \"noKeys\" or \"stuckKey\"");
        }
        desc.composite = Input(card, "composite", where);
        desc.svideo = Input(card, "svideo", where);
        if (auto it = card.find("tunerDevice"); it != card.end()) {
            if (!desc.kind->tunerName) Fail(where + ".tunerDevice", "\"" + kind + "\" has no tuner device");
            if (it->is_null()) {
                desc.tunerDevice = std::string();
            } else if (it->is_string() && !it->get<std::string>().empty()) {
                desc.tunerDevice = it->get<std::string>();
            } else {
                Fail(where + ".tunerDevice", "expected the tuner device's name, or null for none");
            }
        }
        if (card.contains("tunerTypeCode") && !HasEm28xxBoxController(kind)) {
            Fail(where + ".tunerTypeCode", "\"" + kind + "\" has no box controller");
        }
        desc.tunerTypeCode = static_cast<int>(Integer(card, "tunerTypeCode", where, 0, 0, 255));
        return desc;
    }

    InputSignal Input(const json& card, const char* key, const std::string& where) const {
        InputSignal signal;
        auto it = card.find(key);
        if (it == card.end()) return signal;
        const std::string at = where + "." + key;
        OnlyKeys(*it, at, {"pattern", "toneHz"});
        signal.pattern = String(*it, "pattern", at);
        bool known = false;
        std::string names;
        for (const char* name : kInputPatterns) {
            known = known || signal.pattern == name;
            names += std::string(names.empty() ? "" : ", ") + "\"" + name + "\"";
        }
        if (!known) Fail(at + ".pattern", "unknown pattern \"" + signal.pattern + "\" (known: " + names + ")");
        signal.toneHz = static_cast<int>(Integer(*it, "toneHz", at, 0, 0, 20000));
        return signal;
    }

    Station OneStation(const json& station, const std::string& where, bool tv) const {
        if (tv)
            OnlyKeys(station, where, {"kHz", "name", "lines"});
        else
            OnlyKeys(station, where, {"kHz", "name"});
        if (!station.contains("kHz")) Fail(where, "\"kHz\" gives the station's frequency");
        Station result;
        result.frequencyKHz = Integer(station, "kHz", where, 0, 1, 3000000);
        result.name = String(station, "name", where);
        if (tv) {
            result.lines = static_cast<int>(Integer(station, "lines", where, 625, 525, 625));
            if (result.lines != 525 && result.lines != 625) Fail(where + ".lines", "expected 525 or 625");
        }
        return result;
    }

    std::vector<Station> Stations(const json& root, const char* key, bool tv) const {
        std::vector<Station> stations;
        auto list = root.find(key);
        if (list == root.end()) return stations;
        if (!list->is_array()) Fail(key, "expected a list");
        for (size_t i = 0; i < list->size(); ++i)
            stations.push_back(OneStation((*list)[i], std::string(key) + "[" + std::to_string(i) + "]", tv));
        return stations;
    }

    std::vector<std::string> Names(const json& list, const std::string& where) const {
        if (!list.is_array()) Fail(where, "expected a list of names");
        std::vector<std::string> names;
        for (size_t i = 0; i < list.size(); ++i) {
            if (!list[i].is_string() || list[i].get<std::string>().empty()) {
                Fail(where + "[" + std::to_string(i) + "]", "expected a name");
            }
            names.push_back(list[i].get<std::string>());
        }
        return names;
    }

    std::vector<SoundCardSpec> SoundCards(const json& root) const {
        auto list = root.find("soundCards");
        if (list == root.end()) return {SoundCardSpec{kDefaultSoundCardName, kDefaultSoundLines}};
        if (!list->is_array()) Fail("soundCards", "expected a list of sound cards");
        std::vector<SoundCardSpec> cards;
        for (size_t i = 0; i < list->size(); ++i) {
            const std::string where = "soundCards[" + std::to_string(i) + "]";
            const json& card = (*list)[i];
            OnlyKeys(card, where, {"name", "lines"});
            SoundCardSpec desc;
            desc.name = String(card, "name", where);
            if (desc.name.empty()) Fail(where, "\"name\" gives the recording device's FriendlyName");
            if (auto lines = card.find("lines"); lines != card.end()) desc.lines = Names(*lines, where + ".lines");
            cards.push_back(std::move(desc));
        }
        return cards;
    }

    std::vector<std::string> Packages(const json& root) const {
        auto list = root.find("packages");
        if (list == root.end()) return std::vector<std::string>(kKnownPackages, kKnownPackages + kKnownPackageCount);
        std::vector<std::string> packages = Names(*list, "packages");
        for (size_t i = 0; i < packages.size(); ++i) {
            if (IsKnownPackage(packages[i])) continue;
            std::string known;
            for (size_t k = 0; k < kKnownPackageCount; ++k) known += std::string(k ? ", " : "") + "\"" + kKnownPackages[k] + "\"";
            Fail("packages[" + std::to_string(i) + "]", "unknown package \"" + packages[i] + "\" (known: " + known + ")");
        }
        return packages;
    }

    BenchSpec Bench(const json& root) const {
        OnlyKeys(root, "top level", {"description", "cards", "stations", "fmStations", "soundCards", "packages"});
        BenchSpec desc;
        desc.description = String(root, "description", "top level");
        auto cards = root.find("cards");
        if (cards == root.end() || !cards->is_array()) Fail("cards", "expected a list of cards");
        std::map<const CardKind*, int> nextInstance;
        int em28xxBoxes = 0;
        for (size_t i = 0; i < cards->size(); ++i) {
            const std::string where = "cards[" + std::to_string(i) + "]";
            desc.cards.push_back(Card((*cards)[i], where, nextInstance));
            // The boxes' access opens the first Empia device it finds: a second box could not
            // be told apart.
            if (IsEm28xxBox(desc.cards.back().kind->captureName) && ++em28xxBoxes > 1) {
                Fail(where + ".kind", "a bench holds one EM28xx box");
            }
        }
        desc.stations = Stations(root, "stations", true);
        desc.fmStations = Stations(root, "fmStations", false);
        desc.soundCards = SoundCards(root);
        desc.packages = Packages(root);
        return desc;
    }

private:
    std::string m_origin;
    std::string m_baseDir;
};

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<BYTE>& bytes, std::string& why, size_t limit) {
    // Opened without waiting (a FIFO would hold the open until a writer came), then asked what
    // it is: only a plain file is read, so a device is never read without end.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        why = std::strerror(errno);
        return false;
    }
    struct stat st {};
    const bool known = fstat(fd, &st) == 0;
    if (!known || !S_ISREG(st.st_mode)) {
        why = known && S_ISDIR(st.st_mode) ? "it is a folder, not a file" : "it is not a file";
        close(fd);
        return false;
    }
    const auto TooLarge = [&](uint64_t held) {
        why = "it holds " + std::to_string(held) + " bytes, more than the " + std::to_string(limit) + " it may";
        close(fd);
        return false;
    };
    if (uint64_t(st.st_size) > limit) return TooLarge(uint64_t(st.st_size));
    bytes.clear();
    BYTE chunk[4096];
    for (;;) {
        // A file that grows while it is read is not read past its limit either.
        if (bytes.size() > limit) return TooLarge(bytes.size());
        const ssize_t got = read(fd, chunk, sizeof(chunk));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            why = std::strerror(errno);
            close(fd);
            return false;
        }
        if (got == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    close(fd);
    return true;
}

BenchSpec ParseBench(const std::string& text, const std::string& baseDir, const std::string& origin) {
    json root;
    try {
        root = json::parse(text, nullptr, true, true);
    } catch (const json::parse_error& error) {
        throw BenchError(origin + ": not valid JSON: " + error.what());
    }
    return Reader(origin, baseDir).Bench(root);
}

}  // namespace hwsim
