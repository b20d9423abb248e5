// The ACM Wrapper: an audio converter with one input and one output. The output offers PCM
// types (WAVEFORMATEX) through IAMStreamConfig: the input's rate and channels in 16 and 8 bits
// while the input is connected with PCM, else a fixed set; the format set is kept and offered
// first.
#pragma once

#include "platform/dshow/CapabilityPin.h"
#include "platform/dshow/FilterBase.h"

namespace platform::dshow {

class AcmWrapperFilter : public FilterBase {
public:
    AcmWrapperFilter();

protected:
    void OnPinConnected(PinBase* pin) override;
    void OnPinDisconnected(PinBase* pin) override;

private:
    CapabilityPin* m_output = nullptr;
};

}  // namespace platform::dshow
