// An owned media type (the AM_MEDIA_TYPE and its format block), matching with wildcards, and
// builders for the video and audio types filters offer.
#pragma once

#include "amvideo.h"
#include "mmreg.h"
#include "mtype.h"
#include "uuids.h"

namespace platform::dshow {

class PLATFORM_API MediaType {
public:
    MediaType();
    explicit MediaType(const AM_MEDIA_TYPE& source);
    MediaType(REFGUID major, REFGUID subtype, REFGUID formatType = GUID_NULL, const void* format = nullptr,
              ULONG formatSize = 0);
    MediaType(const MediaType& other);
    MediaType(MediaType&& other) noexcept;
    MediaType& operator=(const MediaType& other);
    MediaType& operator=(MediaType&& other) noexcept;
    ~MediaType();

    const AM_MEDIA_TYPE& Get() const { return m_mt; }
    const GUID& Major() const { return m_mt.majortype; }
    const GUID& Subtype() const { return m_mt.subtype; }
    const GUID& FormatType() const { return m_mt.formattype; }
    const BYTE* Format() const { return m_mt.pbFormat; }
    ULONG FormatSize() const { return m_mt.cbFormat; }
    // The format block as T when it is at least that large, else null.
    template <class T>
    const T* FormatAs() const {
        return m_mt.cbFormat >= sizeof(T) ? reinterpret_cast<const T*>(m_mt.pbFormat) : nullptr;
    }

    void SetFormat(REFGUID formatType, const void* format, ULONG formatSize);
    void SetSampleSize(ULONG size, BOOL fixed);
    // A copy allocated as enumerators and GetFormat hand them out (free with DeleteMediaType).
    AM_MEDIA_TYPE* CreateCopy() const;
    // Fills a caller's AM_MEDIA_TYPE with a deep copy (free with FreeMediaType).
    HRESULT CopyTo(AM_MEDIA_TYPE* target) const;

    // True when `other` fits this type, whose GUID_NULL major type, subtype or format type match
    // anything; a format block, when this type has one, must be equal too.
    bool Accepts(const AM_MEDIA_TYPE& other) const;
    // True when major type, subtype and format type are all given.
    bool IsComplete() const;

private:
    AM_MEDIA_TYPE m_mt;
};

PLATFORM_API bool operator==(const MediaType& a, const MediaType& b);

// MEDIATYPE_Video with a VIDEOINFOHEADER of the given size and depth (biCompression from a
// FOURCC subtype, BI_RGB otherwise).
PLATFORM_API MediaType VideoInfoType(REFGUID subtype, LONG width, LONG height, WORD bitCount,
                                     REFERENCE_TIME avgTimePerFrame = 400000);
// MEDIATYPE_Audio, MEDIASUBTYPE_PCM with a WAVEFORMATEX.
PLATFORM_API MediaType PcmAudioType(WORD channels, DWORD samplesPerSec, WORD bitsPerSample);

}  // namespace platform::dshow
