#pragma once
// Reads a source file's text as an ordered list of chunks of 256 characters each (the last
// holds the rest; an empty file gives one empty chunk). Characters are Unicode code points of
// the decoded text, each chunk UTF-8.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace text {
class FileSignatures;
}

namespace quillane {

inline constexpr std::size_t kChunkCharacters = 256;

// The largest source taken; a text this long is no book anyone reads.
inline constexpr std::uint64_t kSourceFileLimit = std::uint64_t{1} << 30;

// A file that is not text (an image, an archive, a program: text/TextDecoder.h judges it with
// `signatures`) raises AppError 13 "not a text file".
// Raises AppError (53 file not found, 70 permission denied, 76 path not found, 57 device I/O
// error, which also covers a folder, a pipe, a device and a file over kSourceFileLimit, each
// with its reason) when the file cannot be opened or read. Nothing but a regular file is
// opened for reading, so a pipe or a device never keeps the run waiting.
std::vector<std::string> ReadTextChunks(const std::string& path, text::FileSignatures& signatures);
// The same for a single file, with signatures of its own.
std::vector<std::string> ReadTextChunks(const std::string& path);

// The chunking alone, for text already decoded.
std::vector<std::string> SplitIntoChunks(std::string_view utf8);

// The whole file as bytes, with the same errors as ReadTextChunks.
std::string ReadFileBytes(const std::string& path);

}  // namespace quillane
