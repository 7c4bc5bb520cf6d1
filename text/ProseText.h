#pragma once
// The prose of a text, for telling its language: lines of code and command lines are left
// out, and so are addresses (web and mail addresses, paths) and markup (tags, entities)
// inside the lines kept. Words in any language are never the judge of what is left out.

#include <string>
#include <string_view>

namespace text {

// True when `line` reads as code or a command rather than prose: a shell prompt at its start,
// or program punctuation (braces, brackets, operators, sigils) in a good share of its
// characters.
bool LooksLikeCode(std::string_view line);

// True when `line` is a command after a shell prompt: the lines up to the next blank line are
// its output, not prose.
bool StartsWithPrompt(std::string_view line);

// Appends the prose of `line` (no line end) to `out`: tags and entities removed, and every
// word that is an address or a path.
void AppendProse(std::string_view line, std::string& out);

}  // namespace text
