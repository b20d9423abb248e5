// Columns a text takes in a terminal: East Asian wide characters take two. Internal.
#pragma once

#include <string>

namespace platform::display {

// Text is decoded by the platform's one UTF-8 codec (platform/winnls.h): an invalid sequence
// takes one column as U+FFFD and never swallows the character after it.
int CharWidth(char32_t ch);
int TextWidth(const std::string& text);
// Tabs expanded to the next multiple of eight columns.
std::string ExpandTabs(const std::string& line);

}  // namespace platform::display
