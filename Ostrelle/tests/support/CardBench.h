// The card tests' simulated PC: a bench of Kesh and Qel boards with their drivers' filters in
// the device tree, a filter graph with the graph library's and the card library's classes
// registered, and card objects either opened through the graph (AddDeviceFilter) or made
// without a device and bound to a board through the real access class of its kind.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "access/CustomDataAccess.h"
#include "support/FakeBoardAccess.h"
#include "graph/RootGraph.h"
#include "cards/base/TVCardFilter.h"
#include "hwsim/bench/Bench.h"
#include "hwsim/bench/BenchDevices.h"

// A card class object without a device filter; the test gives it its access object.
template <class Card>
class TestCard : public Card {
public:
    TestCard() : Card(nullptr, CLSID_NULL) {}
    // Takes ownership of the access object.
    void Bind(CCustomDataAccess* access, int kind) {
        this->m_pAccess = access;
        this->m_nAccessKind = kind;
    }
    void SetEepromLayout(int layout) { this->m_nEepromLayout = layout; }
    void SetTunerModelField(int model) { this->m_nTunerModel = model; }
};

// A card object of class Card over a FakeBoardAccess.
template <class Card = CTVCardFilter>
struct FakeBoardCard {
    explicit FakeBoardCard(int kind = ACCESS_KIND_KS_PROPERTY) : access(new FakeBoardAccess) { card.Bind(access, kind); }
    TestCard<Card> card;
    FakeBoardAccess* access;  // owned by the card
};

// The filters of class F (board filters or wrappers) in the graph's filter graph.
template <class F>
std::vector<F*> InGraph(CRootGraph& graph) {
    std::vector<F*> found;
    CComPtr<IEnumFilters> filters;
    if (FAILED(graph.GetGraphBuilder()->EnumFilters(&filters))) return found;
    CComPtr<IBaseFilter> filter;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
        if (auto* own = dynamic_cast<F*>(filter.p)) found.push_back(own);
        filter.Release();
    }
    return found;
}

// The input the crossbar routes to `output`; -2 when it cannot say.
inline long RoutedTo(IAMCrossbar* crossbar, long output) {
    long input = -2;
    EXPECT_EQ(S_OK, crossbar->get_IsRoutedTo(output, &input));
    return input;
}

namespace hwsim { class KsDriver; }

// The registers a box driver's register property was asked to read, in the order of its log.
std::vector<int> BoxRegisterReads(hwsim::KsDriver& driver);

class CardBench : public testing::Test {
protected:
    // One Kesh board (model 95 fitted) and one Qel board (model 5 fitted); stations at
    // 49750 and 471250 kHz.
    static constexpr const char* kDefaultBench = R"({"cards": [
        {"kind": "713x BDA Analog Capture", "tuner": 95},
        {"kind": "713x_4 TV Card Capture", "tuner": 5}],
      "stations": [{"kHz": 49750}, {"kHz": 471250}]})";

    CardBench();
    ~CardBench() override;
    void SetUp() override { Load(kDefaultBench); }
    void TearDown() override;
    // Replaces the bench (drop every card object made on the old one first).
    void Load(const char* benchText);

    hwsim::Card& Board(size_t index) { return *m_bench->Cards()[index]; }
    hwsim::Card& KeshBoard() { return Board(0); }
    hwsim::Card& QelBoard() { return Board(1); }
    hwsim::KsDriver& Driver(hwsim::Card& board) { return m_devices->Driver(board); }
    hwsim::BenchDevices& Devices() { return *m_devices; }
    // A new access object of the board's kind, bound to its capture filter; the caller owns it.
    CCustomDataAccess* NewAccess(hwsim::Card& board);

    // A card object of class Card on the board, with the access of the board's kind.
    template <class Card>
    std::unique_ptr<TestCard<Card>> MakeCard(hwsim::Card& board, int kind) {
        auto card = std::make_unique<TestCard<Card>>();
        card->Bind(NewAccess(board), kind);
        return card;
    }

    // The graph, made on first use (on the test's thread).
    CRootGraph& Graph();
    // Adds the board's capture device to the graph as the station does; null when the graph
    // refused it. The graph owns the card.
    CTVCardFilter* OpenCard(hwsim::Card& board, int instance = 0);

    // Writes the board's EEPROM bytes straight into the chip.
    static void Poke(hwsim::Card& board, BYTE address, std::initializer_list<BYTE> bytes);
    // Writes all 256 EEPROM bytes through the card, checks them in the chip, and reads them back
    // through the card.
    static void ExpectWholeEepromThroughTheCard(CTVCardFilter& card, hwsim::Card& board, const std::string& what);

private:
    std::unique_ptr<hwsim::Bench> m_bench;
    std::unique_ptr<hwsim::BenchDevices> m_devices;
    std::unique_ptr<CRootGraph> m_graph;
};

// A window whose queue the test reads: the remote keys posted to it.
class KeyWindow {
public:
    KeyWindow();
    ~KeyWindow();
    HWND Window() const { return m_window; }
    // Reads the test thread's queue until `count` keys arrived or `limitMs` of platform time
    // passed; the keys in order.
    std::vector<WPARAM> WaitForKeys(size_t count, DWORD limitMs);

private:
    HWND m_window = nullptr;
};
