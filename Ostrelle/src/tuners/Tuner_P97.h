// CTuner_P97: tuner model 97: locked only when the video decoder at 0x42 sees a picture, a
// clamped tuning, its TV status through map C read at 0x86, and table S9.
#pragma once

#include <atomic>

#include "tuners/TunerBase.h"

class CTuner_P97 : public CTunerBase {
public:
    explicit CTuner_P97(CCustomDataAccess* pAccess);
    ~CTuner_P97() override;

    static CTunerBase* Create(CCustomDataAccess* pAccess);

    BOOL IsTVChannelLocked() override;
    BOOL SetTVChannelFreq(float kHz) override;
    BOOL GetTVChannelOkay(DWORD* status) override;
    BOOL SetVideoStandard(long standard) override;

    // The video decoder the lock test reads (the USB card filter probes for it).
    void SetDemodAddress(long address) { m_lDemodAddress = address; }
    long GetDemodAddress() const { return m_lDemodAddress; }

private:
    std::atomic<long> m_lDemodAddress{0x42};  // the video decoder its lock test reads
};
