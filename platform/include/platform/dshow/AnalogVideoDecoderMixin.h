// IAMAnalogVideoDecoder for capture filters: the video standards the decoder takes, the one
// set, horizontal lock (from the driver), VCR locking, lines per frame and output enable.
#pragma once

#include <mutex>

#include "strmif.h"

namespace platform::dshow {

class PLATFORM_API AnalogVideoDecoderMixin : public IAMAnalogVideoDecoder {
public:
    using Interface = IAMAnalogVideoDecoder;

    void SetTVFormats(long available, long current);

    STDMETHODIMP get_AvailableTVFormats(long* lAnalogVideoStandard) override;
    // E_INVALIDARG for a standard that is not one of the available bits.
    STDMETHODIMP put_TVFormat(long lAnalogVideoStandard) override;
    STDMETHODIMP get_TVFormat(long* plAnalogVideoStandard) override;
    STDMETHODIMP get_HorizontalLocked(long* plLocked) override;
    STDMETHODIMP put_VCRHorizontalLocking(long lVCRHorizontalLocking) override;
    STDMETHODIMP get_VCRHorizontalLocking(long* plVCRHorizontalLocking) override;
    // 525 for the NTSC and PAL-M standards, 625 otherwise.
    STDMETHODIMP get_NumberOfLines(long* plNumberOfLines) override;
    STDMETHODIMP put_OutputEnable(long lOutputEnable) override;
    STDMETHODIMP get_OutputEnable(long* plOutputEnable) override;

protected:
    virtual ~AnalogVideoDecoderMixin() = default;
    virtual HRESULT OnTVFormat(long standard) { return S_OK; }
    // Whether the decoder is locked to a signal (the driver answers; a failure is returned).
    virtual HRESULT HorizontalLocked(long* locked) {
        *locked = 0;
        return S_OK;
    }

private:
    mutable std::mutex m_lock;
    long m_available = 0, m_format = 0;
    long m_vcrLocking = 0;
    long m_outputEnable = -1;  // OATRUE
};

}  // namespace platform::dshow
