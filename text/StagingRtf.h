#pragma once
// Plain text as an RTF document: one font, no styles, the source's file name as the title, and
// every line of the text a paragraph. The program stages every source this way for the
// converter, and the document library reads a plain-text file through the same document, so
// a text makes the same book whichever way it comes.
//
// Lines end at CR LF, at a lone LF and at a lone CR; the last line is a paragraph whether or
// not it has a line end, and an empty text gives an empty body. A form feed is a page break,
// a vertical tab a line break within the paragraph. `\`, `{` and `}` are escaped;
// characters of Windows-1252 (the declared code page) are written as \'hh, every other
// character as \uN with a "?" fallback (\uc1), characters beyond U+FFFF as two \uN of their
// UTF-16 surrogate pair. Nothing of the text is lost.
//
// A Markdown source (its path given as `markdownSource`) also travels verbatim, with that
// path, in the destinations text/StagingMarkdown.h describes, so its formatting survives.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace text {

// Hands the document out in pieces of bounded size, so a large text is never held twice.
void WriteStagingRtf(std::string_view utf8Text, std::string_view title,
                     const std::function<void(std::string_view)>& emit,
                     std::optional<std::string_view> markdownSource = std::nullopt);

// The whole document as one string.
std::string StagingRtf(std::string_view utf8Text, std::string_view title,
                       std::optional<std::string_view> markdownSource = std::nullopt);

}  // namespace text
