#pragma once
// Whether a space goes where two wrapped lines of one paragraph are joined. The script decides,
// from the Unicode line-breaking classes (UAX #14) of the characters either side of the join:
// Han, kana, Thai and the other scripts written without spaces take none, Hangul, Cyrillic and
// Latin take one. A web address cut at the line end ("https://" / "www.example.org") is joined
// tightly when the next line goes on with it.

#include <string_view>

namespace Tessaly::Docs {

// `before` ends the earlier line and `after` starts the later one, both without the blanks at
// the join.
bool SpaceAtJoin(std::string_view before, std::string_view after);

// The character is written without spaces around it when its neighbour is written so too:
// ideographs, kana, the South-East Asian scripts, full-width punctuation.
bool IsSpacelessScript(char32_t c);

// The character takes two columns of a fixed-width line (East Asian wide or full-width).
bool IsWideCharacter(char32_t c);

}  // namespace Tessaly::Docs
