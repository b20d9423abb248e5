// The AVI multiplexer: input pins added as they are connected (always one free), one output
// "AVI Out" of an AVI stream, and its IConfigAviMux and IConfigInterleaving settings.
#pragma once

#include <mutex>

#include "platform/dshow/FilterBase.h"
#include "platform/dshow/With.h"

namespace platform::dshow {

class AviMuxSettings : public IConfigAviMux {
public:
    using Interface = IConfigAviMux;
    STDMETHODIMP SetMasterStream(LONG iStream) override;
    STDMETHODIMP GetMasterStream(LONG* pStream) override;
    STDMETHODIMP SetOutputCompatibilityIndex(BOOL fOldIndex) override;
    STDMETHODIMP GetOutputCompatibilityIndex(BOOL* pfOldIndex) override;

protected:
    virtual ~AviMuxSettings() = default;

private:
    std::mutex m_lock;
    LONG m_master = -1;
    BOOL m_oldIndex = FALSE;
};

class AviInterleaving : public IConfigInterleaving {
public:
    using Interface = IConfigInterleaving;
    STDMETHODIMP put_Mode(InterleavingMode mode) override;
    STDMETHODIMP get_Mode(InterleavingMode* pMode) override;
    STDMETHODIMP put_Interleaving(const REFERENCE_TIME* prtInterleave, const REFERENCE_TIME* prtPreroll) override;
    STDMETHODIMP get_Interleaving(REFERENCE_TIME* prtInterleave, REFERENCE_TIME* prtPreroll) override;

protected:
    virtual ~AviInterleaving() = default;

private:
    std::mutex m_lock;
    InterleavingMode m_mode = INTERLEAVE_CAPTURE;
    REFERENCE_TIME m_interleave = 10000000, m_preroll = 0;
};

class AviMuxFilter : public With<FilterBase, AviMuxSettings, AviInterleaving> {
public:
    AviMuxFilter();

protected:
    void OnPinConnected(PinBase* pin) override;
    void OnPinDisconnected(PinBase* pin) override;

private:
    void AddInput();
    int m_nextInput = 1;
};

}  // namespace platform::dshow
