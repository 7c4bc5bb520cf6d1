#pragma once
// The book's identifier and modification time. Normally the identifier is random, so every
// book is told apart, even two made from one text in the same second; when the environment
// sets SOURCE_DATE_EPOCH (reproducible builds) the time is that one and the identifier is
// derived from the content, so the same document always gives byte-identical books.

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "doclib/Document.h"

namespace Tessaly::Docs {

struct BookIdentity {
    std::string identifier;  // "urn:uuid:..."
    std::time_t modified = 0;
};

BookIdentity MakeBookIdentity(const Document& doc);

// SOURCE_DATE_EPOCH when it holds a plain number of seconds, else nothing.
std::optional<std::time_t> SourceDateEpoch();

// 16 random bytes as a version 4 UUID.
std::string RandomUuid();
// A UUID (version 8, the form for names made by our own hash) computed from the document's
// text, structure and metadata.
std::string ContentUuid(const Document& doc);

// "YYYY-MM-DDThh:mm:ssZ" in UTC.
std::string FormatUtc(std::time_t seconds);

}  // namespace Tessaly::Docs
