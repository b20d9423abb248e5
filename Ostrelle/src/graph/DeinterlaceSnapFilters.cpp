// CDeinterlaceFilter and CSnapPictureFilter.
#include "graph/DeinterlaceSnapFilters.h"

#include <algorithm>
#include <cstring>

#include "graph/FilterWrapperClass.h"
#include "graph/StrA2W.h"

namespace {

void PutLE32(BYTE* at, DWORD value) {
    for (int i = 0; i < 4; ++i) at[i] = BYTE(value >> (8 * i));
}

}  // namespace

// ---- CDeinterlaceFilter ----

CFilterClassRecord CDeinterlaceFilter::s_classRecord = Record(&CLSID_VorlaneDeinterlace, nullptr,
                                                              "Vorlane Deinterlace Filter");

BOOL CDeinterlaceFilter::GetValue(LONG* pValue) {
    if (m_pInterface == nullptr || pValue == nullptr) return FALSE;
    LONG value = 0;
    if (m_pInterface->GetValue(&value) != S_OK) return FALSE;
    *pValue = value - kValueOffset;
    return TRUE;
}

BOOL CDeinterlaceFilter::SetValue(LONG value) {
    if (m_pInterface == nullptr) return FALSE;
    return m_pInterface->SetValue(value + kValueOffset) == S_OK ? TRUE : FALSE;
}

BOOL CDeinterlaceFilter::GetSwitch(SwitchGetter getter, BOOL* pOn) {
    if (m_pInterface == nullptr || pOn == nullptr) return FALSE;
    VARIANT_BOOL on = VARIANT_FALSE;
    if ((m_pInterface.p->*getter)(&on) != S_OK) return FALSE;
    *pOn = on == VARIANT_TRUE ? TRUE : FALSE;
    return TRUE;
}

BOOL CDeinterlaceFilter::SetSwitch(SwitchSetter setter, BOOL on) {
    if (m_pInterface == nullptr) return FALSE;
    return (m_pInterface.p->*setter)(on ? VARIANT_TRUE : VARIANT_FALSE) == S_OK ? TRUE : FALSE;
}

BOOL CDeinterlaceFilter::GetSwitch1(BOOL* pOn) { return GetSwitch(&IVorlaneDeinterlace::GetSwitch1, pOn); }
BOOL CDeinterlaceFilter::SetSwitch1(BOOL on) { return SetSwitch(&IVorlaneDeinterlace::PutSwitch1, on); }
BOOL CDeinterlaceFilter::GetSwitch2(BOOL* pOn) { return GetSwitch(&IVorlaneDeinterlace::GetSwitch2, pOn); }
BOOL CDeinterlaceFilter::SetSwitch2(BOOL on) { return SetSwitch(&IVorlaneDeinterlace::PutSwitch2, on); }
BOOL CDeinterlaceFilter::GetSwitch3(BOOL* pOn) { return GetSwitch(&IVorlaneDeinterlace::GetSwitch3, pOn); }
BOOL CDeinterlaceFilter::SetSwitch3(BOOL on) { return SetSwitch(&IVorlaneDeinterlace::PutSwitch3, on); }

BOOL CDeinterlaceFilter::GetMode(LONG* pMode) {
    if (m_pInterface == nullptr || pMode == nullptr) return FALSE;
    return m_pInterface->GetMode(pMode) == S_OK ? TRUE : FALSE;
}

BOOL CDeinterlaceFilter::SetMode(LONG mode) {
    if (m_pInterface == nullptr || mode < 0 || mode >= kModeCount) return FALSE;
    if (m_pInterface->SetMode(mode) != S_OK) return FALSE;
    if (mode == 0) return m_pInterface->PutSwitch1(VARIANT_FALSE) == S_OK ? TRUE : FALSE;
    return TRUE;
}

BOOL CDeinterlaceFilter::SetText(const char* text, DWORD value) {
    if (m_pInterface == nullptr || text == nullptr) return FALSE;
    CStrA2W wideText(text);
    return m_pInterface->SetText(wideText.Convert(), value) == S_OK ? TRUE : FALSE;
}

// ---- CSnapPictureFilter ----

CFilterClassRecord CSnapPictureFilter::s_classRecord = Record(&CLSID_VorlaneSnapPicture, nullptr,
                                                              "Vorlane Snap Picture Filter");

BOOL CSnapPictureFilter::SavePicture(int format, const char* path, int quality) {
    if (m_pInterface == nullptr || format == 3 || path == nullptr) return FALSE;
    // A cut path would name another file: refused.
    const size_t length = std::strlen(path);
    if (length >= SNAP_REQUEST_PATH_BYTES) return FALSE;
    BYTE request[SNAP_REQUEST_SIZE] = {};
    PutLE32(request, SNAP_REQUEST_SIZE);
    PutLE32(request + SNAP_REQUEST_FORMAT_OFFSET, format == 1 || format == 2 ? DWORD(format) : 0);
    std::memcpy(request + SNAP_REQUEST_PATH_OFFSET, path, length);
    PutLE32(request + SNAP_REQUEST_QUALITY_OFFSET, DWORD(std::clamp(quality, 0, 100)));
    return SUCCEEDED(m_pInterface->SavePicture(1, request)) ? TRUE : FALSE;
}
