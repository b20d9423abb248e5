// CMpeg2BoxFirmware: the MPEG-2 box's firmware version check and firmware download.
#include "access/Mpeg2BoxFirmware.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "access/Mpeg2BoxAccess.h"

namespace {

constexpr DWORD kVersionProperty = 27;
constexpr DWORD kVersionSize = 20;
constexpr size_t kRunningAt = 10;
constexpr DWORD kFirmwareProperty = 5;
constexpr DWORD kHeaderSize = 12;
constexpr DWORD kLoaderLimit = 200052;
constexpr DWORD kBooting = 1;
constexpr DWORD kRunningMinimum = 204021;
constexpr int kBootReads = 80;
constexpr DWORD kBootPollMs = 50;

// The version texts as the box answers them; FALSE when the Get failed.
BOOL ReadVersion(IUnknown* pFilter, char (&answer)[kVersionSize + 1])
{
    std::memset(answer, 0, sizeof(answer));
    return CMpeg2BoxAccess::GetFilterProperty(pFilter, kVersionProperty, answer, kVersionSize);
}

}  // namespace

DWORD CMpeg2BoxFirmware::ParseVersion(const char* text)
{
    int a = 0;
    int b = 0;
    int c = 0;
    char separator1 = 0;
    char separator2 = 0;
    std::sscanf(text, "%d%c%d%c%d", &a, &separator1, &b, &separator2, &c);
    return static_cast<DWORD>(a * 100000 + b * 1000 + c);
}

BOOL CMpeg2BoxFirmware::CheckFirmwareVersion(IUnknown* pFilter)
{
    char answer[kVersionSize + 1];
    if (!ReadVersion(pFilter, answer)) return FALSE;
    DWORD version = ParseVersion(answer);
    if (version < kLoaderLimit) return FALSE;
    if (version > kLoaderLimit) return TRUE;
    version = kBooting;
    for (int i = 0; i < kBootReads && version == kBooting; ++i) {
        if (i > 0) Sleep(kBootPollMs);
        if (!ReadVersion(pFilter, answer)) return FALSE;
        version = ParseVersion(answer + kRunningAt);
    }
    if (version == kBooting) return FALSE;
    return version >= kRunningMinimum;
}

BOOL CMpeg2BoxFirmware::DownloadFirmware(IUnknown* pFilter, const char* path)
{
    if (!path) return FALSE;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    const DWORD size = GetFileSize(file, nullptr);
    std::vector<BYTE> block;
    DWORD read = 0;
    bool usable = size != INVALID_FILE_SIZE && size > 0 && size <= kImageLimit;
    if (usable) {
        block.assign(kBlockSize, 0);
        usable = ReadFile(file, block.data() + kHeaderSize, size, &read, nullptr) && read == size;
    }
    CloseHandle(file);
    if (!usable) return FALSE;
    for (int i = 0; i < 4; ++i) block[i] = static_cast<BYTE>(size >> (8 * i));
    return CMpeg2BoxAccess::Routines().SetFilterProperty(pFilter, kFirmwareProperty, block.data(), kBlockSize,
                                                         block.data(), kBlockSize, KSPROPSETID_BoxFirmware);
}
