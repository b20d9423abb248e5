// The generator of the Xceive tuners' firmware set. The lists are our own synthetic firmware:
// the constexpr functions below make them while the library is compiled, so the bytes are the
// same on every build and the generator is their only source.
//
// A list is a walk of records, each behind a 16-bit big-endian head W: 0xFFFF ends the list,
// 0x0000 asks for a reset pulse, W with bit 15 set is a sleep of W & 0x7FFF ms, any other W is
// a data record of W bytes, d[0] followed by W - 1 payload bytes. The player sends a data
// record in chunks that each repeat d[0], so the chip can put a record together whatever the
// chunking; every data record therefore describes itself:
//
//   byte 0      d[0]: (list id + 1) << 4 | length code (W - 1 when at most 15, else 0)
//   byte 1      sequence number bits 7-0 (the list's data records counted from 0)
//   byte 2      bits 7-6 sequence bits 9-8; bit 5 set on the list's last data record;
//               bits 4-0 filler
//   byte 3      check: CRC-8 (polynomial 0x07, start 0) of every other byte of the record
//   bytes 4-5   length code 0 only: W - 1, high byte first
//   the rest    filler
//
// A data record is at least 4 bytes long. d[0] is never 0x00, which heads the chip's register
// writes.
//
// The simulated chip (hwsim/src/chips/XceiveTuner.cpp) checks this record format on its own,
// from its own constants, so a change to the format is made in both.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace xcfw {

inline constexpr int kListCount = 11;
inline constexpr size_t kHeaderBytes = 4;
inline constexpr size_t kExtendedHeaderBytes = 6;
inline constexpr uint8_t kLastRecord = 0x20;

// A sleep at a record number (counted from 1, a leading reset being record 1).
struct Sleep {
    int record;
    uint16_t ms;
};

// What a list looks like: its size (end word included) and records; data records are the
// large ones, spread over the list, and small ones of nearly equal length filling the rest.
struct Shape {
    int id;  // 0 to 10, the chip's list identity
    size_t size;
    int records;
    bool reset;  // record 1 is a reset
    std::array<Sleep, 2> sleeps;  // record 0: no sleep
    size_t largeLength;
    int largeCount;
};

constexpr uint8_t Crc8Step(uint8_t crc, uint8_t byte)
{
    crc = static_cast<uint8_t>(crc ^ byte);
    for (int bit = 0; bit < 8; ++bit) crc = static_cast<uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
    return crc;
}

// The check byte of a record (every byte but byte 3).
constexpr uint8_t RecordCheck(const uint8_t* record, size_t length)
{
    uint8_t crc = 0;
    for (size_t i = 0; i < length; ++i)
        if (i != 3) crc = Crc8Step(crc, record[i]);
    return crc;
}

constexpr int DataRecords(const Shape& shape)
{
    int count = shape.records - (shape.reset ? 1 : 0);
    for (const Sleep& sleep : shape.sleeps)
        if (sleep.record != 0) --count;
    return count;
}

// Length of data record `index` (counted from 0).
constexpr size_t DataRecordLength(const Shape& shape, int index)
{
    const int data = DataRecords(shape);
    for (int large = 0; large < shape.largeCount; ++large)
        if (index == (2 * large + 1) * data / (2 * shape.largeCount)) return shape.largeLength;
    const size_t heads = 2 * static_cast<size_t>(shape.records) + 2;
    const size_t small = shape.size - heads - shape.largeLength * static_cast<size_t>(shape.largeCount);
    const size_t count = static_cast<size_t>(data - shape.largeCount);
    int smallIndex = index;
    for (int large = 0; large < shape.largeCount; ++large)
        if ((2 * large + 1) * data / (2 * shape.largeCount) < index) --smallIndex;
    const size_t k = static_cast<size_t>(smallIndex);
    const size_t extra = small % count;
    return small / count + ((k + 1) * extra / count - k * extra / count);
}

// The filler: a xorshift stream per list.
class Filler {
public:
    constexpr explicit Filler(int id) : m_state(0x9E3779B9u ^ (static_cast<uint32_t>(id + 1) * 0x85EBCA6Bu)) {}
    constexpr uint8_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<uint8_t>(m_state >> 24);
    }

private:
    uint32_t m_state;
};

template <size_t N>
class Writer {
public:
    constexpr void Word(uint16_t word)
    {
        Byte(static_cast<uint8_t>(word >> 8));
        Byte(static_cast<uint8_t>(word & 0xFF));
    }
    constexpr void Byte(uint8_t value)
    {
        if (m_at >= N) throw std::logic_error("firmware list longer than its shape");
        m_bytes[m_at++] = value;
    }
    constexpr size_t At() const { return m_at; }
    constexpr uint8_t* Data() { return m_bytes.data(); }
    constexpr const std::array<uint8_t, N>& Bytes() const { return m_bytes; }

private:
    std::array<uint8_t, N> m_bytes{};
    size_t m_at = 0;
};

template <size_t N>
constexpr void WriteDataRecord(Writer<N>& out, const Shape& shape, int sequence, bool last, size_t length,
                               Filler& filler)
{
    if (length < kHeaderBytes || length > 0x7FFF) throw std::logic_error("data record length out of range");
    const size_t payload = length - 1;
    const bool extended = payload > 15;
    if (extended && length < kExtendedHeaderBytes) throw std::logic_error("extended record too short");
    out.Word(static_cast<uint16_t>(length));
    const size_t start = out.At();
    out.Byte(static_cast<uint8_t>(((shape.id + 1) << 4) | (extended ? 0 : payload)));
    out.Byte(static_cast<uint8_t>(sequence & 0xFF));
    out.Byte(static_cast<uint8_t>(((sequence >> 8) & 0x03) << 6 | (last ? kLastRecord : 0) | (filler.Next() & 0x1F)));
    out.Byte(0);  // the check, below
    size_t written = kHeaderBytes;
    if (extended) {
        out.Byte(static_cast<uint8_t>(payload >> 8));
        out.Byte(static_cast<uint8_t>(payload & 0xFF));
        written = kExtendedHeaderBytes;
    }
    for (; written < length; ++written) out.Byte(filler.Next());
    out.Data()[start + 3] = RecordCheck(out.Data() + start, length);
}

template <size_t N>
constexpr std::array<uint8_t, N> Generate(const Shape& shape)
{
    if (shape.size != N) throw std::logic_error("shape and array size differ");
    if (shape.id < 0 || shape.id >= kListCount) throw std::logic_error("list id out of range");
    Writer<N> out;
    Filler filler(shape.id);
    const int data = DataRecords(shape);
    int sequence = 0;
    for (int record = 1; record <= shape.records; ++record) {
        if (record == 1 && shape.reset) {
            out.Word(0x0000);
            continue;
        }
        bool slept = false;
        for (const Sleep& sleep : shape.sleeps) {
            if (sleep.record == record) {
                out.Word(static_cast<uint16_t>(0x8000 | sleep.ms));
                slept = true;
            }
        }
        if (slept) continue;
        WriteDataRecord(out, shape, sequence, sequence == data - 1, DataRecordLength(shape, sequence), filler);
        ++sequence;
    }
    out.Word(0xFFFF);
    if (out.At() != N) throw std::logic_error("firmware list shorter than its shape");
    return out.Bytes();
}

}  // namespace xcfw
