// CSampleGrabberFilter: the wrapper of the system sample grabber, registered by its CLSID. Hands
// grabbed frames to the station's CGrabberCallback (held, not owned) and asks it for snapshots.
#pragma once

#include <qedit.h>

#include "graph/FilterClassRecord.h"
#include "graph/GrabberCallback.h"
#include "graph/FilterWrapperClass.h"
#include "graph/RootFilter.h"

class CSampleGrabberFilter : public CFilterWrapper<CSampleGrabberFilter> {
public:
    using CFilterWrapper::CFilterWrapper;
    ~CSampleGrabberFilter() override;

    // Opens ISampleGrabber.
    BOOL Init() override;

    // The grabber takes RGB24 video.
    BOOL SetMediaTypeRGB24();
    // Needs the grabber connected on both sides (else FALSE, the callback kept). A NULL callback
    // is taken from the grabber and dropped, and answers FALSE. Otherwise hands the connected
    // video format to the callback, turns buffering and one-shot off and sets the callback
    // (buffer method).
    BOOL SetCallback(CGrabberCallback* callback);
    // FALSE without a callback; else the callback's RequestSnapshot.
    BOOL RequestSnapshot(const char* path);
    CGrabberCallback* GetCallback() const { return m_pCallback; }

    static CFilterClassRecord s_classRecord;

private:
    CComPtr<ISampleGrabber> m_pGrabber;
    CGrabberCallback* m_pCallback = nullptr;
};
