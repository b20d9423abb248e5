// CAcmWrapperFilter: the wrapper of the system's ACM Wrapper filter, registered by its CLSID
// ("ACM Wrapper"), which picks a PCM format on the converter's output through the
// IAMStreamConfig found downstream of it.
#pragma once

#include <mmreg.h>

#include "graph/FilterClassRecord.h"
#include "graph/RootFilter.h"

class CAcmWrapperFilter : public CRootFilter {
public:
    CAcmWrapperFilter(CRootGraph* owner, const GUID* category, const char* friendlyName, int flag);
    CAcmWrapperFilter(CRootGraph* owner, REFCLSID clsid);
    CAcmWrapperFilter(CRootGraph* owner, IBaseFilter* filter);
    ~CAcmWrapperFilter() override;

    // The IAMStreamConfig downstream of the filter (audio); FALSE without filter, graph or one.
    BOOL Init() override;
    // The first type of the first free output pin with a whole WAVEFORMATEX of this rate and
    // depth into *out (the caller frees it with DeleteMediaType); every other type is freed.
    BOOL FindAudioType(AM_MEDIA_TYPE** out, DWORD samplesPerSec, WORD bitsPerSample);
    // The offered format of this rate and depth.
    BOOL GetAudioFormat(WAVEFORMATEX* out, DWORD samplesPerSec, WORD bitsPerSample);
    // Sets the offered format of this rate and depth; FALSE, nothing changed, when none is.
    BOOL SetAudioFormat(DWORD samplesPerSec, WORD bitsPerSample);

    static CRootFilter* CreateInstance(CRootGraph* graph, int flag);
    static CRootFilter* WrapInstance(CRootGraph* graph, IBaseFilter* filter);
    static CFilterClassRecord s_classRecord;

private:
    CComPtr<IAMStreamConfig> m_pStreamConfig;
};
