// Keys read from a GBK terminal as the terminal display decodes them, read by read, in UTF-8.
#include <gtest/gtest.h>

#include "display/TextCharset.h"

namespace {

TEST(TextCharsetDecode, KeysFromAGbkTerminal) {
    const struct { const char* what; std::vector<std::string> reads, keys; } rows[] = {
        {"a whole character", {"\xC9\xD5" "a"}, {"烧a"}},
        {"a character split over two reads", {"a\xC9", "\xD5" "b"}, {"a", "烧b"}},
        {"a byte that starts no character is dropped", {"\xFF" "a\xC9\xD5"}, {"a烧"}},
        {"and the next read goes on", {"\xFF", "a"}, {"", "a"}},
    };
    for (const auto& row : rows) {
        platform::display::TextCharset charset("GBK");
        for (size_t i = 0; i < row.reads.size(); ++i)
            EXPECT_EQ(charset.Decode(row.reads[i].data(), row.reads[i].size()), row.keys[i]) << row.what << ", read " << i;
    }
}

}  // namespace
