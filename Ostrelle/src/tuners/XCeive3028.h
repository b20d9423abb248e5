// CXCeive3028: the Xceive XC3028 tuner (model 136) on the addressed path whatever the card:
// standard patches, the GPIO pulse before every frequency write, lock from bridge register
// 0x3A. Reset pulse 200 ms; firmware 63 payload bytes a chunk, 10 ms apart.
#pragma once

#include "tuners/XCeiveTuner.h"

class CXCeive3028 : public CXCeiveTuner {
public:
    explicit CXCeive3028(CCustomDataAccess* pAccess);

    DECLARE_XCEIVE_TUNER_SLOTS()

protected:
    XcChunking Chunking() override;
};
