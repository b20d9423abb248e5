// The filter graph's seeking state.
#include "GraphSeeking.h"

#include "Inject.h"
#include "StoreLocked.h"
#include "uuids.h"

namespace platform::dshow {

namespace {

constexpr DWORD kCapabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards |
                                AM_SEEKING_CanSeekBackwards | AM_SEEKING_CanGetCurrentPos |
                                AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;

bool IsMediaTime(const GUID* format) { return !format || IsEqualGUID(*format, TIME_FORMAT_MEDIA_TIME); }

}  // namespace

STDMETHODIMP GraphSeeking::GetCapabilities(DWORD* pCapabilities) {
    if (!pCapabilities) return E_POINTER;
    *pCapabilities = kCapabilities;
    return S_OK;
}

STDMETHODIMP GraphSeeking::CheckCapabilities(DWORD* pCapabilities) {
    if (!pCapabilities) return E_POINTER;
    DWORD wanted = *pCapabilities;
    *pCapabilities &= kCapabilities;
    if (*pCapabilities == wanted) return S_OK;
    return *pCapabilities ? S_FALSE : E_FAIL;
}

STDMETHODIMP GraphSeeking::IsFormatSupported(const GUID* pFormat) {
    if (!pFormat) return E_POINTER;
    return IsMediaTime(pFormat) ? S_OK : S_FALSE;
}

STDMETHODIMP GraphSeeking::QueryPreferredFormat(GUID* pFormat) {
    if (!pFormat) return E_POINTER;
    *pFormat = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
}

STDMETHODIMP GraphSeeking::GetTimeFormat(GUID* pFormat) { return QueryPreferredFormat(pFormat); }

STDMETHODIMP GraphSeeking::IsUsingTimeFormat(const GUID* pFormat) {
    if (!pFormat) return E_POINTER;
    return IsMediaTime(pFormat) ? S_OK : S_FALSE;
}

STDMETHODIMP GraphSeeking::SetTimeFormat(const GUID* pFormat) {
    if (!pFormat) return E_POINTER;
    return IsMediaTime(pFormat) ? S_OK : E_INVALIDARG;
}

STDMETHODIMP GraphSeeking::GetDuration(LONGLONG* pDuration) {
    if (!pDuration) return E_POINTER;
    HRESULT hr;
    if (Injected("IMediaSeeking::GetDuration", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    *pDuration = m_duration;
    return S_OK;
}

STDMETHODIMP GraphSeeking::GetStopPosition(LONGLONG* pStop) {
    if (!pStop) return E_POINTER;
    HRESULT hr;
    if (Injected("IMediaSeeking::GetStopPosition", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    *pStop = m_stop;
    return S_OK;
}

STDMETHODIMP GraphSeeking::GetCurrentPosition(LONGLONG* pCurrent) {
    if (!pCurrent) return E_POINTER;
    HRESULT hr;
    if (Injected("IMediaSeeking::GetCurrentPosition", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    *pCurrent = m_current;
    return S_OK;
}

STDMETHODIMP GraphSeeking::ConvertTimeFormat(LONGLONG* pTarget, const GUID* pTargetFormat, LONGLONG Source,
                                             const GUID* pSourceFormat) {
    if (!pTarget) return E_POINTER;
    if (!IsMediaTime(pTargetFormat) || !IsMediaTime(pSourceFormat)) return E_INVALIDARG;
    *pTarget = Source;
    return S_OK;
}

HRESULT GraphSeeking::Move(LONGLONG* position, const LONGLONG* value, DWORD flags) {
    switch (flags & AM_SEEKING_PositioningBitsMask) {
        case AM_SEEKING_NoPositioning:
            return S_OK;
        case AM_SEEKING_AbsolutePositioning:
            if (!value) return E_POINTER;
            *position = *value;
            return S_OK;
        case AM_SEEKING_RelativePositioning:
            if (!value) return E_POINTER;
            *position += *value;
            return S_OK;
        default:
            return E_INVALIDARG;
    }
}

STDMETHODIMP GraphSeeking::SetPositions(LONGLONG* pCurrent, DWORD dwCurrentFlags, LONGLONG* pStop, DWORD dwStopFlags) {
    HRESULT hr;
    if (Injected("IMediaSeeking::SetPositions", E_FAIL, &hr)) return hr;
    std::lock_guard<std::mutex> lock(m_lock);
    LONGLONG current = m_current, stop = m_stop;
    if (FAILED(hr = Move(&current, pCurrent, dwCurrentFlags)) || FAILED(hr = Move(&stop, pStop, dwStopFlags))) return hr;
    if (current < 0 || stop < 0) return E_INVALIDARG;
    m_current = current;
    m_stop = stop;
    if (pCurrent && (dwCurrentFlags & AM_SEEKING_ReturnTime)) *pCurrent = current;
    if (pStop && (dwStopFlags & AM_SEEKING_ReturnTime)) *pStop = stop;
    return S_OK;
}

STDMETHODIMP GraphSeeking::GetPositions(LONGLONG* pCurrent, LONGLONG* pStop) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (pCurrent) *pCurrent = m_current;
    if (pStop) *pStop = m_stop;
    return S_OK;
}

STDMETHODIMP GraphSeeking::GetAvailable(LONGLONG* pEarliest, LONGLONG* pLatest) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (pEarliest) *pEarliest = 0;
    if (pLatest) *pLatest = m_duration;
    return S_OK;
}

STDMETHODIMP GraphSeeking::SetRate(double dRate) {
    HRESULT hr;
    if (Injected("IMediaSeeking::SetRate", E_FAIL, &hr)) return hr;
    if (dRate <= 0.0) return E_INVALIDARG;
    return StoreLocked(m_lock, std::tie(m_rate), dRate);
}

STDMETHODIMP GraphSeeking::GetRate(double* pdRate) {
    if (!pdRate) return E_POINTER;
    std::lock_guard<std::mutex> lock(m_lock);
    *pdRate = m_rate;
    return S_OK;
}

STDMETHODIMP GraphSeeking::GetPreroll(LONGLONG* pllPreroll) {
    if (!pllPreroll) return E_POINTER;
    *pllPreroll = 0;
    return S_OK;
}

}  // namespace platform::dshow
