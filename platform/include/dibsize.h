// The byte size of an uncompressed image: |height| rows of ceil(width * bitCount / 8) bytes,
// each row rounded up to a multiple of 4 bytes, as DIBSIZE (amvideo.h) gives it. A negative
// height (a top-down image) counts as its magnitude; planar formats of 12 or 9 bits per pixel
// come out by the same rule. A width below 1 gives 0; a size beyond a DWORD gives 0.
#pragma once

#include "platform/dibheaders.h"

inline DWORD DibImageSize(LONG width, LONG height, WORD bitCount) {
    if (width < 1) return 0;
    const unsigned long long rowBits = static_cast<unsigned long long>(width) * bitCount;
    const unsigned long long rowBytes = ((rowBits + 31) / 32) * 4;
    const unsigned long long rows = height < 0 ? -static_cast<long long>(height) : height;
    const unsigned long long size = rowBytes * rows;
    return size > 0xFFFFFFFFull ? 0 : static_cast<DWORD>(size);
}

inline DWORD DibImageSize(const BITMAPINFOHEADER& header) {
    return DibImageSize(header.biWidth, header.biHeight, header.biBitCount);
}
