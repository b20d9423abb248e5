// CSampleGrabberFilter: the wrapper of the system sample grabber, registered by its CLSID.
#include "graph/SampleGrabberFilter.h"

#include <cstddef>
#include <cstring>

#include "graph/FilterWrapperClass.h"
#include "graph/FormatBlock.h"

CFilterClassRecord CSampleGrabberFilter::s_classRecord = Record(&CLSID_SampleGrabber, nullptr, "SampleGrabber");

CSampleGrabberFilter::~CSampleGrabberFilter() {
    m_pGrabber.Release();
}

BOOL CSampleGrabberFilter::Init() {
    m_pGrabber.Release();
    m_pCallback = nullptr;
    if (!IsValid()) return FALSE;
    return SUCCEEDED(m_pFilter->QueryInterface(IID_ISampleGrabber, reinterpret_cast<void**>(&m_pGrabber))) ? TRUE
                                                                                                         : FALSE;
}

BOOL CSampleGrabberFilter::SetMediaTypeRGB24() {
    if (m_pGrabber == nullptr) return FALSE;
    AM_MEDIA_TYPE mediaType;
    std::memset(&mediaType, 0, sizeof(mediaType));
    mediaType.majortype = MEDIATYPE_Video;
    mediaType.subtype = MEDIASUBTYPE_RGB24;
    mediaType.bFixedSizeSamples = TRUE;
    mediaType.bTemporalCompression = FALSE;
    mediaType.lSampleSize = 1;
    mediaType.formattype = GUID_NULL;
    return SUCCEEDED(m_pGrabber->SetMediaType(&mediaType)) ? TRUE : FALSE;
}

BOOL CSampleGrabberFilter::SetCallback(CGrabberCallback* callback) {
    if (m_pGrabber == nullptr) return FALSE;
    if (FindPinByDirection(PINDIR_INPUT, TRUE) != nullptr || FindPinByDirection(PINDIR_OUTPUT, TRUE) != nullptr)
        return FALSE;
    if (callback == nullptr) {
        // The grabber lets go of the old callback first, so it never calls one the station dropped.
        m_pGrabber->SetCallback(nullptr, 1);
        m_pCallback = nullptr;
        return FALSE;
    }
    AM_MEDIA_TYPE mediaType;
    std::memset(&mediaType, 0, sizeof(mediaType));
    if (SUCCEEDED(m_pGrabber->GetConnectedMediaType(&mediaType))) {
        if (const VIDEOINFOHEADER* video = FormatBlockAs<VIDEOINFOHEADER>(&mediaType, FORMAT_VideoInfo))
            callback->SetVideoFormat(&video->bmiHeader,
                                     DWORD(mediaType.cbFormat - offsetof(VIDEOINFOHEADER, bmiHeader)));
        FreeMediaType(mediaType);
    }
    m_pGrabber->SetBufferSamples(FALSE);
    m_pGrabber->SetOneShot(FALSE);
    const HRESULT hr = m_pGrabber->SetCallback(callback, 1);
    m_pCallback = callback;
    return SUCCEEDED(hr) ? TRUE : FALSE;
}

BOOL CSampleGrabberFilter::RequestSnapshot(const char* path) {
    if (m_pCallback == nullptr) return FALSE;
    return m_pCallback->RequestSnapshot(path);
}
