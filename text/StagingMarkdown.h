#pragma once
// How a staged document carries a Markdown source. The staging RTF keeps the text as
// paragraphs, so any RTF reader shows it, and adds two ignorable destinations before the body:
//
//   {\*\quillanemarkdownsource PATH}{\*\quillanemarkdown TEXT}
//
// PATH is the source's path as the list holds it (bytes, not necessarily UTF-8), so pictures
// beside the source are found from the staged copy in the run folder; TEXT is the decoded
// source in UTF-8. Both are written byte for byte: printable ASCII as itself, `\`, `{` and `}`
// escaped, every other byte as \'hh. The document library reads such a document as the
// Markdown file itself, so the window and the converter make the same book.

#include <string_view>

namespace text {

inline constexpr std::string_view kMarkdownTextDestination = "quillanemarkdown";
inline constexpr std::string_view kMarkdownSourceDestination = "quillanemarkdownsource";

}  // namespace text
