#pragma once
// Which hyperlink targets a book may carry. Only web and mail links leave the book: a
// "javascript:", "file:" or unknown scheme could run code or reach local files in a reading
// system, so such link text is written as plain text.

#include <optional>
#include <string>
#include <string_view>

namespace Tessaly::Docs {

// The target as an href value (not yet XML-escaped) when it is an http, https or mailto link
// with something after the scheme, and a web link's host is a valid host name or address;
// characters a URL may not hold elsewhere (white space, controls, non-ASCII, a second '#', a
// stray '%') are percent-encoded. Empty when the link is not safe or not a valid URL.
std::optional<std::string> SafeHref(std::string_view target);

}  // namespace Tessaly::Docs
