// CDeinterlaceFilter and CSnapPictureFilter: the wrappers of the maker's deinterlace filter and
// snap picture filter, registered by CLSID; each forwards to its filter's private interface.
#pragma once

#include <makers/vorlane.h>

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CDeinterlaceFilter : public CInterfaceWrapper<CDeinterlaceFilter, IVorlaneDeinterlace, IID_IVorlaneDeinterlace, TakenAnswer::ExactlyOk> {
public:
    // The filter counts its value from this offset.
    static constexpr LONG kValueOffset = 1022;
    static constexpr int kModeCount = 11;  // modes 0 to 10

    // Init opens the deinterlace interface; TRUE only for S_OK.
    using CInterfaceWrapper::CInterfaceWrapper;
    static CFilterClassRecord s_classRecord;

    // Every operation answers TRUE exactly when the filter answered S_OK.
    BOOL GetValue(LONG* pValue);
    BOOL SetValue(LONG value);
    BOOL GetSwitch1(BOOL* pOn);
    BOOL SetSwitch1(BOOL on);
    BOOL GetSwitch2(BOOL* pOn);
    BOOL SetSwitch2(BOOL on);
    BOOL GetSwitch3(BOOL* pOn);
    BOOL SetSwitch3(BOOL on);
    BOOL GetMode(LONG* pMode);
    // Modes 0 to 10; mode 0 also turns the first switch off.
    BOOL SetMode(LONG mode);
    BOOL SetText(const char* text, DWORD value);

private:
    typedef HRESULT (STDMETHODCALLTYPE IVorlaneDeinterlace::*SwitchGetter)(VARIANT_BOOL*);
    typedef HRESULT (STDMETHODCALLTYPE IVorlaneDeinterlace::*SwitchSetter)(VARIANT_BOOL);
    BOOL GetSwitch(SwitchGetter getter, BOOL* pOn);
    BOOL SetSwitch(SwitchSetter setter, BOOL on);
};

class CSnapPictureFilter : public CInterfaceWrapper<CSnapPictureFilter, IVorlaneSnapPicture, IID_IVorlaneSnapPicture, TakenAnswer::AnySuccess> {
public:
    // Init opens the snapshot interface; TRUE when the query succeeded (S_FALSE too).
    using CInterfaceWrapper::CInterfaceWrapper;
    static CFilterClassRecord s_classRecord;

    // Asks the filter to save its picture: format 1 or 2 (another sends 0; 3 is refused),
    // quality clamped to 0..100. FALSE without a call for format 3, a null path or a path of
    // 260 characters or more.
    BOOL SavePicture(int format, const char* path, int quality);
};
