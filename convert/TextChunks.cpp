#include "convert/TextChunks.h"

#include <cstdint>
#include <cstring>

#include "fileio/File.h"
#include "text/FileSignatures.h"
#include "text/TextDecoder.h"
#include "util/AppError.h"
#include "util/FileBytes.h"

namespace quillane {

std::string ReadFileBytes(const std::string& path) {
    std::string bytes;
    if (const fileio::FileStatus status = fileio::ReadRegularFile(path, kSourceFileLimit, bytes);
        !status.ok()) {
        RaiseFileStatus(status);
    }
    return bytes;
}

namespace {

// True when the `count` bytes at `p` are all ASCII, checked eight at a time.
bool AllAscii(const char* p, std::size_t count) {
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if ((word & 0x8080808080808080ULL) != 0) {
            return false;
        }
    }
    for (; i < count; ++i) {
        if (static_cast<unsigned char>(p[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::vector<std::string> SplitIntoChunks(std::string_view utf8) {
    std::vector<std::string> chunks;
    chunks.reserve(utf8.size() / kChunkCharacters + 1);
    std::size_t start = 0;
    while (start < utf8.size()) {
        const std::size_t left = utf8.size() - start;
        std::size_t end = start;
        if (left >= kChunkCharacters && AllAscii(utf8.data() + start, kChunkCharacters)) {
            end = start + kChunkCharacters;  // the common case: one byte per character
        } else {
            // Count characters; a continuation byte belongs to the character before it.
            std::size_t characters = 0;
            while (end < utf8.size()) {
                if ((static_cast<unsigned char>(utf8[end]) & 0xC0) != 0x80) {
                    if (characters == kChunkCharacters) {
                        break;
                    }
                    ++characters;
                }
                ++end;
            }
        }
        chunks.emplace_back(utf8.substr(start, end - start));
        start = end;
    }
    if (chunks.empty()) {
        chunks.emplace_back();
    }
    return chunks;
}

std::vector<std::string> ReadTextChunks(const std::string& path, text::FileSignatures& signatures) {
    std::string bytes = ReadFileBytes(path);
    if (text::LooksLikeBinary(bytes, signatures)) {
        throw AppError(errc::kTypeMismatch, text::kNotTextMessage);
    }
    return SplitIntoChunks(text::DecodeText(std::move(bytes)).utf8);
}

std::vector<std::string> ReadTextChunks(const std::string& path) {
    text::FileSignatures signatures;
    return ReadTextChunks(path, signatures);
}

}  // namespace quillane
