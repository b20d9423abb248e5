// CMpeg2BoxFirmware: the MPEG-2 box's firmware version check and firmware download.
//
// The version (property 27, 20 bytes) holds the loader's version text at byte 0 and the
// running firmware's at byte 10, each "a.b.c"; version = a * 100000 + b * 1000 + c. A loader
// below 2.0.52 is refused, one above accepted; with 2.0.52 exactly the box is asked again, up to
// 80 times 50 ms apart, while its running firmware reports 0.0.1 (still booting), and accepted
// when the firmware then reports 2.4.21 or later.
//
// The download block (property 5 of KSPROPSETID_BoxFirmware, 0x4000C bytes as instance and
// data): the image length as a little-endian DWORD, 8 zero bytes, the image (at most 0x40000
// bytes), zeros to the end.
#pragma once

#include <strmif.h>

// EE6C0342-E3A9-11D2-A53E-00A0C9EF506A
DEFINE_GUID(KSPROPSETID_BoxFirmware, 0xEE6C0342, 0xE3A9, 0x11D2, 0xA5, 0x3E, 0x00, 0xA0, 0xC9, 0xEF, 0x50, 0x6A);

class CMpeg2BoxFirmware {
public:
    static constexpr DWORD kImageLimit = 0x40000;
    static constexpr DWORD kBlockSize = 0x4000C;

    // TRUE when the box runs firmware the system can use.
    static BOOL CheckFirmwareVersion(IUnknown* pFilter);
    // Sends the image in the file at `path`; FALSE, with nothing sent, for a file that is
    // missing, empty, unreadable or longer than kImageLimit.
    static BOOL DownloadFirmware(IUnknown* pFilter, const char* path);
    // "a.b.c" (any separators) as a * 100000 + b * 1000 + c; parts not found count 0.
    static DWORD ParseVersion(const char* text);
};
