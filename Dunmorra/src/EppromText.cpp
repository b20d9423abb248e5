// CEppromWriter: images as text, and image files (the raw bytes, nothing else).
#include <climits>
#include <new>

#include "dunmorra/EppromWriter.h"

namespace {

CString PairsText(const CVectorPairByte& pairs) {
    CString text;
    for (const CPairByte& pair : pairs) text.AppendFormat("Pos : %02x, Data : %02x \n", pair.first, pair.second);
    return text;
}

}  // namespace

CString CEppromWriter::FormatData(unsigned char* pData, int iLength) {
    CString text;
    if (pData == nullptr || iLength < 1) return text;
    int i = 0;
    auto bytes = [&](int count) {
        for (int end = i + count; i < end; ++i) text.AppendFormat("0x%02x,", pData[i]);
    };
    while (iLength - i >= 16) {
        bytes(8);
        text += ' ';
        bytes(8);
        text += " \n";
    }
    if (iLength - i >= 8) {
        bytes(8);
        text += ' ';
    }
    bytes(iLength - i);
    text.Delete(text.GetLength() - 1);
    text += '\n';
    return text;
}

CString CEppromWriter::FormatPair(CPairByte& pair) {
    CVectorPairByte pairs;
    pairs.push_back(pair);
    return PairsText(pairs);
}

CString CEppromWriter::FormatVectorPairByte(CVectorPairByte& vec) {
    return PairsText(vec);
}

CString CEppromWriter::FormatInfo(CEppromInfo& info) {
    struct Section {
        const char* title;
        const CVectorPairByte& slot;
    };
    const Section sections[] = {
        {"Vendor :\n", info.GetVendor()},   {"SubWindowID : \n", info.GetSubWindowID()},
        {"Company : \n", info.GetCompany()}, {"Chipset : \n", info.GetChipset()},
        {"Model: \n", info.GetModel()},      {"Factory : \n", info.GetFactory()},
    };
    CString text;
    for (const Section& section : sections) {
        text += section.title;
        text += PairsText(section.slot);
    }
    return text;
}

bool CEppromWriter::LoadFromFile(const char* pszPath, unsigned char** ppData, int& iLength) {
    if (pszPath == nullptr || ppData == nullptr) return false;
    HANDLE file = CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = false;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    if (size != INVALID_FILE_SIZE && high == 0 && size >= 1 && size <= DWORD(INT_MAX)) {
        unsigned char* buffer = new (std::nothrow) unsigned char[size];
        DWORD read = 0;
        if (buffer != nullptr && ReadFile(file, buffer, size, &read, nullptr) && read >= 1) {
            *ppData = buffer;
            iLength = int(read);
            ok = true;
        } else {
            delete[] buffer;
        }
    }
    CloseHandle(file);
    return ok;
}

bool CEppromWriter::LoadFromFile(const char* pszPath, CMemData& data) {
    unsigned char* bytes = nullptr;
    int length = 0;
    if (!LoadFromFile(pszPath, &bytes, length)) return false;
    data.Reset(bytes, length);
    return true;
}

bool CEppromWriter::WriteEppromToFile(const char* pszPath, unsigned char* pData, int iSize) {
    if (pszPath == nullptr || pData == nullptr || iSize < 1) return false;
    HANDLE file = CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, pData, DWORD(iSize), &written, nullptr) && written == DWORD(iSize);
    ok = CloseHandle(file) && ok;
    return ok;
}

bool CEppromWriter::WriteEppromToFile(const char* pszPath, CEppromData& image) {
    if (!image.IsValid()) return false;
    return WriteEppromToFile(pszPath, image.GetData(), image.GetDataSize());
}
