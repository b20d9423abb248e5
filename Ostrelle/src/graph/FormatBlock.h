// Reading a media type's format block as the structure its format type names: the block is
// used only when the format type matches and the block covers the whole structure; a shorter
// block counts as another format. Also: a wave format's fields copied one by one.
#pragma once

#include <dshow.h>

template <class T>
T* FormatBlockAs(const AM_MEDIA_TYPE* mediaType, REFGUID formatType) {
    if (mediaType == nullptr || !IsEqualGUID(mediaType->formattype, formatType)) return nullptr;
    if (mediaType->pbFormat == nullptr || mediaType->cbFormat < sizeof(T)) return nullptr;
    return reinterpret_cast<T*>(mediaType->pbFormat);
}

// The seven fields of a wave format, each by itself (the bytes between them stay as they are).
inline void CopyWaveFields(WAVEFORMATEX* to, const WAVEFORMATEX& from) {
    to->wFormatTag = from.wFormatTag;
    to->nChannels = from.nChannels;
    to->nSamplesPerSec = from.nSamplesPerSec;
    to->nAvgBytesPerSec = from.nAvgBytesPerSec;
    to->nBlockAlign = from.nBlockAlign;
    to->wBitsPerSample = from.wBitsPerSample;
    to->cbSize = from.cbSize;
}
