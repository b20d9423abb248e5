// CSaa713xStandardCard: the SAA713x TV cards whose on-board controller is wired in the standard
// pin layout (Saa713xController.h): the controller's word transactions of CTVCardFilter, run in
// that layout. The Kesh, Qel, Dirir and Sivren cards derive from it.
#pragma once

#include "cards/base/TVCardFilter.h"

class CSaa713xStandardCard : public CTVCardFilter {
public:
    using CTVCardFilter::CTVCardFilter;

    BOOL WriteControllerWord(WORD value) override;
    BOOL ReadControllerWord(WORD* value) override;
    BOOL ControllerCommand(BOOL on) override;
};
