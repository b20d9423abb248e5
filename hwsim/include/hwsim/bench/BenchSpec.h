// A bench file as read: the cards plugged into the simulated PC and what is on air.
//
// The file is JSON (comments allowed) in this shape:
//   {
//     "description": "free text",
//     "cards": [
//       { "kind": "713x BDA Analog Capture",    // the capture filter's FriendlyName
//         "instance": 0,                        // optional: next of its kind
//         "tuner": 95,                          // optional: TUNER_MODEL fitted, 0 = none
//         "eeprom": "blank",                    // or { "file": "image.bin" } (relative to the
//                                               // bench file), or { "hex": "54 4B ..." },
//                                               // with optional "writeProtect": true and
//                                               // "writeCycleMs": 5; short images are padded
//                                               // with 0xFF
//         "remote": "name of the remote",       // optional
//         "keys": [ 12, 13 ],                   // optional: remote keys pressed at plug-in
//         "keysRepeatMs": 1000,                 // optional: the keys are pressed again this
//                                               // long after the last one was taken, over and
//                                               // over (nobody at the bench presses them)
//         "faults": [ { "chip": "eeprom", "kind": "nack", "transfer": 3, "byte": 0,
//                       "count": 1 },           // kind: nack, stuck or absent; count -1: always
//                     { "chip": "tuner", "kind": "absent" } ],
//         "driver": "deviceControl",            // optional, on kinds that offer it: the
//                                               // device-control driver instead of the kind's
//         "crossbarPins": 6,                    // optional, on kinds with a crossbar: its pin
//                                               // count (5 to 9; default the kind's)
//         "interleaved": false,                 // optional, on kinds whose capture filter has
//                                               // an interleaved capture pin: without it
//         "encoder": true,                      // optional: the board carries the MPEG encoder
//         "encoderStopsAfterMs": 2000,          // optional, with "encoder": the encoder stops
//         "encoderStopsAfterBytes": 65536,      // coding this far into every run (stream time
//                                               // of the pictures coded, bytes of the stream a
//                                               // file it feeds receives), silently, as a hung
//                                               // chip does: nothing more, at the stop neither
//         "remoteFault": "noKeys",              // optional: the remote receiver hears no key
//                                               // ("noKeys"), or every key as the first one
//                                               // it heard ("stuckKey")
//         "composite": { "pattern": "colorBars", "toneHz": 1000 },  // optional: what is plugged
//         "svideo": { "pattern": "grid", "toneHz": 0 },  // into the composite and S-video
//                                               // inputs (patterns: kInputPatterns; toneHz 0:
//                                               // silence); without the key: nothing
//         "tunerDevice": "Yelvin Tuner (1)",    // optional, on kinds with a tuner device: its
//                                               // FriendlyName instead of the kind's; null:
//                                               // the card has no tuner device
//         "tunerTypeCode": 6 }                  // optional, on the EM28xx boxes with a box
//                                               // controller: its tuner type code (0 to 255;
//                                               // default 0)
//     ],
//     "stations": [ { "kHz": 49750, "name": "E2" } ],  // optional "lines": 525 (625 when absent)
//     "fmStations": [ { "kHz": 100000, "name": "FM 100" } ],  // optional
//     "soundCards": [ { "name": "Onboard Sound Card",       // optional: the recording
//                       "lines": [ "Line In", "CD Audio" ] } ],  // device and its source
//                                               // lines; without the key one card named
//                                               // kDefaultSoundCardName with kDefaultSoundLines,
//                                               // [] for none
//     "packages": [ "vorlane", "mainconcept" ]  // optional: the makers' packages installed
//                                               // ("vorlane", "mainconcept", "ligos",
//                                               // "intervideo"); without the key all of them
//   }
// A bench holds at most one EM28xx box. Anything else in the file is refused with a BenchError that names the place.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "hwsim/bench/CardKind.h"
#include "hwsim/bench/RfEnvironment.h"
#include "platform/wintypes.h"

namespace hwsim {

class BenchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole of a regular file of at most `limit` bytes; FALSE with why not ("it is a folder,
// not a file", "it holds N bytes, more than the L it may", the system's error text) when it is
// not one, is larger (told before a byte is read) or cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<BYTE>& bytes, std::string& why, size_t limit);

struct FaultSpec {
    enum class Kind { Nack, Stuck, Absent };
    std::string chip;  // the chip's role on the card: "eeprom", "tuner"
    Kind kind = Kind::Nack;
    int transfer = 0;
    int byte = 0;
    int count = 1;
};

// What a source plugged into a composite or S-video input sends: a test pattern and a tone.
struct InputSignal {
    std::string pattern;  // one of kInputPatterns; empty: nothing plugged
    int toneHz = 0;       // 0: silence

    bool Plugged() const { return !pattern.empty(); }
};

// The test patterns a bench can plug into an input.
inline constexpr const char* kInputPatterns[] = {"colorBars", "grid", "ramp", "checkerboard"};

struct CardSpec {
    const CardKind* kind = nullptr;
    int instance = 0;
    int tunerModel = 0;
    std::vector<BYTE> eeprom;  // 256 bytes
    bool writeProtect = false;
    DWORD writeCycleMs = 0;
    std::string remote;  // empty: none
    std::vector<BYTE> keys;  // remote keys pressed when the card is plugged, in order
    DWORD keysRepeatMs = 0;  // 0: the keys are pressed once
    std::vector<FaultSpec> faults;
    std::string driver;  // empty: the kind's own driver; "deviceControl"
    int crossbarPins = 0;     // 0: the kind's
    bool interleaved = true;  // false: no interleaved capture pin
    bool encoder = false;  // the board carries the MPEG encoder
    DWORD encoderStopsAfterMs = 0;     // 0: the encoder never stops on its own
    DWORD encoderStopsAfterBytes = 0;  // 0: the encoder never stops on its own
    enum class RemoteFault { None, NoKeys, StuckKey };
    RemoteFault remoteFault = RemoteFault::None;
    InputSignal composite;
    InputSignal svideo;
    // The tuner device's FriendlyName; nullopt: the kind's; empty: no tuner device.
    std::optional<std::string> tunerDevice;
    // The EM28xx box controller's tuner type code.
    int tunerTypeCode = 0;
};

// A sound card: its recording device's FriendlyName and the source lines of its mixer.
struct SoundCardSpec {
    std::string name;
    std::vector<std::string> lines;
};

// The sound card a bench without "soundCards" has.
inline constexpr const char* kDefaultSoundCardName = "Onboard Sound Card";
inline const std::vector<std::string> kDefaultSoundLines = {"Line In", "Microphone", "CD Audio"};

struct BenchSpec {
    std::string description;
    std::vector<CardSpec> cards;
    std::vector<Station> stations;
    std::vector<Station> fmStations;
    std::vector<SoundCardSpec> soundCards;
    std::vector<std::string> packages;
};

// Reads a bench file's text; `baseDir` is where relative EEPROM image paths start, `origin`
// names the file in error messages. Throws BenchError.
BenchSpec ParseBench(const std::string& text, const std::string& baseDir, const std::string& origin);

}  // namespace hwsim
