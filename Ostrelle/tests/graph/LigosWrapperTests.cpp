// The Ligos encoder and transcoder wrappers over the simulated PC's installed Ligos filters: the
// settings words each preset writes, the record and extra words sent, the output file, and the
// transcoder's RIzizirar calls.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

#include "graph/LigosFilters.h"
#include "hwsim/installed/LigosFilters.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

using LigosWrappers = SystemBench;

DWORD FloatBits(float value) {
    DWORD bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

using Preset = BOOL (*)(LIGOS_SETTINGS*, int);
const Preset kPresets[] = {&CLigosEncoderFilter::SetPreset1, &CLigosEncoderFilter::SetPreset2,
                           &CLigosEncoderFilter::SetPreset3, &CLigosEncoderFilter::SetPreset4,
                           &CLigosEncoderFilter::SetPreset5, &CLigosEncoderFilter::SetPreset6,
                           &CLigosEncoderFilter::SetPreset7};

// The words a record holds: the table's, and 0 elsewhere.
void ExpectWords(const LIGOS_SETTINGS& s, DWORD w0, DWORD w2, DWORD w4, DWORD w13, DWORD w31, DWORD w32, DWORD w56,
                 DWORD w9) {
    for (int i = 0; i < 57; ++i) {
        DWORD expected = 0;
        switch (i) {
            case 0: expected = w0; break;
            case 2: expected = w2; break;
            case 4: expected = w4; break;
            case 9: expected = w9; break;
            case 13: expected = w13; break;
            case 22: expected = 999999999; break;
            case 31: expected = w31; break;
            case 32: expected = w32; break;
            case 39: expected = FloatBits(30.0f); break;
            case 56: expected = w56; break;
            default: break;
        }
        EXPECT_EQ(s.dwWord[i], expected) << "word " << i;
    }
}

}  // namespace

TEST_F(LigosWrappers, PresetsWriteExactlyTheirTableWords) {
    LIGOS_SETTINGS s;
    std::memset(&s, 0xAB, sizeof(s));
    ASSERT_TRUE(CLigosEncoderFilter::SetDefaultSettings(&s));
    ExpectWords(s, 1, 6, 2520000, 44100, 720, 512, 1, 0);

    std::memset(&s, 0xAB, sizeof(s));
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset1(&s, 4));
    ExpectWords(s, 12, 1, 4000000, 44100, 720, 480, 2, 4);
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset2(&s, 1));
    ExpectWords(s, 15, 0, 2000000, 44100, 720, 576, 2, 1);
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset3(&s, 1));
    ExpectWords(s, 12, 2, 1120000, 44100, 720, 480, 0, 1);
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset3(&s, 2));
    ExpectWords(s, 15, 2, 1120000, 44100, 720, 480, 0, 2);
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset4(&s, 1));
    ExpectWords(s, 12, 4, 220000, 44100, 720, 480, 2, 1);
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset4(&s, 0));
    ExpectWords(s, 15, 4, 220000, 44100, 720, 480, 2, 0);
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset5(&s, 3));
    ExpectWords(s, 15, 7, 3000000, 44100, 0, 0, 2, 3);
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset6(&s, 3));
    ExpectWords(s, 6, 3, 4500000, 48000, 720, 480, 2, 3);
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset7(&s, 3));
    ExpectWords(s, 15, 3, 7200000, 48000, 720, 480, 2, 3);

    EXPECT_EQ(std::size(kLigosPresets), std::size(kPresets) + 1);
    for (Preset preset : kPresets) EXPECT_FALSE(preset(nullptr, 1));
    EXPECT_FALSE(CLigosEncoderFilter::SetDefaultSettings(nullptr));
}

TEST_F(LigosWrappers, SettingsGoWithTheirTwoExtraWordsAndReadBack) {
    CRootGraph graph;
    auto* encoder = AddOf<CLigosEncoderFilter>(graph, CLSID_LigosEncoder);
    ASSERT_NE(encoder, nullptr);
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_LigosEncoder);
    LIGOS_SETTINGS s;
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset6(&s, 2));
    EXPECT_EQ(encoder->SetSettings(&s), S_OK);
    auto calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].slot, 3);
    EXPECT_EQ(calls[0].records[0], hwsim::FilterBehaviour::Bytes(s));
    EXPECT_EQ(calls[0].records[1], hwsim::FilterBehaviour::Bytes(DWORD(0)));
    EXPECT_EQ(calls[0].records[2], hwsim::FilterBehaviour::Bytes(DWORD(2)));

    LIGOS_SETTINGS read = {};
    EXPECT_EQ(encoder->GetSettings(&read), S_OK);
    EXPECT_EQ(std::memcmp(&read, &s, sizeof(s)), 0);

    // Get, set with null extras, get: the extras come from the last get.
    behaviour.ClearCalls();
    behaviour.Store(hwsim::LigosSettingsStore::kExtra1Param, DWORD(7));
    int first = -1, second = -1;
    EXPECT_EQ(encoder->GetExtraValues(&first, &second), S_OK);
    EXPECT_EQ(first, 7);
    EXPECT_EQ(second, 2);
    calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].slot, 4);
    EXPECT_EQ(calls[1].slot, 3);
    EXPECT_EQ(calls[1].args[1], 0u);
    EXPECT_EQ(calls[1].args[2], 0u);
    EXPECT_EQ(calls[2].slot, 4);
    behaviour.FailSlot("ILigosEncoder", 4, E_FAIL);
    first = second = -1;
    EXPECT_EQ(encoder->GetExtraValues(&first, &second), E_FAIL);
    EXPECT_EQ(first, -1);

    LigosTriple triple = {{1, 2, 3}};
    EXPECT_EQ(encoder->Method7(&triple), S_OK);
    EXPECT_EQ(behaviour.Calls().back().args, (std::vector<ULONGLONG>{1, 2, 3}));
    behaviour.FailSlot("ILigosEncoder", 5, E_INVALIDARG);
    EXPECT_EQ(encoder->Method5(1, 2), E_INVALIDARG);
}

TEST_F(LigosWrappers, WithoutItsInterfaceTheEncoderAnswersEPointer) {
    Behaviour(CLSID_LigosEncoder).RefuseInterface("ILigosEncoder");
    CRootGraph graph;
    EXPECT_EQ(graph.AddFilter(CLSID_LigosEncoder, "Encoder"), nullptr);
    CLigosEncoderFilter encoder(&graph, CLSID_LigosEncoder);
    EXPECT_FALSE(encoder.SetUp());
    LIGOS_SETTINGS s = {};
    EXPECT_EQ(encoder.SetSettings(&s), E_POINTER);
    EXPECT_EQ(encoder.Method6(1), E_POINTER);
    EXPECT_FALSE(encoder.SetOutputFile("a.mpg"));
}

// A name too long for the caller's buffer answers FALSE with an empty buffer.
TEST_F(LigosWrappers, OutputFileIsSetAndReadWithinTheCallersBuffer) {
    CRootGraph graph;
    auto* encoder = AddOf<CLigosEncoderFilter>(graph, CLSID_LigosEncoder);
    ASSERT_NE(encoder, nullptr);
    EXPECT_TRUE(encoder->SetOutputFile("C:\\Record\\ligos.mpg"));
    char name[MAX_PATH] = "stale";
    EXPECT_TRUE(encoder->GetOutputFile(name));
    EXPECT_STREQ(name, "C:\\Record\\ligos.mpg");
    char small[8] = "stale";
    EXPECT_FALSE(encoder->GetOutputFile(small, sizeof(small)));
    EXPECT_STREQ(small, "");
}

TEST_F(LigosWrappers, TranscoderSendsANullReservedArgumentAndReachesRIzizirar) {
    CRootGraph graph;
    auto* transcoder = AddOf<CLigosTranscodeFilter>(graph, CLSID_LigosTranscoder);
    ASSERT_NE(transcoder, nullptr);
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_LigosTranscoder);
    LIGOS_SETTINGS s;
    ASSERT_TRUE(CLigosEncoderFilter::SetPreset2(&s, 1));
    EXPECT_EQ(transcoder->SetSettings(&s), S_OK);
    LIGOS_SETTINGS read = {};
    EXPECT_EQ(transcoder->GetSettings(&read), S_OK);
    EXPECT_EQ(std::memcmp(&read, &s, sizeof(s)), 0);
    EXPECT_TRUE(transcoder->Method6(9));
    EXPECT_TRUE(transcoder->SetOutputFile("out.mpg"));
    EXPECT_EQ(transcoder->NotImplemented(), E_NOTIMPL);

    behaviour.ClearCalls();
    EXPECT_TRUE(transcoder->SetRIzizirar4(0x55));
    behaviour.Store(hwsim::RIzizirarControl::kFirstParam, LONG(-2));
    behaviour.Store(hwsim::RIzizirarControl::kSecondParam, LONG(40));
    LONGLONG a = 0, b = 0;
    EXPECT_TRUE(transcoder->GetRIzizirar3(&a, &b));
    EXPECT_EQ(a, -2);
    EXPECT_EQ(b, 40);
    auto calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].iface, "RIzizirar");
    EXPECT_EQ(calls[0].slot, 4);
    EXPECT_EQ(calls[0].args[0], 0x55u);

    behaviour.RefuseInterface("RIzizirar");
    platform::ClearTrace();
    EXPECT_FALSE(transcoder->SetRIzizirar4(1));
    EXPECT_TRUE(platform::TraceContains("TransCoderFilter doesn't support interface RIzizirar"));
    platform::ClearTrace();
    a = b = 5;
    EXPECT_FALSE(transcoder->GetRIzizirar3(&a, &b));
    EXPECT_EQ(a, 5);
}
