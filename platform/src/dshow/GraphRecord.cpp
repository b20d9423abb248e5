// Records of saved graphs.
#include "GraphRecord.h"

#include "platform/winnls.h"

namespace platform::dshow {

void RecordWriter::Bytes(const void* data, size_t size) {
    const BYTE* p = static_cast<const BYTE*>(data);
    m_bytes.insert(m_bytes.end(), p, p + size);
}

void RecordWriter::Dword(DWORD v) {
    for (int i = 0; i < 4; ++i) m_bytes.push_back(BYTE(v >> (8 * i)));
}

void RecordWriter::Guid(REFGUID g) {
    Dword(g.Data1);
    Dword(DWORD(g.Data2) | (DWORD(g.Data3) << 16));
    Bytes(g.Data4, 8);
}

void RecordWriter::Text(const std::wstring& text) {
    std::u16string units = WideToUtf16(text);
    Dword(DWORD(units.size()));
    for (char16_t u : units) {
        m_bytes.push_back(BYTE(u));
        m_bytes.push_back(BYTE(u >> 8));
    }
}

void RecordWriter::Type(const MediaType& type) {
    const AM_MEDIA_TYPE& mt = type.Get();
    Guid(mt.majortype);
    Guid(mt.subtype);
    Guid(mt.formattype);
    Dword(DWORD(mt.bFixedSizeSamples));
    Dword(DWORD(mt.bTemporalCompression));
    Dword(mt.lSampleSize);
    Dword(mt.cbFormat);
    if (mt.cbFormat) Bytes(mt.pbFormat, mt.cbFormat);
}

HRESULT RecordWriter::Flush(IStream* stream) const {
    ULONG written = 0;
    HRESULT hr = stream->Write(m_bytes.data(), ULONG(m_bytes.size()), &written);
    if (SUCCEEDED(hr) && written != m_bytes.size()) hr = STG_E_CANTSAVE;
    return hr;
}

bool RecordReader::Bytes(void* data, ULONG size) {
    ULONG got = 0;
    return SUCCEEDED(m_stream->Read(data, size, &got)) && got == size;
}

bool RecordReader::Dword(DWORD* v) {
    BYTE b[4];
    if (!Bytes(b, 4)) return false;
    *v = DWORD(b[0]) | (DWORD(b[1]) << 8) | (DWORD(b[2]) << 16) | (DWORD(b[3]) << 24);
    return true;
}

bool RecordReader::Guid(GUID* g) {
    DWORD a, b;
    if (!Dword(&a) || !Dword(&b) || !Bytes(g->Data4, 8)) return false;
    g->Data1 = a;
    g->Data2 = WORD(b);
    g->Data3 = WORD(b >> 16);
    return true;
}

bool RecordReader::Text(std::wstring* text) {
    DWORD count;
    if (!Dword(&count) || count > RecordWriter::kMaxCount) return false;
    std::vector<BYTE> raw(size_t(count) * 2);
    if (count && !Bytes(raw.data(), ULONG(raw.size()))) return false;
    std::u16string units(count, u'\0');
    for (size_t i = 0; i < count; ++i) units[i] = char16_t(raw[2 * i] | (raw[2 * i + 1] << 8));
    *text = Utf16ToWide(units);
    return true;
}

bool RecordReader::Type(MediaType* type) {
    GUID major, subtype, formatType;
    DWORD fixed, temporal, sampleSize, formatSize;
    if (!Guid(&major) || !Guid(&subtype) || !Guid(&formatType) || !Dword(&fixed) || !Dword(&temporal) ||
        !Dword(&sampleSize) || !Dword(&formatSize) || formatSize > RecordWriter::kMaxCount)
        return false;
    std::vector<BYTE> format(formatSize);
    if (formatSize && !Bytes(format.data(), formatSize)) return false;
    *type = MediaType(major, subtype, formatType, format.data(), formatSize);
    type->SetSampleSize(sampleSize, BOOL(fixed));
    return true;
}

}  // namespace platform::dshow
