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

FILTER_WRAPPER_CLSID_CLASS(CDeinterlaceFilter, CLSID_VorlaneDeinterlace, "Vorlane Deinterlace Filter")

FILTER_WRAPPER_INTERFACE(CDeinterlaceFilter, IID_IVorlaneDeinterlace, m_pDeinterlace, ExactlyOk)

BOOL CDeinterlaceFilter::GetValue(LONG* pValue) {
    if (m_pDeinterlace == nullptr || pValue == nullptr) return FALSE;
    LONG value = 0;
    if (m_pDeinterlace->GetValue(&value) != S_OK) return FALSE;
    *pValue = value - kValueOffset;
    return TRUE;
}

BOOL CDeinterlaceFilter::SetValue(LONG value) {
    if (m_pDeinterlace == nullptr) return FALSE;
    return m_pDeinterlace->SetValue(value + kValueOffset) == S_OK ? TRUE : FALSE;
}

BOOL CDeinterlaceFilter::GetSwitch(SwitchGetter getter, BOOL* pOn) {
    if (m_pDeinterlace == nullptr || pOn == nullptr) return FALSE;
    VARIANT_BOOL on = VARIANT_FALSE;
    if ((m_pDeinterlace.p->*getter)(&on) != S_OK) return FALSE;
    *pOn = on == VARIANT_TRUE ? TRUE : FALSE;
    return TRUE;
}

BOOL CDeinterlaceFilter::SetSwitch(SwitchSetter setter, BOOL on) {
    if (m_pDeinterlace == nullptr) return FALSE;
    return (m_pDeinterlace.p->*setter)(on ? VARIANT_TRUE : VARIANT_FALSE) == S_OK ? TRUE : FALSE;
}

BOOL CDeinterlaceFilter::GetSwitch1(BOOL* pOn) { return GetSwitch(&IVorlaneDeinterlace::GetSwitch1, pOn); }
BOOL CDeinterlaceFilter::SetSwitch1(BOOL on) { return SetSwitch(&IVorlaneDeinterlace::PutSwitch1, on); }
BOOL CDeinterlaceFilter::GetSwitch2(BOOL* pOn) { return GetSwitch(&IVorlaneDeinterlace::GetSwitch2, pOn); }
BOOL CDeinterlaceFilter::SetSwitch2(BOOL on) { return SetSwitch(&IVorlaneDeinterlace::PutSwitch2, on); }
BOOL CDeinterlaceFilter::GetSwitch3(BOOL* pOn) { return GetSwitch(&IVorlaneDeinterlace::GetSwitch3, pOn); }
BOOL CDeinterlaceFilter::SetSwitch3(BOOL on) { return SetSwitch(&IVorlaneDeinterlace::PutSwitch3, on); }

BOOL CDeinterlaceFilter::GetMode(LONG* pMode) {
    if (m_pDeinterlace == nullptr || pMode == nullptr) return FALSE;
    return m_pDeinterlace->GetMode(pMode) == S_OK ? TRUE : FALSE;
}

BOOL CDeinterlaceFilter::SetMode(LONG mode) {
    if (m_pDeinterlace == nullptr || mode < 0 || mode >= kModeCount) return FALSE;
    if (m_pDeinterlace->SetMode(mode) != S_OK) return FALSE;
    if (mode == 0) return m_pDeinterlace->PutSwitch1(VARIANT_FALSE) == S_OK ? TRUE : FALSE;
    return TRUE;
}

BOOL CDeinterlaceFilter::SetText(const char* text, DWORD value) {
    if (m_pDeinterlace == nullptr || text == nullptr) return FALSE;
    CStrA2W wideText(text);
    return m_pDeinterlace->SetText(wideText.Convert(), value) == S_OK ? TRUE : FALSE;
}

// ---- CSnapPictureFilter ----

FILTER_WRAPPER_CLSID_CLASS(CSnapPictureFilter, CLSID_VorlaneSnapPicture, "Vorlane Snap Picture Filter")

FILTER_WRAPPER_INTERFACE(CSnapPictureFilter, IID_IVorlaneSnapPicture, m_pSnap, AnySuccess)

BOOL CSnapPictureFilter::SavePicture(int format, const char* path, int quality) {
    if (m_pSnap == nullptr || format == 3 || path == nullptr) return FALSE;
    // A cut path would name another file: refused.
    const size_t length = std::strlen(path);
    if (length >= SNAP_REQUEST_PATH_BYTES) return FALSE;
    BYTE request[SNAP_REQUEST_SIZE] = {};
    PutLE32(request, SNAP_REQUEST_SIZE);
    PutLE32(request + SNAP_REQUEST_FORMAT_OFFSET, format == 1 || format == 2 ? DWORD(format) : 0);
    std::memcpy(request + SNAP_REQUEST_PATH_OFFSET, path, length);
    PutLE32(request + SNAP_REQUEST_QUALITY_OFFSET, DWORD(std::clamp(quality, 0, 100)));
    return SUCCEEDED(m_pSnap->SavePicture(1, request)) ? TRUE : FALSE;
}
