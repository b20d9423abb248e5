// The device-control command vocabulary that no slot sends: every wrapper of the command table
// against the simulated driver's log (its code and block, each parameter at its place, the
// answers it copies back), and a failed send that copies nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "access/KsDeviceControlAccess.h"
#include "hwsim/drivers/KsDeviceControlDriver.h"
#include "platform/runtime.h"
#include "support/AccessFixture.h"

namespace {

int g_card;  // stands for the owning card filter

class KsDeviceControlCommandTest : public BoardAccessFixture<CKsDeviceControlAccess> {
protected:
    void SetUp() override { Bind<hwsim::KsDeviceControlDriver>(false, &g_card); }
};

// A DWORD as its four bytes in the block.
std::vector<BYTE> Le(DWORD value)
{
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

struct Place {
    size_t at;
    std::vector<BYTE> bytes;
};

// What a wrapper answered into its out-parameters.
struct Answers {
    DWORD word = 0xEEEEEEEE;
    DWORD word2 = 0xEEEEEEEE;
    BYTE byte = 0xEE;
    BYTE data[64];
    Answers() { std::memset(data, 0xEE, sizeof(data)); }
};

struct Row {
    const char* what;
    DWORD code;
    DWORD id;  // 4: the command block, 2: the large block
    std::vector<Place> places;
    std::function<HRESULT(CKsDeviceControlAccess&, Answers&)> call;
    bool answersWord;
    std::optional<BYTE> byte;
    bool answersData;
    std::optional<DWORD> word2;
};

TEST_F(KsDeviceControlCommandTest, EveryWrapperSendsItsCodeAndPlacesAndCopiesItsAnswers)
{
    using A = CKsDeviceControlAccess;
    const DWORD p1 = 0x11223344, p2 = 0x55667788, p3 = 0x99AABBCC, p4 = 0x0D0E0F10;
    const std::vector<Row> rows = {
        {"0x11000001", 0x11000001, 4, {}, [](A& a, Answers& o) { return a.Query11000001(&o.word); }, true},
        {"0x11000002", 0x11000002, 4, {{32, Le(p1)}},
         [&](A& a, Answers& o) { return a.QueryDword11000002(p1, &o.word); }, true},
        {"0x11000003", 0x11000003, 4, {{32, Le(p1)}},
         [&](A& a, Answers& o) { return a.QueryDword11000003(p1, &o.word); }, true},
        {"0x11000004", 0x11000004, 4, {{32, Le(p1)}}, [&](A& a, Answers&) { return a.SetDword11000004(p1); }, false},
        {"0x11000005", 0x11000005, 4, {}, [](A& a, Answers& o) { return a.Query11000005(&o.word); }, true},
        {"0x11000006", 0x11000006, 4, {{48, {0x48}}},
         [](A& a, Answers& o) { return a.QueryByte11000006(0x48, &o.word, &o.byte); }, true, BYTE{0x66}},
        {"0x11000007", 0x11000007, 4, {{48, {0x48, 0x49}}, {116, Le(40)}},
         [](A& a, Answers& o) { return a.ReadData11000007(0x48, 0x49, 40, &o.word, o.data); }, true, {}, true},
        {"0x11000008", 0x11000008, 4, {{48, {0x48, 0x00, 0x50}}},
         [](A& a, Answers& o) { return a.QueryBytes11000008(0x48, 0x50, &o.word); }, true},
        {"0x11000009", 0x11000009, 4, {{48, {0x48, 0x00, 0x50, 0x51}}},
         [](A& a, Answers& o) { return a.QueryBytes11000009(0x48, 0x50, 0x51, &o.word); }, true},
        {"0x1100000A", 0x1100000A, 4, {{48, {0x48, 0x49}}, {116, Le(64)}},
         [](A& a, Answers& o) { return a.ReadData1100000A(0x48, 0x49, 64, &o.word, o.data); }, true, {}, true},
        {"0x1100000F", 0x1100000F, 4, {}, [](A& a, Answers& o) { return a.Query1100000F(&o.word); }, true},
        {"0x11000011", 0x11000011, 4, {{40, Le(p1)}},
         [&](A& a, Answers& o) { return a.QueryDword11000011(p1, &o.word); }, true},
        {"0x11000012", 0x11000012, 4, {}, [](A& a, Answers& o) { return a.Query11000012(&o.word); }, true},
        {"0x11000012 at 36", 0x11000012, 4, {{36, Le(p1)}},
         [&](A& a, Answers& o) { return a.Query11000012At36(p1, &o.word); }, true},
        {"0x11000012 at 44", 0x11000012, 4, {{44, Le(p1)}},
         [&](A& a, Answers& o) { return a.Query11000012At44(p1, &o.word); }, true},
        {"0x11000012 at 36 and 44", 0x11000012, 4, {{36, Le(p1)}, {44, Le(p2)}},
         [&](A& a, Answers& o) { return a.Query11000012At36And44(p1, p2, &o.word); }, true},
        {"0x11000016", 0x11000016, 4, {}, [](A& a, Answers& o) { return a.Query11000016(&o.word); }, true},
        {"0x11000017", 0x11000017, 4, {}, [](A& a, Answers& o) { return a.Query11000017(&o.word); }, true},
        {"large 1", 1, 2, {{32, Le(p1)}}, [&](A& a, Answers&) { return a.LargeSet1(p1); }, false},
        {"large 3", 3, 2, {{32, Le(p1)}}, [&](A& a, Answers&) { return a.LargeSet3(p1); }, false},
        {"large 4", 4, 2, {{32, Le(p1)}}, [&](A& a, Answers&) { return a.LargeSet4(p1); }, false},
        {"large 5", 5, 2, {{32, Le(p1)}}, [&](A& a, Answers&) { return a.LargeSet5(p1); }, false},
        {"large 6", 6, 2, {{40, Le(p1)}, {32, Le(p2)}},
         [&](A& a, Answers& o) { return a.LargeQuery6(p1, p2, &o.word); }, true},
        {"large 7", 7, 2, {{44, Le(p1)}}, [&](A& a, Answers&) { return a.LargeSet7(p1); }, false},
        {"large 8", 8, 2, {{40, Le(p1)}, {32, Le(p2)}},
         [&](A& a, Answers& o) { return a.LargeQuery8(p1, p2, &o.word); }, true},
        {"large 9", 9, 2, {{44, Le(p1)}}, [&](A& a, Answers& o) { return a.LargeQuery9(p1, &o.word); }, true},
        {"large 11", 11, 2, {{56, Le(p1)}, {60, Le(p2)}, {44, Le(p3)}, {52, Le(p4)}},
         [&](A& a, Answers& o) { return a.LargeQuery11(p1, p2, p3, p4, &o.word); }, true},
        {"0x10000001", 0x10000001, 2, {}, [](A& a, Answers& o) { return a.LargeQuery10000001(&o.word); }, true},
        {"0x10000003", 0x10000003, 2, {}, [](A& a, Answers& o) { return a.LargeQuery10000003(&o.word); }, true},
        {"0x10000004", 0x10000004, 2, {}, [](A& a, Answers& o) { return a.LargeQuery10000004(&o.word); }, true},
        {"0x10000005", 0x10000005, 2, {}, [](A& a, Answers& o) { return a.LargeQuery10000005(&o.word); }, true},
        {"0x10000006", 0x10000006, 2, {{40, Le(p1)}},
         [&](A& a, Answers& o) { return a.LargeQuery10000006(p1, &o.word); }, true},
        {"0x10000007", 0x10000007, 2, {}, [](A& a, Answers& o) { return a.LargeQuery10000007(&o.word); }, true},
        {"0x10000008", 0x10000008, 2, {{40, Le(p1)}},
         [&](A& a, Answers& o) { return a.LargeQuery10000008(p1, &o.word); }, true},
        {"0x10000009", 0x10000009, 2, {}, [](A& a, Answers& o) { return a.LargeQuery10000009(&o.word); }, true},
        {"0x1000000B", 0x1000000B, 2, {{40, Le(p1)}, {52, Le(p2)}},
         [&](A& a, Answers& o) { return a.LargeQuery1000000B(p1, p2, &o.word, &o.word2); }, true, {}, false,
         DWORD{0xEFFFFFF4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Clear(Driver());
        Answers answers;
        ASSERT_EQ(S_OK, row.call(access, answers));
        const std::vector<hwsim::WireRequest> requests = Driver().Log().Requests();
        ASSERT_EQ(2u, requests.size());
        const hwsim::WireRequest& set = requests[0];
        EXPECT_EQ(hwsim::WireRequest::Verb::Set, set.verb);
        EXPECT_EQ(hwsim::WireRequest::Verb::Get, requests[1].verb);
        EXPECT_EQ(row.id, set.id);
        EXPECT_EQ(Le(row.code), std::vector<BYTE>(set.data.begin() + 24, set.data.begin() + 28));
        // Every parameter at its place, and nothing else from byte 32 to the data.
        std::vector<BYTE> params(set.data.begin() + 32, set.data.begin() + (row.id == 4 ? 52 : 68));
        std::vector<BYTE> expected(params.size(), 0);
        size_t length = 0;
        for (const Place& place : row.places) {
            if (place.at == 116) {
                length = place.bytes[0];
                continue;
            }
            std::copy(place.bytes.begin(), place.bytes.end(), expected.begin() + (place.at - 32));
        }
        EXPECT_EQ(expected, params);
        if (row.id == 4) EXPECT_EQ(Le(static_cast<DWORD>(length)), std::vector<BYTE>(set.data.begin() + 116, set.data.end()));
        EXPECT_EQ(0u, set.what.rfind("command", 0)) << set.what;
        // The answers the driver gives for the code, and only those.
        EXPECT_EQ(row.answersWord ? (0xA5000000 | (row.code & 0xFFFFFF)) : 0xEEEEEEEE, answers.word);
        EXPECT_EQ(row.byte.value_or(0xEE), answers.byte);
        EXPECT_EQ(row.word2.value_or(0xEEEEEEEE), answers.word2);
        for (int i = 0; i < 64; ++i) {
            ASSERT_EQ(row.answersData ? static_cast<BYTE>((row.code & 0xFF) + i) : 0xEE, answers.data[i]) << i;
        }
    }
}

TEST_F(KsDeviceControlCommandTest, AFailedSendCopiesNothing)
{
    DWORD answer = 0x77;
    BYTE byte = 0x77;
    platform::InjectFailure("KsSynchronousDeviceControl", 1, E_ACCESSDENIED, 1);  // the GET
    EXPECT_EQ(E_ACCESSDENIED, access.QueryByte11000006(0x48, &answer, &byte));
    EXPECT_EQ(0x77u, answer);
    EXPECT_EQ(0x77, byte);
    DWORD second = 0x77;
    platform::InjectFailure("KsSynchronousDeviceControl", 1, E_ACCESSDENIED);
    EXPECT_EQ(E_ACCESSDENIED, access.LargeQuery1000000B(1, 2, &answer, &second));
    EXPECT_EQ(0x77u, second);
    CKsDeviceControlAccess unbound;
    EXPECT_EQ(E_FAIL, unbound.Query11000001(&answer));
    EXPECT_EQ(0x77u, answer);
}

}  // namespace
