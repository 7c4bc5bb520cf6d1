#include "doclib/structure/TitleFinder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/ContentsList.h"
#include "doclib/structure/LineJoin.h"
#include "doclib/structure/PageHeader.h"
#include "doclib/structure/TextLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kMaxTitleColumns = 70;
constexpr std::uint16_t kMaxTitleWords = 12;
constexpr std::size_t kMaxAuthorColumns = 60;
constexpr int kMaxAuthorWords = 8;
// A subtitle between the title and the by-line is a line, not a paragraph.
constexpr std::uint32_t kMaxTitleBlockSubtitleColumns = 80;
// Columns of a CJK title standing alone: wide characters take two.
constexpr std::uint32_t kMaxCjkTitleColumns = 50;
// A centred title stands this far in at least; without a wrap the width of a typed page is
// taken; the centre may stray this far, counted twice (as the line's two ends are).
constexpr std::uint16_t kMinCentredIndent = 8;
constexpr std::uint32_t kTypedWidth = 80;
constexpr std::uint32_t kCentreSlack = 8;

bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

bool IsTitleShaped(const LineFacts& line, std::string_view text, const DocumentShape& shape,
                   const LineScan& scan, std::size_t index) {
    return line.IsText() && !line.Has(kLineOrnament | kLineListItem | kLinePreformatted) &&
           line.length <= kMaxTitleColumns && line.words <= kMaxTitleWords &&
           !shape.Wrapped(scan, index) && HasLetter(text) && !EndsLikeSentence(text, false);
}

std::string CollapseBlanks(std::string_view text) {
    std::string out;
    bool blank = false;
    for (char c : utf8::Trim(text)) {
        const bool isBlank = c == ' ' || c == '\t' || c == '\n';
        if (isBlank && !blank) {
            out.push_back(' ');
        } else if (!isBlank) {
            out.push_back(c);
        }
        blank = isBlank;
    }
    return out;
}

bool LooksLikeFileName(std::string_view title) {
    const std::size_t dot = title.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == title.size()) {
        return false;
    }
    const std::string_view extension = title.substr(dot + 1);
    if (extension.size() > 5) {
        return false;
    }
    bool letter = false;
    for (char c : extension) {
        if (!IsAsciiAlnum(c)) {
            return false;
        }
        letter = letter || !(c >= '0' && c <= '9');
    }
    return letter;
}

std::string TidyFileName(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    if (LooksLikeFileName(name)) {
        name = name.substr(0, name.rfind('.'));
    }
    std::string out;
    for (char c : name) {
        const bool gap = c == '_' || c == '.' || c == ' ' || c == '\t';
        if (gap) {
            if (!out.empty() && out.back() != ' ') {
                out.push_back(' ');
            }
        } else {
            out.push_back(c);
        }
    }
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    return out.empty() ? std::string(fileName) : out;
}

namespace {

// Japanese and Chinese put the mark after the name: "山本 花子 著", "王小明 编著". `trimmed` has
// its ideographic spaces read as plain ones.
std::string_view NameBeforeAuthorMark(std::string_view trimmed) {
    static constexpr std::array<std::string_view, 3> kMarks = {"编著", "編著", "著"};
    for (std::string_view mark : kMarks) {
        // The mark stands apart from the name; "…の名著" is a phrase.
        if (trimmed.ends_with(mark) &&
            trimmed.substr(0, trimmed.size() - mark.size()).ends_with(" ")) {
            return utf8::Trim(trimmed.substr(0, trimmed.size() - mark.size()));
        }
    }
    return {};
}

}  // namespace

namespace {

// The next line of a title block from `from` on, blanks skipped; `end` when there is none.
std::size_t NextTitleBlockLine(const LineScan& scan, std::size_t from, std::size_t end) {
    while (from < end && scan.lines[from].Has(kLineBlank)) {
        ++from;
    }
    if (from >= end || !scan.lines[from].IsText() ||
        scan.lines[from].length > kMaxTitleBlockSubtitleColumns) {
        return end;
    }
    return from;
}

// Japanese and Chinese documents open with their title on a short line of its own, whether or
// not headings follow that the rules can see; a Latin line that short may be a word of a note.
bool StandsAloneAsCjkTitle(const LineScan& scan, std::size_t first, std::string_view text) {
    const std::size_t next = first + 1;
    if (scan.lines[first].length > kMaxCjkTitleColumns || next >= scan.lines.size() ||
        !scan.lines[next].Has(kLineBlank)) {
        return false;
    }
    std::size_t spaceless = 0;
    for (std::size_t i = 0; i < text.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(text, i);
        spaceless += IsSpacelessScript(cp.value) && utf8::IsLetter(cp.value) ? 1 : 0;
        i += cp.length;
    }
    const char32_t last = utf8::DecodeBefore(text, text.size()).value;
    return spaceless >= 2 && last != U'。' && last != U'、' && last != U'，';
}

// A line set in the middle of the text's width, a blank line under it, as renders set a
// page's title and typed title pages centre a book's.
bool StandsCentred(const LineScan& scan, const DocumentShape& shape, std::size_t first) {
    const LineFacts& line = scan.lines[first];
    const std::size_t next = first + 1;
    if (line.indent < kMinCentredIndent || next >= scan.lines.size() ||
        !scan.lines[next].Has(kLineBlank)) {
        return false;
    }
    const std::uint32_t width = shape.hardWrapped ? shape.wrapWidth : kTypedWidth;
    const std::uint32_t middle = line.indent + line.length;  // twice the line's centre
    return middle + kCentreSlack >= width && middle <= width + kCentreSlack;
}

}  // namespace

std::optional<std::string> AuthorFromByLine(std::string_view line) {
    // "by", "By:", "Von: ", "Par : ", "di ", "Author:" and the same words in the languages whose
    // chapter words we know; the colon is optional, a space or a colon must follow the word.
    static constexpr std::array<std::string_view, 33> kByWords = {
        "by",        "von",         "par",          "por",        "door",       "di",
        "da",        "av",          "af",           "przez",      "автор",      "author",
        "autor",     "auteur",      "autore",       "autora",     "written by", "geschrieben von",
        "écrit par", "escrito por", "著者",         "作者",       "oleh",       "yazan",
        "írta",      "tekijä",      "kirjoittanut", "συγγραφέας", "tác giả",    "저자",
        "지은이",    "글",          "napsal"};
    std::string spaced;
    const std::string_view trimmed = utf8::Trim(WithPlainSpaces(line, spaced));
    std::string lower;
    utf8::FoldCaseInto(trimmed.substr(0, std::min<std::size_t>(trimmed.size(), 24)), lower);
    std::string_view rest;
    std::size_t best = 0;
    for (std::string_view by : kByWords) {
        if (by.size() <= best || !std::string_view(lower).starts_with(by)) {
            continue;
        }
        std::size_t at = by.size();
        const std::size_t blanks = at;
        while (at < trimmed.size() && utf8::IsBlankByte(trimmed[at])) {
            ++at;
        }
        bool colon = false;
        if (trimmed.substr(at).starts_with(":")) {
            at += 1;
            colon = true;
        } else if (trimmed.substr(at).starts_with("\uFF1A")) {
            at += 3;
            colon = true;
        }
        const bool cjk = static_cast<unsigned char>(by[0]) >= 0xE0;
        // "Author" names the writer only with a colon: "Author of the month" is a phrase.
        const bool needsColon = by == "author" || by == "autor" || by == "auteur" ||
                                by == "autore" || by == "autora" || by == "автор" ||
                                by == "yazan" || by == "tekijä" || by == "συγγραφέας" ||
                                by == "tác giả" || cjk;
        if ((at == blanks && !colon) || (needsColon && !colon)) {
            continue;
        }
        best = by.size();
        rest = utf8::Trim(trimmed.substr(at));
    }
    if (rest.empty()) {
        rest = NameBeforeAuthorMark(trimmed);
    }
    // "By Mara Lindqvist, March 2021", "by Mara Lindqvist (2021)": the date is no part of the
    // name.
    for (std::string_view cut : {std::string_view(", "), std::string_view(" (")}) {
        const std::size_t at = rest.find(cut);
        if (at != std::string_view::npos && at > 0 &&
            rest.find_first_of("0123456789", at) != std::string_view::npos) {
            rest = utf8::Trim(rest.substr(0, at));
        }
    }
    if (rest.empty() || utf8::CountCodePoints(rest) > kMaxAuthorColumns) {
        return std::nullopt;
    }
    // A name begins with a capital; "by the river" is a phrase. Scripts without capitals
    // name anyone they like.
    const utf8::CodePoint first = utf8::DecodeAt(rest, 0);
    if (utf8::IsLower(first.value) || !utf8::IsLetter(first.value)) {
        return std::nullopt;
    }
    int words = 1;
    for (char c : rest) {
        words += c == ' ' ? 1 : 0;
    }
    const char last = rest.back();
    const std::size_t lastWord = rest.rfind(' ');
    const std::size_t lastWordLength =
        lastWord == std::string_view::npos ? rest.size() : rest.size() - lastWord - 1;
    // An initial or "Jr." may end a name with a full stop; a longer word with one is a sentence.
    const bool sentence = last == ',' || last == ';' || last == ':' || last == '!' || last == '?' ||
                          (last == '.' && lastWordLength > 3);
    if (words > kMaxAuthorWords || sentence) {
        return std::nullopt;
    }
    return CollapseBlanks(rest);
}

std::string WithoutTitleMarks(std::string_view title) {
    // The marks Chinese and Japanese set around a book's name: they quote it, they are no part
    // of it.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kMarks = {{
        {"《", "》"},
        {"「", "」"},
        {"『", "』"},
        {"〈", "〉"},
    }};
    for (const auto& [open, close] : kMarks) {
        if (title.size() > open.size() + close.size() && title.starts_with(open) &&
            title.ends_with(close)) {
            const std::string_view inner =
                title.substr(open.size(), title.size() - open.size() - close.size());
            // "《甲》与《乙》" names two books: the marks do not wrap the whole title.
            if (inner.find(open) == std::string_view::npos &&
                inner.find(close) == std::string_view::npos && !utf8::Trim(inner).empty()) {
                return std::string(utf8::Trim(inner));
            }
        }
    }
    return std::string(title);
}

std::optional<std::string> AuthorUnderByWord(std::string_view byLine, std::string_view nameLine) {
    // A title page sets the word on a line of its own over the name ("BY" / "MIRA OSS").
    static constexpr std::array<std::string_view, 14> kByWords = {"by",
                                                                  "von",
                                                                  "par",
                                                                  "por",
                                                                  "di",
                                                                  "door",
                                                                  "av",
                                                                  "af",
                                                                  "przez",
                                                                  "kirjoittanut",
                                                                  "oleh",
                                                                  "written by",
                                                                  "geschrieben von",
                                                                  "écrit par"};
    std::string spaced;
    std::string folded;
    const std::string_view word = utf8::Trim(WithPlainSpaces(byLine, spaced));
    if (word.size() > 24) {
        return std::nullopt;
    }
    const auto isByWord = [&folded](std::string_view line) {
        folded.clear();
        utf8::FoldCaseInto(line.substr(0, std::min<std::size_t>(line.size(), 24)), folded);
        return std::find(kByWords.begin(), kByWords.end(), folded) != kByWords.end();
    };
    const std::string_view name = utf8::Trim(nameLine);
    if (!isByWord(word) || name.empty() || name.size() > kMaxAuthorColumns * 4 || isByWord(name)) {
        return std::nullopt;
    }
    return AuthorFromByLine("by " + std::string(name));
}

void DecideTitle(Document& doc, const LineScan& scan, const DocumentShape& shape,
                 LineMarks& marks) {
    Metadata& meta = doc.metadata;
    const bool ownTitle = !meta.title.empty() && !LooksLikeFileName(meta.title);
    BlockTextReader reader(doc);

    const std::size_t first = FirstTextLine(doc, scan);
    std::size_t firstDivision = scan.lines.size();
    for (std::size_t i = first; i < scan.lines.size(); ++i) {
        if (doc.blocks[i].kind == BlockKind::Heading || marks[i].role == LineRole::Heading) {
            firstDivision = i;
            break;
        }
    }
    if (first < scan.lines.size() && doc.blocks[first].kind == BlockKind::Heading) {
        // The source's own first heading is its title page.
        if (!ownTitle) {
            const std::string heading = CollapseBlanks(reader.Text(doc.blocks[first]));
            if (!heading.empty()) {
                meta.title = WithoutTitleMarks(heading);
            }
        }
        return;
    }

    bool titleLine = false;
    std::optional<std::string> author;
    if (first < firstDivision) {
        const std::string_view text = utf8::Trim(reader.Text(doc.blocks[first]));
        titleLine = marks[first].role == LineRole::Text &&
                    IsTitleShaped(scan.lines[first], text, shape, scan, first) &&
                    !IsContentsTitle(text) && !IsLinkLine(text) &&
                    !IsSpacedBarOverRule(doc, scan, first);
        if (titleLine) {
            // The by-line under the title, or under a subtitle below it.
            std::size_t next = first + 1;
            for (int tries = 0; tries < 2 && !author; ++tries, ++next) {
                next = NextTitleBlockLine(scan, next, firstDivision);
                if (next >= firstDivision) {
                    break;
                }
                const std::string_view line = utf8::Trim(reader.Text(doc.blocks[next]));
                author = AuthorFromByLine(line);
                const std::size_t name = NextTitleBlockLine(scan, next + 1, firstDivision);
                if (!author && name < firstDivision) {
                    author = AuthorUnderByWord(line, reader.Text(doc.blocks[name]));
                }
            }
            titleLine = author.has_value() || firstDivision < scan.lines.size() ||
                        StandsAloneAsCjkTitle(scan, first, text) ||
                        StandsCentred(scan, shape, first);
        }
    }
    if (titleLine) {
        if (!ownTitle) {
            meta.title = WithoutTitleMarks(CollapseBlanks(reader.Text(doc.blocks[first])));
        }
        marks[first] = {LineRole::Heading, 1};
        if (author && meta.author.empty()) {
            meta.author = *author;
        }
    } else if (!ownTitle && !meta.title.empty()) {
        meta.title = TidyFileName(meta.title);
    }
}

}  // namespace Tessaly::Docs
