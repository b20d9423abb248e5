// BMP files of the station's snapshots.
#include "graph/BitmapFile.h"

#include <cstring>
#include <string>

DWORD DibPixelOffset(const BYTE* dib, DWORD size) {
    BITMAPINFOHEADER header;
    if (dib == nullptr || size < sizeof(header)) return 0;
    std::memcpy(&header, dib, sizeof(header));
    if (header.biSize < sizeof(header) || header.biSize > size) return 0;
    unsigned long long colours = header.biClrUsed;
    if (colours == 0 && header.biBitCount >= 1 && header.biBitCount <= 8) colours = 1ull << header.biBitCount;
    unsigned long long offset = header.biSize + colours * sizeof(RGBQUAD);
    // Larger headers carry the masks themselves.
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(header)) offset += 3 * sizeof(DWORD);
    return offset <= size ? DWORD(offset) : 0;
}

namespace {

BOOL WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// The folder part of a path ("." for a bare name).
std::string FolderOf(const char* path) {
    const std::string whole(path);
    const size_t slash = whole.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    return slash == 0 ? whole.substr(0, 1) : whole.substr(0, slash);
}

}  // namespace

BOOL WriteBitmapFile(const char* path, const BYTE* dib, DWORD size) {
    const DWORD pixelOffset = DibPixelOffset(dib, size);
    if (path == nullptr || pixelOffset == 0) return FALSE;
    BITMAPFILEHEADER fileHeader;
    std::memset(&fileHeader, 0, sizeof(fileHeader));
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = DWORD(sizeof(fileHeader)) + size;
    fileHeader.bfOffBits = DWORD(sizeof(fileHeader)) + pixelOffset;

    // The temporary file is one of our own, made under a new name in the target's folder, so no
    // file that another program keeps there is written over or removed.
    char temporary[MAX_PATH];
    if (GetTempFileNameA(FolderOf(path).c_str(), "bmp", 0, temporary) == 0) return FALSE;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temporary);
        return FALSE;
    }
    BOOL ok = WriteAll(file, &fileHeader, sizeof(fileHeader)) && WriteAll(file, dib, size);
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING);
    if (!ok) DeleteFileA(temporary);
    return ok ? TRUE : FALSE;
}
