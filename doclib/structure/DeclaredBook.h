#pragma once
// What a text in a free-books library's layout declares about itself, read once before the
// other structure rules: the header's title, authors, contributors and language, the first line
// of older headers, and the title page after the start marker. The header and licence stay in
// the book as front and back matter, each under a heading of its own, so the book's own title
// page starts a content document and no chapter holds a licence.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/Document.h"
#include "doclib/structure/BookFrame.h"
#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

struct DeclaredBook {
    std::string title;
    std::vector<std::string> authors;
    std::vector<Contributor> contributors;
    std::string language;  // BCP 47, empty when undeclared or not understood
    BookFrame frame{BookFrame::kNoFrameLine, BookFrame::kNoFrameLine};
    // The first line of the header ("The … EBook of …"), and its wrapped end when it has one.
    std::uint32_t headerLine = BookFrame::kNoFrameLine;
    std::uint32_t headerContinuation = BookFrame::kNoFrameLine;
    // Where the book itself begins: after the start marker and the producers' credits.
    std::uint32_t bodyBegin = 0;
    // The title page's title line after the start marker, and a line joined to it.
    std::uint32_t titleLine = BookFrame::kNoFrameLine;
    std::uint32_t titleSubtitle = BookFrame::kNoFrameLine;
};

DeclaredBook ReadDeclaredBook(const Document& doc, const LineScan& scan,
                              const DocumentShape& shape);

// The declared title, authors and contributors become the metadata where the source gave none
// of its own (a staged text's title is its file name).
void ApplyDeclaredBook(const DeclaredBook& book, Metadata& metadata);

// Run after the other rules: the front and back matter get their headings and lose any heading
// the rules found in a licence; the title page's title heads the book.
void MarkFrontAndBackMatter(const DeclaredBook& book, const LineScan& scan, LineMarks& marks);

// The text of the book between the markers, for the language identifier; the whole arena when
// the text has no frame.
std::string_view BodyText(const Document& doc, const DeclaredBook& book);

// The declared language stands when the identifier agrees with it or is unsure (empty);
// otherwise the identifier, which read the text, wins.
std::string ChooseLanguage(std::string_view declared, std::string_view detected);

}  // namespace Tessaly::Docs
