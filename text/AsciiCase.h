#pragma once
// Letter case of ASCII alone, for names that are ASCII by definition: file extensions, URL
// schemes, style and font names, field and language codes. A-Z and a-z fold into each other;
// every other byte, UTF-8 included, compares exactly, whatever the process's locale.

#include <string>
#include <string_view>

namespace text {

constexpr char ToLowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string ToLowerAscii(std::string_view text);

bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

}  // namespace text
