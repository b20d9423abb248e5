// CXCeive2028: the Xceive XC2028 tuner (model 91), and CTuner_E90, the same tuner as model 90.
// It serves several kinds of card and picks its paths by the owning card's access kind:
//
//   kind      writes                       standards           TV lock            signal lock
//   0         direct (no address byte)     sound-IF patches    direct register    video decoder
//   12, 14    addressed, GPIO pulse        standard patches    bridge 0x3A        bridge 0x3A
//   13        addressed, no GPIO pulse     sound-IF patches    I2C register       video decoder
//   15        addressed, GPIO pulse        standard patches    I2C register       I2C register
//   other     addressed, GPIO pulse        standard patches    I2C register       bridge 0x3A
//
// A tuner without an owning card takes the last row. Its reset pulse holds the line low for
// 200 ms; firmware goes out 63 payload bytes a chunk, 10 ms apart (no wait on the direct path).
#pragma once

#include "tuners/XCeiveTuner.h"

class CXCeive2028 : public CXCeiveTuner {
public:
    explicit CXCeive2028(CCustomDataAccess* pAccess);

    DECLARE_XCEIVE_TUNER_SLOTS()

protected:
    CXCeive2028(CCustomDataAccess* pAccess, long model);
    XcChunking Chunking() override;
};

class CTuner_E90 : public CXCeive2028 {
public:
    explicit CTuner_E90(CCustomDataAccess* pAccess);
};
