// Media types: the helpers filters and applications free and copy them with, and the owned
// MediaType of the stand-in's pins.
#include "platform/dshow/MediaType.h"

#include <cstring>

#include "objbase.h"
#include "dibsize.h"

namespace {

void ZeroType(AM_MEDIA_TYPE* mt) {
    std::memset(mt, 0, sizeof(*mt));
    mt->bFixedSizeSamples = TRUE;
    mt->lSampleSize = 1;
}

}  // namespace

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source) {
    if (!target || !source) return E_POINTER;
    if (target == source) return S_OK;
    *target = *source;
    target->pbFormat = nullptr;
    if (source->cbFormat && source->pbFormat) {
        target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source->cbFormat));
        if (!target->pbFormat) {
            target->cbFormat = 0;
            target->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        std::memcpy(target->pbFormat, source->pbFormat, source->cbFormat);
    } else {
        target->cbFormat = 0;
    }
    if (target->pUnk) target->pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source) {
    auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!mt) return nullptr;
    if (!source) {
        ZeroType(mt);
        return mt;
    }
    if (FAILED(CopyMediaType(mt, source))) {
        CoTaskMemFree(mt);
        return nullptr;
    }
    return mt;
}

void FreeMediaType(AM_MEDIA_TYPE& mt) {
    if (mt.pbFormat) CoTaskMemFree(mt.pbFormat);
    mt.pbFormat = nullptr;
    mt.cbFormat = 0;
    if (mt.pUnk) mt.pUnk->Release();
    mt.pUnk = nullptr;
}

void DeleteMediaType(AM_MEDIA_TYPE* pmt) {
    if (!pmt) return;
    FreeMediaType(*pmt);
    CoTaskMemFree(pmt);
}

namespace platform::dshow {

MediaType::MediaType() { ZeroType(&m_mt); }

MediaType::MediaType(const AM_MEDIA_TYPE& source) {
    ZeroType(&m_mt);
    CopyMediaType(&m_mt, &source);
}

MediaType::MediaType(REFGUID major, REFGUID subtype, REFGUID formatType, const void* format, ULONG formatSize) {
    ZeroType(&m_mt);
    m_mt.majortype = major;
    m_mt.subtype = subtype;
    SetFormat(formatType, format, formatSize);
}

MediaType::MediaType(const MediaType& other) : MediaType(other.m_mt) {}

MediaType::MediaType(MediaType&& other) noexcept : m_mt(other.m_mt) { ZeroType(&other.m_mt); }

MediaType& MediaType::operator=(const MediaType& other) {
    if (this != &other) {
        FreeMediaType(m_mt);
        CopyMediaType(&m_mt, &other.m_mt);
    }
    return *this;
}

MediaType& MediaType::operator=(MediaType&& other) noexcept {
    if (this != &other) {
        FreeMediaType(m_mt);
        m_mt = other.m_mt;
        ZeroType(&other.m_mt);
    }
    return *this;
}

MediaType::~MediaType() { FreeMediaType(m_mt); }

void MediaType::SetFormat(REFGUID formatType, const void* format, ULONG formatSize) {
    if (m_mt.pbFormat) CoTaskMemFree(m_mt.pbFormat);
    m_mt.pbFormat = nullptr;
    m_mt.cbFormat = 0;
    m_mt.formattype = formatType;
    if (format && formatSize) {
        m_mt.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(formatSize));
        if (m_mt.pbFormat) {
            std::memcpy(m_mt.pbFormat, format, formatSize);
            m_mt.cbFormat = formatSize;
        }
    }
}

void MediaType::SetSampleSize(ULONG size, BOOL fixed) {
    m_mt.lSampleSize = size;
    m_mt.bFixedSizeSamples = fixed;
}

AM_MEDIA_TYPE* MediaType::CreateCopy() const { return CreateMediaType(&m_mt); }

HRESULT MediaType::CopyTo(AM_MEDIA_TYPE* target) const { return CopyMediaType(target, &m_mt); }

bool MediaType::Accepts(const AM_MEDIA_TYPE& other) const {
    auto fits = [](REFGUID mine, REFGUID theirs) { return IsEqualGUID(mine, GUID_NULL) || IsEqualGUID(mine, theirs); };
    if (!fits(m_mt.majortype, other.majortype) || !fits(m_mt.subtype, other.subtype) ||
        !fits(m_mt.formattype, other.formattype))
        return false;
    if (!m_mt.cbFormat) return true;
    return other.cbFormat == m_mt.cbFormat && other.pbFormat &&
           std::memcmp(other.pbFormat, m_mt.pbFormat, m_mt.cbFormat) == 0;
}

bool MediaType::IsComplete() const {
    return !IsEqualGUID(m_mt.majortype, GUID_NULL) && !IsEqualGUID(m_mt.subtype, GUID_NULL) &&
           !IsEqualGUID(m_mt.formattype, GUID_NULL);
}

bool operator==(const MediaType& a, const MediaType& b) {
    const AM_MEDIA_TYPE& x = a.Get();
    const AM_MEDIA_TYPE& y = b.Get();
    return IsEqualGUID(x.majortype, y.majortype) && IsEqualGUID(x.subtype, y.subtype) &&
           IsEqualGUID(x.formattype, y.formattype) && x.cbFormat == y.cbFormat &&
           (x.cbFormat == 0 || std::memcmp(x.pbFormat, y.pbFormat, x.cbFormat) == 0);
}

MediaType VideoInfoType(REFGUID subtype, LONG width, LONG height, WORD bitCount, REFERENCE_TIME avgTimePerFrame) {
    VIDEOINFOHEADER vih = {};
    vih.AvgTimePerFrame = avgTimePerFrame;
    vih.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih.bmiHeader.biWidth = width;
    vih.bmiHeader.biHeight = height;
    vih.bmiHeader.biPlanes = 1;
    vih.bmiHeader.biBitCount = bitCount;
    DWORD fourcc = 0;
    vih.bmiHeader.biCompression = platform::IsFourCCGuid(subtype, &fourcc) ? fourcc : BI_RGB;
    vih.bmiHeader.biSizeImage = DibImageSize(width, height, bitCount);
    MediaType mt(MEDIATYPE_Video, subtype, FORMAT_VideoInfo, &vih, sizeof(vih));
    mt.SetSampleSize(vih.bmiHeader.biSizeImage, TRUE);
    return mt;
}

MediaType PcmAudioType(WORD channels, DWORD samplesPerSec, WORD bitsPerSample) {
    WAVEFORMATEX wfx = {};
    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = channels;
    wfx.nSamplesPerSec = samplesPerSec;
    wfx.wBitsPerSample = bitsPerSample;
    wfx.nBlockAlign = WORD(channels * bitsPerSample / 8);
    wfx.nAvgBytesPerSec = samplesPerSec * wfx.nBlockAlign;
    MediaType mt(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, &wfx, sizeof(wfx));
    mt.SetSampleSize(wfx.nBlockAlign, TRUE);
    return mt;
}

}  // namespace platform::dshow
