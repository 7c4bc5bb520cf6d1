#pragma once
// Which sources are Markdown: decided by the file's name alone, never guessed from its content,
// so a `.txt` is always read as it was written.

#include <string_view>

namespace text {

// True when `path` ends in ".md", ".markdown", ".mkd" or ".mdown", in any letter case.
bool IsMarkdownName(std::string_view path);

}  // namespace text
