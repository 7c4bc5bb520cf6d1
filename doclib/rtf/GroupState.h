#pragma once
// The formatting state RTF saves at every '{' and restores at the matching '}', and the
// destination the group's text goes to.

#include <cstdint>

#include "doclib/Document.h"

namespace Tessaly::Docs::Rtf {

enum class Destination : std::uint8_t {
    kBody,        // the document's own text
    kNote,        // the text of a footnote or endnote
    kFontTable,   // font entries: number, charset, code page; names are not kept
    kStyleSheet,  // the list of style entries
    kStyleEntry,  // one style: number, outline level and name
    kInfo,        // document properties; only the ones below are kept
    kTitle,
    kAuthor,
    kSubject,
    kComment,
    kFieldInstruction,  // the code of a field, e.g. HYPERLINK "url"
    kUnicodePair,       // \upr: an 8-bit form and its Unicode twin; only the twin is read
    kObject,            // an embedded object; only its \result, the object as shown, is read
};

// What closing the group finishes.
enum class GroupEnd : std::uint8_t { kNothing, kStyleEntry, kNote, kField };

struct CharacterState {
    std::uint8_t format = kPlain;  // Format bits (kBold, kItalic, ...)
    bool hidden = false;           // \v: hidden text is not part of the book
    std::int32_t font = 0;
    std::int32_t language = 0;
};

struct ParagraphState {
    std::int32_t style = 0;
    std::int8_t outlineLevel = -1;  // 0-based as in \outlinelevelN; -1 when none
    Alignment alignment = Alignment::Start;
    std::int32_t leftIndent = 0;   // twips
    std::int32_t firstIndent = 0;  // twips; negative for a hanging indent
    bool inTable = false;
    bool pageBreakBefore = false;
};

struct GroupState {
    CharacterState character;
    ParagraphState paragraph;
    Destination destination = Destination::kBody;
    Destination beforeUnicodePair = Destination::kBody;  // where an \upr's twin writes
    Destination beforeObject = Destination::kBody;       // where an object's \result writes
    GroupEnd end = GroupEnd::kNothing;
    std::uint8_t unicodeSkip = 1;  // \ucN: fallback characters after each \uN
    std::uint32_t link = 0;        // 1 + index into Document::links; 0 outside links
    std::int32_t field = -1;       // index of the innermost field being read
};

}  // namespace Tessaly::Docs::Rtf
