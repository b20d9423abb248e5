// Columns a text takes in a terminal: East Asian wide characters take two. Internal.
#pragma once

#include <string>
#include <vector>

namespace platform::display {

// The code points of a UTF-8 text (a stray byte stands for itself).
std::vector<char32_t> DecodeUtf8(const std::string& text);
std::string EncodeUtf8(char32_t ch);
int CharWidth(char32_t ch);
int TextWidth(const std::string& text);
// Tabs expanded to the next multiple of eight columns.
std::string ExpandTabs(const std::string& line);

}  // namespace platform::display
