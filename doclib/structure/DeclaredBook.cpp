#include "doclib/structure/DeclaredBook.h"

#include <algorithm>
#include <array>
#include <optional>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/ChapterLine.h"
#include "doclib/structure/HeaderFields.h"
#include "doclib/structure/LanguageName.h"
#include "doclib/structure/TitleFinder.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kNoMatterLine = BookFrame::kNoFrameLine;
// A header without a start marker is read only near the top of the text.
constexpr std::size_t kUnmarkedHeaderLines = 100;
// Enough for any book's authors; a header of thousands of them is not a header.
constexpr std::size_t kMaxNames = 32;
// The title page's by-line lies a few lines under its title.
constexpr int kTitlePageLines = 8;
constexpr std::uint32_t kMaxMatterHeadingColumns = 160;

struct ReadState {
    const Document& doc;
    const LineScan& scan;
    BlockTextReader reader;
    DeclaredBook book;
    std::vector<std::string> authorValues;  // every Author field's value, for SplitNames
};

std::string Line(ReadState& state, std::size_t i) {
    return std::string(utf8::Trim(state.reader.Text(state.doc.blocks[i])));
}

bool IsBlank(const LineScan& scan, std::size_t i) {
    return scan.lines[i].Has(kLineBlank);
}

std::size_t SkipBlankLines(const LineScan& scan, std::size_t i, std::size_t end) {
    while (i < end && IsBlank(scan, i)) {
        ++i;
    }
    return i;
}

void AddNames(std::vector<std::string>& to, std::string_view value) {
    for (std::string& name : SplitNames(value)) {
        if (to.size() >= kMaxNames) {
            return;
        }
        if (std::find(to.begin(), to.end(), name) == to.end()) {
            to.push_back(std::move(name));
        }
    }
}

void AddContributors(DeclaredBook& book, std::string_view value, std::string_view role) {
    std::vector<std::string> names;
    AddNames(names, value);
    for (std::string& name : names) {
        Contributor contributor{std::move(name), std::string(role)};
        if (book.contributors.size() < kMaxNames &&
            std::find(book.contributors.begin(), book.contributors.end(), contributor) ==
                book.contributors.end()) {
            book.contributors.push_back(std::move(contributor));
        }
    }
}

// "Title: The Harbour Office" and its wrapped end, indented on the next line.
void ReadField(ReadState& state, const FieldLine& field, std::string value) {
    DeclaredBook& book = state.book;
    switch (field.field) {
        case HeaderField::Title:
            if (book.title.empty()) {
                book.title = CollapseBlanks(value);
            }
            break;
        case HeaderField::Author:
            if (state.authorValues.size() < kMaxNames) {
                state.authorValues.push_back(std::move(value));
            }
            break;
        case HeaderField::Translator:
            AddContributors(book, value, "trl");
            break;
        case HeaderField::Editor:
            AddContributors(book, value, "edt");
            break;
        case HeaderField::Illustrator:
            AddContributors(book, value, "ill");
            break;
        case HeaderField::Language:
            if (book.language.empty()) {
                book.language = LanguageTagFromName(value);
            }
            break;
        case HeaderField::Other:
            break;
    }
}

void ReadFields(ReadState& state, std::size_t begin, std::size_t end) {
    const LineScan& scan = state.scan;
    for (std::size_t i = begin; i < end; ++i) {
        if (!scan.lines[i].IsText() || scan.lines[i].indent > 0) {
            continue;
        }
        // The view lasts until the reader's next call: the field's value is copied first.
        const std::string_view line = utf8::Trim(state.reader.Text(state.doc.blocks[i]));
        const std::optional<FieldLine> field = MatchHeaderField(line);
        if (!field) {
            continue;
        }
        std::string value(field->value);
        // A long value goes on in indented lines right under the field.
        while (i + 1 < end && scan.lines[i + 1].IsText() && scan.lines[i + 1].indent > 0 &&
               value.size() < 1000) {
            value.append(" ").append(Line(state, ++i));
        }
        ReadField(state, *field, std::move(value));
    }
}

// The first line of the text when it is the library's "The … EBook of TITLE, by AUTHOR", on
// one line or wrapped onto a second.
std::optional<EbookLine> ReadHeaderLine(ReadState& state, std::size_t end) {
    const LineScan& scan = state.scan;
    const std::size_t first = SkipBlankLines(scan, 0, end);
    if (first >= end || !scan.lines[first].IsText()) {
        return std::nullopt;
    }
    const std::string line = Line(state, first);
    std::optional<EbookLine> ebook = MatchEbookLine(line);
    if (!ebook) {
        return std::nullopt;
    }
    state.book.headerLine = static_cast<std::uint32_t>(first);
    const std::size_t next = first + 1;
    const bool open = line.starts_with("**") && !line.ends_with("**");
    if (next < end && scan.lines[next].IsText() && (ebook->author.empty() || open)) {
        const std::string wrapped = Line(state, next);
        std::optional<EbookLine> joined = MatchEbookLine(line + " " + wrapped);
        if (joined && (!joined->author.empty() || (open && wrapped.ends_with("**")))) {
            state.book.headerContinuation = static_cast<std::uint32_t>(next);
            ebook = std::move(joined);
        }
    }
    return ebook;
}

// Producers' credits open the book's part of the file ("Produced by …"); they belong with the
// library's header.
bool IsCreditLine(std::string_view line) {
    static constexpr std::array<std::string_view, 8> kCredits = {
        "produced by",    "e-text prepared by", "etext prepared by", "this etext was",
        "this ebook was", "this e-text was",    "transcribed by",    "prepared by"};
    std::string folded;
    utf8::FoldCaseInto(line.substr(0, std::min<std::size_t>(line.size(), 24)), folded);
    return std::any_of(kCredits.begin(), kCredits.end(),
                       [&](std::string_view credit) { return folded.starts_with(credit); });
}

// The title page after the start marker: its title line, a line joined to it, and the
// authors its by-line names.
void ReadTitlePage(ReadState& state, const DocumentShape& shape,
                   std::vector<std::string>& pageAuthors, std::string& pageTitle) {
    const LineScan& scan = state.scan;
    DeclaredBook& book = state.book;
    const std::size_t end = book.frame.HasEnd() ? book.frame.end : scan.lines.size();
    std::size_t at = SkipBlankLines(scan, book.frame.start + 1, end);
    if (at < end && scan.lines[at].IsText() && IsCreditLine(Line(state, at))) {
        while (at < end && !IsBlank(scan, at)) {
            ++at;
        }
        at = SkipBlankLines(scan, at, end);
    }
    book.bodyBegin = static_cast<std::uint32_t>(std::min(at, end));
    // "[Illustration]" and the like stand over the title on many title pages.
    for (int notes = 0; notes < kTitlePageLines && at < end && scan.lines[at].IsText(); ++notes) {
        const std::string line = Line(state, at);
        if (!line.starts_with("[") || !line.ends_with("]")) {
            break;
        }
        at = SkipBlankLines(scan, at + 1, end);
    }
    if (at >= end) {
        return;
    }
    const std::string title = Line(state, at);
    std::string folded;
    // A book that opens with its first chapter has no title page.
    if (!IsTitleShaped(scan.lines[at], title, shape, scan, at) || MatchChapterLine(title, folded)) {
        return;
    }
    book.titleLine = static_cast<std::uint32_t>(at);
    pageTitle = CollapseBlanks(title);
    if (at + 1 < end && scan.lines[at + 1].IsText()) {
        const std::string second = Line(state, at + 1);
        if (IsTitleShaped(scan.lines[at + 1], second, shape, scan, at + 1) &&
            !AuthorFromByLine(second) && !MatchChapterLine(second, folded)) {
            book.titleSubtitle = static_cast<std::uint32_t>(at + 1);
        }
    }
    std::size_t line = at + 1;
    for (int tries = 0; tries < kTitlePageLines && pageAuthors.empty(); ++tries) {
        line = SkipBlankLines(scan, line, end);
        if (line >= end || !scan.lines[line].IsText()) {
            return;
        }
        const std::string text = Line(state, line);
        std::optional<std::string> author = AuthorFromByLine(text);
        const std::size_t name = SkipBlankLines(scan, line + 1, end);
        if (!author && name < end && scan.lines[name].IsText()) {
            author = AuthorUnderByWord(text, Line(state, name));
        }
        if (author) {
            AddNames(pageAuthors, *author);
        }
        ++line;
    }
}

}  // namespace

DeclaredBook ReadDeclaredBook(const Document& doc, const LineScan& scan,
                              const DocumentShape& shape) {
    ReadState state{doc, scan, BlockTextReader(doc), {}, {}};
    DeclaredBook& book = state.book;
    book.frame = FindBookFrame(doc, scan);
    const std::size_t lines = scan.lines.size();
    const std::size_t headerEnd =
        book.frame.HasStart() ? book.frame.start : std::min(lines, kUnmarkedHeaderLines);
    const std::optional<EbookLine> ebook = ReadHeaderLine(state, headerEnd);
    // Without a marker, only a text that names the library in its first line has a header.
    if (book.frame.HasStart() || ebook) {
        ReadFields(state, 0, headerEnd);
    }
    for (const std::string& value : state.authorValues) {
        AddNames(book.authors, value);
    }
    if (ebook) {
        if (book.title.empty()) {
            book.title = ebook->title;
        }
        if (book.authors.empty()) {
            AddNames(book.authors, ebook->author);
        }
    }
    if (book.frame.HasStart()) {
        std::vector<std::string> pageAuthors;
        std::string pageTitle;
        ReadTitlePage(state, shape, pageAuthors, pageTitle);
        if (book.title.empty()) {
            book.title = pageTitle;
        }
        if (book.authors.empty()) {
            book.authors = std::move(pageAuthors);
        }
    }
    return std::move(state.book);
}

void ApplyDeclaredBook(const DeclaredBook& book, Metadata& metadata) {
    const bool ownTitle = !metadata.title.empty() && !LooksLikeFileName(metadata.title);
    if (!ownTitle && !book.title.empty()) {
        metadata.title = WithoutTitleMarks(book.title);
    }
    if (metadata.author.empty() && metadata.coauthors.empty() && !book.authors.empty()) {
        metadata.author = book.authors.front();
        metadata.coauthors.assign(book.authors.begin() + 1, book.authors.end());
    }
    if (metadata.contributors.empty()) {
        metadata.contributors = book.contributors;
    }
}

void MarkFrontAndBackMatter(const DeclaredBook& book, const LineScan& scan, LineMarks& marks) {
    const BookFrame& frame = book.frame;
    if (!frame.HasStart() && !frame.HasEnd()) {
        return;
    }
    const auto clearHeadings = [&marks](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            const LineRole role = marks[i].role;
            if (role == LineRole::Heading || role == LineRole::Subtitle ||
                role == LineRole::HeadingContinuation) {
                marks[i] = {};
            }
        }
    };
    const auto fits = [&scan](std::uint32_t line) {
        return line != kNoMatterLine && scan.lines[line].IsText() &&
               scan.lines[line].length <= kMaxMatterHeadingColumns;
    };
    if (frame.HasStart()) {
        clearHeadings(0, book.bodyBegin);
        if (fits(book.headerLine)) {
            marks[book.headerLine] = {LineRole::Heading, 1};
            if (book.headerContinuation != kNoMatterLine) {
                marks[book.headerContinuation] = {LineRole::HeadingContinuation, 0};
            }
        }
        if (book.titleLine != kNoMatterLine) {
            marks[book.titleLine] = {LineRole::Heading, 1};
            if (book.titleSubtitle != kNoMatterLine &&
                marks[book.titleSubtitle].role == LineRole::Text) {
                marks[book.titleSubtitle] = {LineRole::Subtitle, 1};
            }
        } else if (book.bodyBegin < marks.size() &&
                   marks[book.bodyBegin].role != LineRole::Heading && fits(frame.start)) {
            // No title page: the marker itself heads the book, so the book never runs on in
            // the header's document.
            marks[frame.start] = {LineRole::Heading, 1};
        }
    }
    if (frame.HasEnd()) {
        clearHeadings(frame.end, marks.size());
        if (fits(frame.end)) {
            marks[frame.end] = {LineRole::Heading, 1};
            // "End of the Project Gutenberg EBook of A Long Title, by" / "Its Author".
            const std::size_t next = frame.end + 1;
            if (next + 1 < scan.lines.size() && fits(static_cast<std::uint32_t>(next)) &&
                !scan.lines[next + 1].IsText()) {
                marks[next] = {LineRole::HeadingContinuation, 0};
            }
        }
    }
}

std::string_view BodyText(const Document& doc, const DeclaredBook& book) {
    const std::string_view all = doc.text;
    if (!book.frame.HasStart() && !book.frame.HasEnd()) {
        return all;
    }
    // The arena offset where the first block from `line` on begins.
    const auto offsetOf = [&doc, &all](std::size_t line) -> std::size_t {
        for (std::size_t b = line; b < doc.blocks.size(); ++b) {
            if (doc.blocks[b].spanCount > 0) {
                return doc.spans[doc.blocks[b].firstSpan].offset;
            }
        }
        return all.size();
    };
    const std::size_t begin = book.frame.HasStart() ? offsetOf(book.frame.start + 1) : 0;
    const std::size_t end = book.frame.HasEnd() ? offsetOf(book.frame.end) : all.size();
    if (begin >= end || end > all.size()) {
        return all;
    }
    return all.substr(begin, end - begin);
}

std::string ChooseLanguage(std::string_view declared, std::string_view detected) {
    if (declared.empty()) {
        return std::string(detected);
    }
    if (detected.empty() || PrimaryLanguage(declared) == PrimaryLanguage(detected)) {
        return std::string(declared);
    }
    return std::string(detected);
}

}  // namespace Tessaly::Docs
