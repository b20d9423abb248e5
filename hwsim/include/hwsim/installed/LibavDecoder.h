// A libavcodec decoder fed with an elementary stream in pieces of any size: a parser cuts it
// into the codec's frames, and every picture or block of sound decoded goes to a callback with
// the time stamp of the piece its frame started in. A damaged stream decodes to fewer frames:
// whatever the codec refuses is skipped. Not thread-safe: its owner serialises the calls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

struct AVFrame;

namespace hwsim {

// Keeps the libraries' own messages (a damaged stream's concealment reports) off stderr.
void QuietLibav();

class LibavDecoder {
public:
    // `codecId` is an AVCodecID.
    explicit LibavDecoder(int codecId);
    ~LibavDecoder();
    LibavDecoder(const LibavDecoder&) = delete;
    LibavDecoder& operator=(const LibavDecoder&) = delete;

    bool IsOpen() const;
    // `pts` (100 ns units, or kNoTime) stamps the frames that start in this piece.
    static constexpr int64_t kNoTime = INT64_MIN;
    void Feed(const uint8_t* data, size_t size, int64_t pts, const std::function<void(const AVFrame&)>& frame);
    // Passes on the frames the codec still holds, and starts again.
    void Drain(const std::function<void(const AVFrame&)>& frame);

private:
    struct Codec;
    std::unique_ptr<Codec> m_codec;
    int m_codecId;
};

}  // namespace hwsim
