#pragma once
// Reading our outputs back in tests: the text an RTF document of ours carries, and the words a
// reader sees in an EPUB book.

#include <string>
#include <vector>

namespace quillane::test {

// The text of a staging RTF document: \par as "\n", \tab as "\t", \'hh as Windows-1252,
// \uN (with its one fallback character skipped) as UTF-16, groups other than the body (and
// ignorable destinations) skipped.
// The \title of its \info group goes into `title` when given.
std::string TextOfStagingRtf(const std::string& rtf, std::string* title = nullptr);

// The words of the book's content documents in reading order (markup gone, entities decoded).
std::vector<std::string> WordsOfBook(const std::string& epubPath);

// The words of a plain text.
std::vector<std::string> WordsOf(const std::string& text);

// True when `part` occurs in `whole` as a run of consecutive words.
bool ContainsRun(const std::vector<std::string>& whole, const std::vector<std::string>& part);

// `unzip -p book member`.
std::string ZipMember(const std::string& epubPath, const std::string& member);

}  // namespace quillane::test
