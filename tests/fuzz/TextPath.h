#pragma once
// The text path a source file takes to its book, for the fuzz targets and their replay:
// the bytes are decoded, staged as RTF, read back and refined for reading. This is the one
// place that knows how; when plain text is read by the document library itself, only
// ReadTextSource changes.

#include <string>
#include <string_view>

#include "doclib/Document.h"

namespace quillane::fuzz {

struct TextSource {
    std::string text;  // the source's characters as UTF-8, the reference for the book
    Tessaly::Docs::Document document;
};

// Reads `bytes` as the content of a plain-text source file named `title`.
TextSource ReadTextSource(std::string bytes, std::string_view title);

}  // namespace quillane::fuzz
