// CSaa713xStandardCard: the controller's word transactions in the standard pin layout.
#include "cards/saa713x/Saa713xStandardCard.h"

#include "cards/saa713x/Saa713xController.h"

BOOL CSaa713xStandardCard::WriteControllerWord(WORD value) {
    return Saa713xWriteControllerWord(this, Saa713xStandardLayout(), value);
}

BOOL CSaa713xStandardCard::ReadControllerWord(WORD* value) {
    return Saa713xReadControllerWord(this, Saa713xStandardLayout(), value);
}

BOOL CSaa713xStandardCard::ControllerCommand(BOOL on) { return Saa713xControllerCommand(this, Saa713xStandardLayout(), on); }
