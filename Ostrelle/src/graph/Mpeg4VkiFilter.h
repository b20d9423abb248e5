// CMpeg4VkiFilter: the wrapper of the system's MPEG-4 VKI video compressors: the compressor's
// dialog interface (state and dialogs) and a frame-rate setting on its output pin. One subclass
// per version exists so that each compressor name has its registration record; the records have
// the video-compressor category and the version's FriendlyName, so a compressor is always bound
// by name, and each version binds its own device.
#pragma once

#include "graph/FilterClassRecord.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CMpeg4VkiFilter : public CRootFilter {
public:
    using CRootFilter::CRootFilter;
    ~CMpeg4VkiFilter() override;

    // Opens IAMVfwCompressDialogs; TRUE whenever the filter is valid (without the interface the
    // dialog operations answer FALSE).
    BOOL Init() override;

    // IAMVfwCompressDialogs::GetState / SetState; TRUE only for S_OK. GetState needs pcbState.
    BOOL GetState(void* pState, int* pcbState);
    BOOL SetState(void* pState, int cbState);
    BOOL ShowDialog(int iDialog, HWND hwnd);
    // Sets the output format's AvgTimePerFrame to 10000000 / fps on the first connected output
    // pin; FALSE for fps outside 1 to 30, without a connected output, or another format kind.
    BOOL SetFrameRate(int fps);

private:
    CComPtr<IAMVfwCompressDialogs> m_pCompressDialogs;
};

class CMpeg4VkiV1Filter : public CFilterWrapper<CMpeg4VkiV1Filter, CMpeg4VkiFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    static CFilterClassRecord s_classRecord;
};

class CMpeg4VkiV2Filter : public CFilterWrapper<CMpeg4VkiV2Filter, CMpeg4VkiFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    static CFilterClassRecord s_classRecord;
};

class CMpeg4VkiV3Filter : public CFilterWrapper<CMpeg4VkiV3Filter, CMpeg4VkiFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    static CFilterClassRecord s_classRecord;
};
