#pragma once
// What every fuzzed book must be, checked with tools that share no code with the writer: a
// container an independent ZIP reader opens, XML files that libxml2 parses, and text whose
// letters can be compared with the source's.

#include <string>
#include <string_view>

namespace quillane::fuzz {

// Aborts with `what` on standard error when `condition` is false; the fuzzer keeps the input.
void Require(bool condition, const char* what);

// A private folder for this fuzzing process, made on first use.
const std::string& WorkFolder();

// Opens the book at `epubPath` and checks its container and every XML file in it; returns the
// text of the content documents' bodies in reading order, with each picture's alternative text
// where the picture stands. The file is removed.
std::string CheckedBookText(const std::string& epubPath);

// The letters and digits of UTF-8 text, in order (ICU's idea of them). Spaces and punctuation
// may change shape on the way to a book (a scene break becomes markup); letters never may.
std::u32string LettersOf(std::string_view utf8);

}  // namespace quillane::fuzz
