// CSearchTunerInterface: what the channel-scan thread needs of a tuner: tune a frequency, read
// the lock status. CCardSearchTuner (CardSearchTuner.h) is the card manager's implementation.
#pragma once

#include <windows.h>

class CSearchTunerInterface {
public:
    virtual ~CSearchTunerInterface() = default;
    // Tunes `hz`; true when the tuner accepted it.
    virtual bool SetFrequence(int hz) = 0;
    // Stores the tuner's status byte in `status`; false when it cannot be read.
    virtual bool GetStatus(BYTE& status) = 0;
};
