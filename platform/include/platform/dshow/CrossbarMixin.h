// IAMCrossbar for crossbar filters: input and output pins by index with their physical
// types, routing of a video input to a video output and an audio input to an audio output.
// Drivers override OnRoute to apply a route (or refuse it).
#pragma once

#include <mutex>
#include <vector>

#include "strmif.h"

namespace platform::dshow {

struct CrossbarPinInfo {
    long physicalType = 0;  // PhysConn_*
    long related = -1;      // index of the related pin of the same direction (audio of a video pin), -1 none
};

class PLATFORM_API CrossbarMixin : public IAMCrossbar {
public:
    using Interface = IAMCrossbar;

    // The crossbar's pins; output i starts routed to routes[i] (-1 or missing: none).
    void ConfigureCrossbar(std::vector<CrossbarPinInfo> inputs, std::vector<CrossbarPinInfo> outputs,
                           std::vector<long> routes = {});
    long RoutedTo(long output) const;

    STDMETHODIMP get_PinCounts(long* OutputPinCount, long* InputPinCount) override;
    // S_OK when the input can go to the output (video to video, audio to audio), else S_FALSE.
    STDMETHODIMP CanRoute(long OutputPinIndex, long InputPinIndex) override;
    // Input -1 takes the output's route away.
    STDMETHODIMP Route(long OutputPinIndex, long InputPinIndex) override;
    STDMETHODIMP get_IsRoutedTo(long OutputPinIndex, long* InputPinIndex) override;
    STDMETHODIMP get_CrossbarPinInfo(BOOL IsInputPin, long PinIndex, long* PinIndexRelated,
                                     long* PhysicalType) override;

protected:
    virtual ~CrossbarMixin() = default;
    // The driver's part of a route; a failure leaves the routing as it was.
    virtual HRESULT OnRoute(long output, long input) { return S_OK; }

private:
    mutable std::mutex m_lock;
    std::vector<CrossbarPinInfo> m_inputs;
    std::vector<CrossbarPinInfo> m_outputs;
    std::vector<long> m_routes;
};

}  // namespace platform::dshow
