// The little-endian records of saved graphs and of the filter state they carry: 32-bit words,
// GUIDs, texts (a 32-bit count of UTF-16 units and the units) and media types, written to a
// buffer and flushed to a stream in one write, or read from a stream field by field.
#pragma once

#include <string>
#include <vector>

#include "objidl.h"
#include "platform/dshow/MediaType.h"

namespace platform::dshow {

class RecordWriter {
public:
    static constexpr DWORD kMaxCount = 0x10000;

    void Bytes(const void* data, size_t size);
    void Dword(DWORD v);
    void Guid(REFGUID g);
    void Text(const std::wstring& text);
    void Type(const MediaType& type);
    // Everything written, in one write; STG_E_CANTSAVE when the stream takes less.
    HRESULT Flush(IStream* stream) const;

private:
    std::vector<BYTE> m_bytes;
};

class RecordReader {
public:
    explicit RecordReader(IStream* stream) : m_stream(stream) {}
    // Each answers false when the stream ends early or a count is beyond kMaxCount.
    bool Bytes(void* data, ULONG size);
    bool Dword(DWORD* v);
    bool Guid(GUID* g);
    bool Text(std::wstring* text);
    bool Type(MediaType* type);

private:
    IStream* m_stream;
};

}  // namespace platform::dshow
