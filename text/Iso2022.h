#pragma once
// The 7-bit encodings of East Asian mail and older texts: ISO-2022-JP (and its -2 and -3
// extensions), ISO-2022-KR, ISO-2022-CN and HZ. Their bytes are all ASCII, so they are
// recognised by their escape sequences (HZ by its "~{" ... "~}" runs) before a text is taken
// for ASCII.

#include <optional>
#include <string>
#include <string_view>

#include "text/EncodingConversion.h"

namespace text {

// The encoding (an iconv or ICU name: "ISO-2022-JP", "ISO-2022-JP-2", "ISO-2022-JP-3",
// "ISO-2022-KR", "ISO-2022-CN-EXT", "HZ-GB-2312") when `bytes` are 7-bit and designate one
// of these character sets; nullopt otherwise. Linear in the size of `bytes`.
std::optional<std::string> Iso2022EncodingOf(std::string_view bytes);

// `bytes` in `encoding` (an answer of Iso2022EncodingOf) as UTF-8; a byte that is not text
// in it is read by the one policy, and the characters around it are kept.
Conversion DecodeIso2022(std::string_view bytes, const std::string& encoding);

}  // namespace text
