// The deinterlace and snap picture wrappers over the simulated PC's installed Vorlane filters:
// the values, switches and modes sent, and the snapshot request's bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "graph/DeinterlaceSnapFilters.h"
#include "hwsim/installed/VorlaneFilters.h"
#include "support/SystemBench.h"

using namespace graphtest;

namespace {

class DeinterlaceSnapWrappers : public SystemBench {
protected:
    static DWORD Le32(const std::vector<BYTE>& bytes, size_t at) {
        return DWORD(bytes[at]) | DWORD(bytes[at + 1]) << 8 | DWORD(bytes[at + 2]) << 16 | DWORD(bytes[at + 3]) << 24;
    }
};

}  // namespace

TEST_F(DeinterlaceSnapWrappers, DeinterlaceValueIsCountedFromItsOffset) {
    CRootGraph graph;
    auto* deinterlace = AddOf<CDeinterlaceFilter>(graph, CLSID_VorlaneDeinterlace);
    ASSERT_NE(deinterlace, nullptr);
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_VorlaneDeinterlace);
    behaviour.Store(DWORD(4), LONG(1022));
    LONG value = -1;
    EXPECT_TRUE(deinterlace->GetValue(&value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(deinterlace->SetValue(5));
    LONG stored = 0;
    EXPECT_TRUE(behaviour.Load(DWORD(4), &stored));
    EXPECT_EQ(stored, 1027);
    behaviour.FailSlot("IVorlaneDeinterlace", 3, S_FALSE);
    value = 99;
    EXPECT_FALSE(deinterlace->GetValue(&value));
    EXPECT_EQ(value, 99);
}

TEST_F(DeinterlaceSnapWrappers, DeinterlaceSwitchesSendVariantBoolsAndModesStayInRange) {
    CRootGraph graph;
    auto* deinterlace = AddOf<CDeinterlaceFilter>(graph, CLSID_VorlaneDeinterlace);
    ASSERT_NE(deinterlace, nullptr);
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_VorlaneDeinterlace);
    EXPECT_TRUE(deinterlace->SetSwitch1(TRUE));
    EXPECT_TRUE(deinterlace->SetSwitch2(FALSE));
    EXPECT_TRUE(deinterlace->SetSwitch3(7));
    auto calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].slot, 6);
    EXPECT_EQ(calls[0].args[0], 0xFFFFu);
    EXPECT_EQ(calls[1].slot, 8);
    EXPECT_EQ(calls[1].args[0], 0u);
    EXPECT_EQ(calls[2].slot, 13);
    EXPECT_EQ(calls[2].args[0], 0xFFFFu);
    BOOL on = FALSE;
    EXPECT_TRUE(deinterlace->GetSwitch3(&on));
    EXPECT_TRUE(on);
    EXPECT_TRUE(deinterlace->GetSwitch2(&on));
    EXPECT_FALSE(on);

    behaviour.ClearCalls();
    EXPECT_FALSE(deinterlace->SetMode(11));
    EXPECT_FALSE(deinterlace->SetMode(-1));
    EXPECT_TRUE(behaviour.Calls().empty());
    EXPECT_TRUE(deinterlace->SetMode(0));
    calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].slot, 10);
    EXPECT_EQ(calls[0].args[0], 0u);
    EXPECT_EQ(calls[1].slot, 6);
    EXPECT_EQ(calls[1].args[0], 0u);
    behaviour.ClearCalls();
    EXPECT_TRUE(deinterlace->SetMode(10));
    EXPECT_EQ(behaviour.Calls().size(), 1u);
    LONG mode = -1;
    EXPECT_TRUE(deinterlace->GetMode(&mode));
    EXPECT_EQ(mode, 10);

    EXPECT_FALSE(deinterlace->SetText(nullptr, 1));
    behaviour.ClearCalls();
    EXPECT_TRUE(deinterlace->SetText("AB", 3));
    calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].slot, 11);
    EXPECT_EQ(calls[0].args[1], 3u);
    ASSERT_EQ(calls[0].records[0].size(), 3 * sizeof(WCHAR));
    WCHAR text[3];
    std::memcpy(text, calls[0].records[0].data(), sizeof(text));
    EXPECT_EQ(std::wstring(text), L"AB");
}

TEST_F(DeinterlaceSnapWrappers, SnapshotRequestBytesAreClampedAndCheckedAndItsInterfaceTakenOnSFalse) {
    CRootGraph graph;
    auto* snap = AddOf<CSnapPictureFilter>(graph, CLSID_VorlaneSnapPicture);
    ASSERT_NE(snap, nullptr);
    hwsim::FilterBehaviour& behaviour = Behaviour(CLSID_VorlaneSnapPicture);

    EXPECT_TRUE(snap->SavePicture(2, "C:\\snap\\a.jpg", 150));
    EXPECT_TRUE(snap->SavePicture(1, "b.bmp", -5));
    EXPECT_TRUE(snap->SavePicture(7, "c.bmp", 50));
    auto calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 3u);
    const std::vector<BYTE>& first = calls[0].records[0];
    ASSERT_EQ(first.size(), 272u);
    EXPECT_EQ(calls[0].slot, 4);
    EXPECT_EQ(calls[0].args[0], 1u);
    EXPECT_EQ(Le32(first, 0), 272u);
    EXPECT_EQ(Le32(first, 4), 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(first.data() + 8)), "C:\\snap\\a.jpg");
    for (size_t i = 8 + 13; i < 268; ++i) EXPECT_EQ(first[i], 0) << i;
    EXPECT_EQ(Le32(first, 268), 100u);
    EXPECT_EQ(Le32(calls[1].records[0], 4), 1u);
    EXPECT_EQ(Le32(calls[1].records[0], 268), 0u);
    EXPECT_EQ(Le32(calls[2].records[0], 4), 0u);
    EXPECT_EQ(Le32(calls[2].records[0], 268), 50u);

    behaviour.ClearCalls();
    EXPECT_FALSE(snap->SavePicture(3, "d.bmp", 50));
    EXPECT_FALSE(snap->SavePicture(1, nullptr, 50));
    // A path the record cannot hold whole is refused rather than cut.
    EXPECT_FALSE(snap->SavePicture(1, std::string(260, 'x').c_str(), 50));
    EXPECT_TRUE(behaviour.Calls().empty());
    EXPECT_TRUE(snap->SavePicture(1, std::string(259, 'x').c_str(), 50));
    calls = behaviour.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].records[0][8 + 258], 'x');
    EXPECT_EQ(calls[0].records[0][8 + 259], 0);

    behaviour.FailSlot("IVorlaneSnapPicture", 4, E_FAIL);
    EXPECT_FALSE(snap->SavePicture(1, "e.bmp", 50));

    // An interface given with S_FALSE is given.
    behaviour.AnswerSFalse("IVorlaneSnapPicture");
    snap = AddOf<CSnapPictureFilter>(graph, CLSID_VorlaneSnapPicture);
    ASSERT_NE(snap, nullptr);
    EXPECT_TRUE(snap->SavePicture(1, "f.bmp", 50));
}
