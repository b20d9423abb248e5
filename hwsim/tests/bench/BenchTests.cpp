// Loading bench files: the default bench, custom benches and the faults a bench file can have.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/BenchFixture.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/chips/PllTuner.h"

namespace hwsim {
namespace {

class BenchTest : public BenchFixture {};

TEST_F(BenchTest, DefaultBenchPlugsTwoKeshCardsWithBlankEepromsAndTunerModel95) {
    const std::string path = Bench::DefaultPath();
    EXPECT_NE(std::string::npos, path.find("default.json"));
    auto bench = Bench::Load(path);
    ASSERT_EQ(2u, bench->Cards().size());
    for (int i = 0; i < 2; ++i) {
        Card& card = *bench->Cards()[i];
        EXPECT_STREQ("713x BDA Analog Capture", card.FriendlyName());
        EXPECT_STREQ("713x BDA Analog Xbar", card.Kind().crossbarName);
        EXPECT_EQ(i, card.Instance());
        EXPECT_EQ(95, card.TunerModel());
        EXPECT_EQ(std::vector<BYTE>(256, 0xFF), card.Eeprom().Contents());
        ASSERT_NE(nullptr, card.Chip("tuner"));
        EXPECT_EQ(0x61, card.Chip("tuner")->Address());
        EXPECT_TRUE(card.IsPlugged());
    }
    EXPECT_EQ(bench->Cards()[1].get(), bench->FindCard("713x BDA Analog Capture", 1));
    EXPECT_EQ(nullptr, bench->FindCard("713x BDA Analog Capture", 2));
    EXPECT_FALSE(bench->Rf().Stations().empty());
}

TEST_F(BenchTest, TestStationBenchPlugsOneKeshCardWithEncoderRemoteInputsAndSearchPageStations) {
    auto bench = Bench::Load((std::filesystem::path(Bench::DefaultPath()).parent_path() / "test-station.json").string());
    ASSERT_EQ(1u, bench->Cards().size());
    const Card& card = *bench->Cards()[0];
    EXPECT_STREQ("713x BDA Analog Capture", card.FriendlyName());
    EXPECT_EQ(95, card.TunerModel());
    EXPECT_TRUE(card.HasEncoder());
    EXPECT_FALSE(card.Remote().empty());
    EXPECT_EQ("colorBars", card.Composite().pattern);
    EXPECT_EQ(1000, card.Composite().toneHz);
    EXPECT_TRUE(card.SVideo().Plugged());
    // The TV search page's frequencies (kHz); some carry a station, some not.
    const long search[] = {479250, 128250, 144250, 160250, 168250, 176250, 184250, 192250, 208250,
                           216250, 224250, 623250, 671250, 679250, 695250, 703250, 735250};
    int onAir = 0;
    for (long kHz : search) onAir += bench->Rf().StationNear(kHz, 0).has_value();
    EXPECT_EQ(int(bench->Rf().Stations().size()), onAir);
    EXPECT_GE(onAir, 3);
    EXPECT_LT(onAir, 17);
}

TEST_F(BenchTest, PelvatroBenchSelectsAnotherBenchFile) {
    const std::string path = WriteFile("mine.json", R"({"cards": []})");
    setenv("PELVATRO_BENCH", path.c_str(), 1);
    EXPECT_EQ(path, Bench::DefaultPath());
    EXPECT_TRUE(Bench::Load(Bench::DefaultPath())->Cards().empty());
    setenv("PELVATRO_BENCH", (dir / "missing.json").c_str(), 1);
    EXPECT_THROW(Bench::DefaultPath(), BenchError);
}

TEST_F(BenchTest, CustomBenchGivesKindsImagesFaultsAndStations) {
    std::string image(256, '\0');
    image[0x41] = 0x5A;
    WriteFile("kesh.bin", image);
    const std::string path = WriteFile("custom.json", R"({
        // a person's bench
        "description": "mixed",
        "cards": [
          { "kind": "713x_4 TV Card Capture", "tuner": 5,
            "eeprom": { "hex": "50 5f 0A", "writeProtect": true }, "remote": "small",
            "faults": [ { "chip": "tuner", "kind": "absent" } ] },
          { "kind": "713x BDA Analog Capture", "instance": 3, "eeprom": { "file": "kesh.bin" },
            "faults": [ { "chip": "eeprom", "kind": "nack", "transfer": 2, "count": -1 } ] },
          { "kind": "713x_4 TV Card Capture" }
        ],
        "stations": [ { "kHz": 55250, "name": "A2" }, { "kHz": 61250 } ]
    })");
    auto bench = Bench::Load(path);
    EXPECT_EQ("mixed", bench->Description());
    ASSERT_EQ(3u, bench->Cards().size());

    Card& qel = *bench->Cards()[0];
    EXPECT_STREQ("713x_4 TV Card Crossbar", qel.Kind().crossbarName);
    EXPECT_EQ(0, qel.Instance());
    EXPECT_EQ("small", qel.Remote());
    EXPECT_EQ(0x50, qel.Eeprom().Peek(0));
    EXPECT_EQ(0x5F, qel.Eeprom().Peek(1));
    EXPECT_EQ(0x0A, qel.Eeprom().Peek(2));
    EXPECT_EQ(0xFF, qel.Eeprom().Peek(3));
    EXPECT_TRUE(qel.Eeprom().WriteProtect());
    ASSERT_NE(nullptr, qel.Chip("tuner"));
    EXPECT_EQ(0x60, qel.Chip("tuner")->Address());
    BYTE status = 0;
    EXPECT_EQ(I2CResult::Nack, qel.Bus().ReadRaw(0xC1, &status, 1));

    Card& kesh = *bench->Cards()[1];
    EXPECT_EQ(3, kesh.Instance());
    EXPECT_EQ(0x5A, kesh.Eeprom().Peek(0x41));
    EXPECT_EQ(0x00, kesh.Eeprom().Peek(0x40));
    EXPECT_EQ(nullptr, kesh.Chip("tuner"));
    BYTE value = 0;
    EXPECT_EQ(I2CResult::Ack, kesh.Bus().ReadSub(0xA0, 0x41, &value, 1));
    EXPECT_EQ(I2CResult::Nack, kesh.Bus().ReadSub(0xA0, 0x41, &value, 1));

    EXPECT_EQ(1, bench->Cards()[2]->Instance());
    const auto stations = bench->Rf().Stations();
    ASSERT_EQ(2u, stations.size());
    EXPECT_EQ(55250, stations[0].frequencyKHz);
    EXPECT_EQ("A2", stations[0].name);
    EXPECT_EQ(61250, stations[1].frequencyKHz);
}

TEST_F(BenchTest, StationsCarryTheirLineCountAndFmStationsAreAListOfTheirOwn) {
    auto bench = Bench::FromText(R"({"cards": [],
        "stations": [{"kHz": 55250, "lines": 525}, {"kHz": 471250}],
        "fmStations": [{"kHz": 100000, "name": "FM 100"}]})");
    const auto stations = bench->Rf().Stations();
    ASSERT_EQ(2u, stations.size());
    EXPECT_EQ(525, stations[0].lines);
    EXPECT_EQ(625, stations[1].lines);
    const auto fm = bench->Rf().FmStations();
    ASSERT_EQ(1u, fm.size());
    EXPECT_EQ(100000, fm[0].frequencyKHz);
    EXPECT_EQ("FM 100", fm[0].name);
    // Radio and television do not meet.
    EXPECT_FALSE(bench->Rf().StationNear(100000, 500));
    EXPECT_FALSE(bench->Rf().FmStationNear(55250, 500));
    EXPECT_TRUE(Bench::FromText(R"({"cards": []})")->Rf().FmStations().empty());
}

TEST_F(BenchTest, MalformedJsonIsRefusedNamingFileAndLine) {
    const std::string path = WriteFile("broken.json", "{\n  \"cards\": [\n    { \"kind\": \"713x BDA Analog Capture\" \n  ]\n}\n");
    try {
        Bench::Load(path);
        FAIL() << "a broken bench was loaded";
    } catch (const BenchError& error) {
        const std::string text = error.what();
        EXPECT_NE(std::string::npos, text.find(path)) << text;
        EXPECT_NE(std::string::npos, text.find("not valid JSON")) << text;
        EXPECT_NE(std::string::npos, text.find("line 4")) << text;
    }
    EXPECT_THROW(Bench::Load((dir / "absent.json").string()), BenchError);
}

TEST_F(BenchTest, RefusesWhatABenchCannotMean) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {R"([])", "top level: expected an object"},
        {R"({})", "cards: expected a list of cards"},
        {R"({"cards": [], "extra": 1})", "unknown key \"extra\""},
        {R"({"cards": [{"kind": "Nameless Card"}]})", "unknown card kind \"Nameless Card\" (known: \"713x BDA Analog Capture\""},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "tunr": 95}]})", "cards[0]: unknown key \"tunr\""},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": "95"}]})", "cards[0].tuner: expected an integer"},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "tuner": 300}]})", "cards[0].tuner: must lie in 0 to 255"},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "instance": 1},
                       {"kind": "713x BDA Analog Capture", "instance": 1}]})", "cards[1].instance: instance 1"},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "eeprom": "full"}]})", "cards[0].eeprom: expected \"blank\""},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "eeprom": {"hex": "0"}}]})", "cards[0].eeprom.hex: odd number"},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "eeprom": {"hex": "zz"}}]})", "not a hex digit: 'z'"},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "eeprom": {"file": "nowhere.bin"}}]})", "cannot read"},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "eeprom": {"file": "big.bin"}}]})", "image of 300 bytes is larger"},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "faults": [{"chip": "eeprom", "kind": "melt"}]}]})",
         "cards[0].faults[0].kind: expected \"nack\""},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "faults": [{"chip": "tuner", "kind": "absent"}]}]})",
         "fault names chip \"tuner\", which the card does not carry"},
        {R"({"cards": [], "stations": [{"name": "x"}]})", "stations[0]: \"kHz\" gives"},
        {R"({"cards": [], "stations": [{"kHz": 49750, "lines": 600}]})", "stations[0].lines: expected 525 or 625"},
        {R"({"cards": [], "fmStations": [{"kHz": 100000, "lines": 625}]})", "fmStations[0]: unknown key \"lines\""},
        {R"({"cards": [], "fmStations": {}})", "fmStations: expected a list"},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "encoder": 1}]})", "cards[0].encoder: expected true or false"},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "composite": {"pattern": "snow"}}]})",
         "cards[0].composite.pattern: unknown pattern \"snow\" (known: \"colorBars\""},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "svideo": {"pattern": "grid", "toneHz": -5}}]})",
         "cards[0].svideo.toneHz: must lie in 0 to 20000"},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "svideo": {"pattern": "grid", "tone": 5}}]})",
         "cards[0].svideo: unknown key \"tone\""},
        {R"({"cards": [{"kind": "713x BDA Analog Capture", "composite": "colorBars"}]})",
         "cards[0].composite: expected an object"},
    };
    WriteFile("big.bin", std::string(300, 'x'));
    for (const Case& c : cases) {
        try {
            Bench::FromText(c.text, dir.string(), "test.json");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const BenchError& error) {
            EXPECT_NE(std::string::npos, std::string(error.what()).find(c.message)) << error.what();
        }
    }
}

}  // namespace
}  // namespace hwsim
