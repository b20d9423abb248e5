// CCardSearchTuner: the scan tuner of one card, driven through the card's card filter.
#pragma once

#include "SearchTunerInterface.h"

class CTVCardFilter;

class CCardSearchTuner : public CSearchTunerInterface {
public:
    // `filter` may be NULL (card not open); the card manager updates it as its card opens and closes.
    explicit CCardSearchTuner(CTVCardFilter* filter = nullptr) : m_pCardFilter(filter) {}
    void SetCardFilter(CTVCardFilter* filter) { m_pCardFilter = filter; }

    // The frequency in whole kHz (rounded down) to the card filter's tuner; true when it tuned.
    bool SetFrequence(int hz) override;
    // 1 when the tuner reports lock, else 0; false without card filter.
    bool GetStatus(BYTE& status) override;

private:
    CTVCardFilter* m_pCardFilter;
};
