#include "hwsim/boards/BoardChips.h"

#include <memory>
#include <string_view>

#include "hwsim/boards/Card.h"
#include "hwsim/boards/Em28xxBox.h"
#include "hwsim/bus/RegisterFileDevice.h"

namespace hwsim {

namespace {

struct KindChips {
    const char* captureName;
    void (*fit)(Card& card);
};

const KindChips kBoardChips[] = {
    {"713x_D TV Card Capture",
     [](Card& card) { card.AddChip("digits", std::make_unique<RegisterFileDevice>(kDigitControllerAddress >> 1, 256)); }},
    {"USB 2800 Video", &FitEm28xxBox},
    {"Vorlane USB TV Box Video", &FitEm28xxBox},
    {"USB 2820 Video", &FitEm28xxBox},
    {"USB 2821 Video", &FitEm28xxBox},
    {"USB 2881 Video", &FitEm28xxBox},
};

}  // namespace

void FitBoardChips(Card& card) {
    for (const KindChips& row : kBoardChips) {
        if (std::string_view(row.captureName) == card.FriendlyName()) row.fit(card);
    }
}

}  // namespace hwsim
