// BMP files of the station's snapshots: a packed device-independent bitmap (its header, its
// colour table or BI_BITFIELDS masks, then the pixels) behind the 14-byte file header.
#pragma once

#include <windows.h>

// Where the pixels of a packed DIB of `size` bytes start, counted from its header: after the
// header, the colour table (biClrUsed entries, or 2^biBitCount up to 8 bits) and, for a 40-byte
// header with BI_BITFIELDS, the three masks. 0 when the header, the table or the masks do not lie
// inside the block.
DWORD DibPixelOffset(const BYTE* dib, DWORD size);

// Writes the block as a BMP file at `path`. The file is written to a temporary file of a new
// name in the target's folder and moved into place, so a failed write leaves the file that was
// there before (and nothing else), and no other file is touched. FALSE without writing for a
// block that DibPixelOffset refuses.
BOOL WriteBitmapFile(const char* path, const BYTE* dib, DWORD size);
