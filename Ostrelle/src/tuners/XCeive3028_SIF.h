// CXCeive3028_SIF: the Xceive XC3028 tuner with sound-IF firmware (model 137), on the addressed
// path whatever the card: sound-IF patches, a status pulse (GetStatus 1, 200 ms, 0) before
// every frequency write, lock from the I2C lock register, signal lock from the video decoder.
// Its register writes carry a trailing zero byte. Reset pulse 20 ms; firmware 7 payload bytes
// a chunk, 20 ms apart; a failed chunk is traced with file and line and fails the load.
#pragma once

#include "tuners/XCeiveTuner.h"

class CXCeive3028_SIF : public CXCeiveTuner {
public:
    explicit CXCeive3028_SIF(CCustomDataAccess* pAccess);

    DECLARE_XCEIVE_TUNER_SLOTS()

protected:
    XcChunking Chunking() override;
};
