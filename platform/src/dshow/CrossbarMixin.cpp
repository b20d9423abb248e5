// Crossbar routing state.
#include "platform/dshow/CrossbarMixin.h"

#include "Inject.h"

namespace platform::dshow {

namespace {
bool IsAudio(long physicalType) { return physicalType >= PhysConn_Audio_Tuner; }
}  // namespace

void CrossbarMixin::ConfigureCrossbar(std::vector<CrossbarPinInfo> inputs, std::vector<CrossbarPinInfo> outputs,
                                      std::vector<long> routes) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_inputs = std::move(inputs);
    m_outputs = std::move(outputs);
    routes.resize(m_outputs.size(), -1);
    m_routes = std::move(routes);
}

long CrossbarMixin::RoutedTo(long output) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return output >= 0 && size_t(output) < m_routes.size() ? m_routes[output] : -1;
}

STDMETHODIMP CrossbarMixin::get_PinCounts(long* OutputPinCount, long* InputPinCount) {
    if (!OutputPinCount || !InputPinCount) return E_POINTER;
    HRESULT hr;
    if (Injected("IAMCrossbar::get_PinCounts", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    *OutputPinCount = long(m_outputs.size());
    *InputPinCount = long(m_inputs.size());
    return S_OK;
}

STDMETHODIMP CrossbarMixin::CanRoute(long OutputPinIndex, long InputPinIndex) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (OutputPinIndex < 0 || size_t(OutputPinIndex) >= m_outputs.size()) return E_INVALIDARG;
    if (InputPinIndex < 0 || size_t(InputPinIndex) >= m_inputs.size()) return E_INVALIDARG;
    return IsAudio(m_inputs[InputPinIndex].physicalType) == IsAudio(m_outputs[OutputPinIndex].physicalType) ? S_OK
                                                                                                           : S_FALSE;
}

STDMETHODIMP CrossbarMixin::Route(long OutputPinIndex, long InputPinIndex) {
    HRESULT hr;
    if (Injected("IAMCrossbar::Route", E_FAIL, &hr)) return hr;
    if (InputPinIndex != -1) {
        hr = CanRoute(OutputPinIndex, InputPinIndex);
        if (hr != S_OK) return FAILED(hr) ? hr : E_FAIL;
    } else {
        std::lock_guard<std::mutex> lock(m_lock);
        if (OutputPinIndex < 0 || size_t(OutputPinIndex) >= m_outputs.size()) return E_INVALIDARG;
    }
    hr = OnRoute(OutputPinIndex, InputPinIndex);
    if (FAILED(hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    m_routes[OutputPinIndex] = InputPinIndex;
    return S_OK;
}

STDMETHODIMP CrossbarMixin::get_IsRoutedTo(long OutputPinIndex, long* InputPinIndex) {
    if (!InputPinIndex) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    if (OutputPinIndex < 0 || size_t(OutputPinIndex) >= m_routes.size()) return E_INVALIDARG;
    *InputPinIndex = m_routes[OutputPinIndex];
    return S_OK;
}

STDMETHODIMP CrossbarMixin::get_CrossbarPinInfo(BOOL IsInputPin, long PinIndex, long* PinIndexRelated,
                                                long* PhysicalType) {
    if (!PinIndexRelated || !PhysicalType) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    const std::vector<CrossbarPinInfo>& pins = IsInputPin ? m_inputs : m_outputs;
    if (PinIndex < 0 || size_t(PinIndex) >= pins.size()) return E_INVALIDARG;
    *PinIndexRelated = pins[PinIndex].related;
    *PhysicalType = pins[PinIndex].physicalType;
    return S_OK;
}

}  // namespace platform::dshow
