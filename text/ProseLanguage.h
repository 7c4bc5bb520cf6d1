#pragma once
// The language of most of a text's prose. The prose (text/ProseText.h) is cut into chunks of
// a paragraph or a few kilobytes; each chunk the identifier is sure of votes for its languages
// by the letters it holds in each. A language wins with a clear majority, three fifths of all
// votes; without one the answer is empty ("und" in the book): a text half in one language and
// half in another has no one language.

#include <string>
#include <string_view>

namespace text {

// The BCP 47 tag of the language most of `utf8`'s prose is written in, or empty. A long text
// is read in windows spread over its whole length, so the cost is bounded.
std::string ProseLanguageOf(std::string_view utf8);

}  // namespace text
