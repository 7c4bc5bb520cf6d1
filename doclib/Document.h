#pragma once
// The document model of the Tessaly document library: plain data that the readers fill and the
// writers read. Opening a file and saving one are DocumentFile's job; the two members that
// callers know (`Document(path)` and `Save(path)`) are defined there.
//
// The model is compact on purpose: all text lives in one UTF-8 arena, and paragraphs and
// formatted spans refer to it by offset, so a 100 MB document costs little more than its text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/DocumentError.h"

namespace Tessaly::Docs {

// Character formatting of a span, as bit flags.
enum Format : std::uint16_t {
    kPlain = 0,
    kBold = 1 << 0,
    kItalic = 1 << 1,
    kUnderline = 1 << 2,
    kStrike = 1 << 3,
    kSuperscript = 1 << 4,
    kSubscript = 1 << 5,
    // The span is link text; Span::ref is the index of its target in Document::links.
    kLink = 1 << 6,
    // The span is a footnote reference mark; Span::ref is the index in Document::notes.
    kNoteRef = 1 << 7,
    // Markup of meaning rather than of type face (a Markdown source's emphasis and strong
    // emphasis, its code and keyboard input).
    kEmphasis = 1 << 8,
    kStrong = 1 << 9,
    kCode = 1 << 10,
    kKeyboard = 1 << 11,
    // The span is an image's alternative text; Span::ref is the index in Document::images.
    kImage = 1 << 12,
};

// A stretch of text with one formatting. Inside a paragraph's text, '\n' is a line break and
// '\t' a tab; nothing else below U+0020 occurs.
struct Span {
    std::uint64_t offset = 0;  // into Document::text
    std::uint32_t length = 0;  // in bytes
    std::uint16_t format = kPlain;
    std::uint32_t ref = 0;  // see kLink, kNoteRef and kImage
};

enum class BlockKind : std::uint8_t {
    Paragraph,
    Heading,     // level 1..6
    SceneBreak,  // a break between scenes ("* * *" in plain text, a section break in RTF)
    PageBreak,   // a hard page break
    // An item of a list. Its text keeps the marker the author wrote ("* ", "2. ", "b) "); the
    // level is the item's nesting depth (1 for the outermost list).
    ListItem,
    // Preformatted text (a code block): every space and line break is kept. It sits in a
    // Container of kind CodeBlock.
    Code,
    // Text directly inside its container (a table cell, an item of a tight list, a summary),
    // without a paragraph of its own.
    BareText,
};

enum class Alignment : std::uint8_t { Start, Center, End, Justify };

// A paragraph-level block. Its spans are spans[firstSpan .. firstSpan + spanCount).
struct Block {
    BlockKind kind = BlockKind::Paragraph;
    std::uint8_t level = 0;
    Alignment alignment = Alignment::Start;
    // The source gave this paragraph a first-line or left indent.
    bool indented = false;
    // A ListItem of a numbered list ("3.", "b)"); listNumber is the number its marker shows
    // (a letter counts from a = 1).
    bool listOrdered = false;
    std::uint32_t listNumber = 0;
    std::uint32_t firstSpan = 0;
    std::uint32_t spanCount = 0;
    // The innermost container the block sits in: an index into Document::containers, 0 for
    // the body itself.
    std::uint32_t container = 0;
};

// The structure around blocks in a source that nests them (a quote, a list and its items, a
// table, a code block). Containers form a tree through `parent`; each block names its innermost
// one, so a piece of the book that starts inside a list can open the list again.
enum class ContainerKind : std::uint8_t {
    Body,  // the root, Document::containers[0]
    Quote,
    BulletList,
    OrderedList,
    ListItem,  // `number` is the number it shows in an ordered list; `task` its check box
    Table,
    TableHead,
    TableBody,
    TableRow,
    HeaderCell,  // `alignment` is its column's
    DataCell,
    CodeBlock,  // `label` is 1 + the index of its language in Document::codeLanguages, or 0
    Details,    // a disclosure block, open; its first child may be its Summary
    Summary,
};

enum class TaskMark : std::uint8_t { None, Open, Done };

struct Container {
    ContainerKind kind = ContainerKind::Body;
    Alignment alignment = Alignment::Start;
    bool alignmentGiven = false;
    TaskMark task = TaskMark::None;
    std::uint32_t parent = 0;  // always smaller than the container's own index
    std::uint32_t number = 0;
    std::uint32_t label = 0;
};

// An image carried into the book: its bytes, checked to be of its media type.
struct Image {
    std::string mediaType;  // image/png, image/jpeg, image/gif or image/svg+xml
    std::string data;
};

// A footnote or endnote: its own blocks, in Document::noteBlocks.
// Note blocks' spans are in Document::spans too, after all the body's spans.
struct Note {
    std::uint32_t firstBlock = 0;
    std::uint32_t blockCount = 0;
};

// Someone besides the authors who had a hand in the book, with what they did as a MARC relator
// code: "trl" translator, "edt" editor, "ill" illustrator.
struct Contributor {
    std::string name;
    std::string role;
    bool operator==(const Contributor&) const = default;
};

struct Metadata {
    std::string title;   // empty when the source gives none
    std::string author;  // the author, or the first of several; empty when unknown
    // The further authors of a book written by several, in the order the source names them.
    std::vector<std::string> coauthors;
    std::vector<Contributor> contributors;
    std::string language;  // BCP 47 tag, empty when unknown
    std::string subject;
    std::string description;
};

class Document {
  public:
    // An empty document.
    Document() = default;

    // Opens the document at `path`: OpenDocument in DocumentFile.h.
    explicit Document(const std::string& path);

    // Saves the document at `path`: SaveDocument in DocumentFile.h.
    void Save(const std::string& path) const;

    Metadata metadata;
    std::string text;  // UTF-8 arena
    std::vector<Span> spans;
    std::vector<Block> blocks;
    std::vector<std::string> links;  // hyperlink targets
    std::vector<Note> notes;
    std::vector<Block> noteBlocks;
    // Empty for a source without nesting; else [0] is the body.
    std::vector<Container> containers;
    std::vector<std::string> codeLanguages;  // info words of code blocks, as written
    std::vector<Image> images;
    // The source carried paragraph formatting of its own (indents, spacing, styles), so its
    // paragraphs are taken as they are; plain staged text has none.
    bool hasParagraphFormatting = false;

    // Building helpers, used by readers and by the refinement steps.
    // Starts a new block and returns it; following AppendText calls add to it.
    Block& BeginBlock(BlockKind kind = BlockKind::Paragraph, std::uint8_t level = 0);
    // Appends UTF-8 text with `format` to the last block, merging with its last span when the
    // formatting matches.
    void AppendText(std::string_view utf8, std::uint16_t format = kPlain, std::uint32_t ref = 0);

    std::string_view SpanText(const Span& span) const {
        return std::string_view(text).substr(span.offset, span.length);
    }
    // The whole text of a block, its spans joined.
    std::string BlockText(const Block& block) const;
};

}  // namespace Tessaly::Docs
