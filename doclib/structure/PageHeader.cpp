#include "doclib/structure/PageHeader.h"

#include <algorithm>
#include <optional>
#include <string>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/ContentsList.h"
#include "doclib/structure/HeadingShape.h"
#include "doclib/structure/LineJoin.h"
#include "doclib/structure/TableRule.h"
#include "doclib/structure/TextLine.h"
#include "doclib/structure/TitleFinder.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

// A navigation bar holds the heading's copy, a line of links and a rule, blank lines between.
constexpr std::size_t kMaxBarLines = 8;
// Link lines, a site's menu and a bar may stand above a page's first heading; prose may not.
constexpr std::size_t kMaxLinesAboveTitle = 16;
constexpr std::uint16_t kMaxFurnitureWords = 12;
// Between a page's foot rule and its last line: a line or two of a few words each.
constexpr std::size_t kMaxFootLines = 2;
constexpr std::uint16_t kMaxFootLineWords = 4;
// A converter's placeholder ("[TABLE]") names what it stands for in this many capitals at least.
constexpr int kMinPlaceholderCapitals = 4;
// Lines a wrapped link of the page's head goes on over.
constexpr std::size_t kMaxLinkLines = 3;
// The words of the manual's name between a bar's two links.
constexpr std::size_t kMaxBarNameWords = 6;
// A bar of links written as words: groups spaced wide, each of a few words.
constexpr std::size_t kMaxBarGroups = 5;
constexpr std::size_t kMaxBarGroupWords = 3;

bool IsAsciiDigitByte(char c) {
    return c >= '0' && c <= '9';
}

// `trimmed` opens with `opening` ("Link: [", "#[") and a link number closed by its bracket.
bool OpensWithNumberedLink(std::string_view trimmed, std::string_view opening) {
    if (!trimmed.starts_with(opening)) {
        return false;
    }
    std::size_t at = opening.size();
    while (at < trimmed.size() && IsAsciiDigitByte(trimmed[at])) {
        ++at;
    }
    return at > opening.size() && at < trimmed.size() && trimmed[at] == ']';
}

// "Link: [3]Chapter 1. Tutorials (previous)"
bool IsPageLinkLine(std::string_view trimmed) {
    return OpensWithNumberedLink(trimmed, "Link: [");
}

// "#[1]Installation Guide [2]Appendix B": the page's links all on one line, the width
// carrying them on over the lines below, up to a blank line.
bool IsPageLinkList(std::string_view trimmed) {
    return OpensWithNumberedLink(trimmed, "#[");
}

// "[Prev]  [Up]  [Next]", "[5]Prev   [6]Next": every word of the line opens a link; or links
// on both sides of the manual's name ("[Prev] [Up] User Manual [Next]").
bool IsNavigationBar(std::string_view trimmed) {
    std::size_t links = 0;
    std::size_t words = 0;
    bool endsWithLink = false;
    std::size_t at = 0;
    while (at < trimmed.size()) {
        if (utf8::IsBlankByte(trimmed[at])) {
            ++at;
            continue;
        }
        const std::size_t close = trimmed.find(']', at);
        endsWithLink = trimmed[at] == '[' && close != std::string_view::npos;
        if (!endsWithLink) {
            if (links == 0) {
                return false;
            }
            ++words;
            while (at < trimmed.size() && !utf8::IsBlankByte(trimmed[at])) {
                ++at;
            }
            continue;
        }
        ++links;
        at = close + 1;
        while (at < trimmed.size() && !utf8::IsBlankByte(trimmed[at])) {
            ++at;  // the label after a link number
        }
    }
    // Between two links only a short name ("[Prev] Search patterns [Next]").
    return links >= 2 &&
           (words == 0 || (endsWithLink && (links >= 3 || words <= kMaxBarNameWords)));
}

// A renderer that writes links as their words sets a bar of them spaced wide ("Prev   Next",
// "Précédent   Niveau supérieur   Suivant"): a few groups of a few words, none a sentence.
bool IsSpacedBar(std::string_view trimmed) {
    std::size_t groups = 0;
    std::size_t at = 0;
    while (at < trimmed.size()) {
        const std::size_t gap = trimmed.find("  ", at);
        const std::string_view group =
            utf8::Trim(trimmed.substr(at, gap == std::string_view::npos ? gap : gap - at));
        if (!group.empty()) {
            if (++groups > kMaxBarGroups ||
                static_cast<std::size_t>(std::count(group.begin(), group.end(), ' ')) >=
                    kMaxBarGroupWords ||
                EndsLikeSentence(group, true)) {
                return false;
            }
        }
        at = gap == std::string_view::npos ? trimmed.size() : gap + 2;
    }
    return groups >= 2;
}

bool IsSpacedBarAt(const Document& doc, const LineScan& scan, std::size_t i) {
    if (!scan.lines[i].IsText()) {
        return false;
    }
    BlockTextReader reader(doc);
    std::string spaced;
    return IsSpacedBar(utf8::Trim(WithPlainSpaces(reader.Text(doc.blocks[i]), spaced)));
}

// "[Download the ebook](https://example.org/get/)": one link of Markdown, the whole line.
bool IsMarkdownLink(std::string_view trimmed) {
    const std::size_t middle = trimmed.find("](");
    if (trimmed.starts_with('[') && trimmed.ends_with(')') && middle != std::string_view::npos &&
        trimmed.find(')', middle) == trimmed.size() - 1) {
        return true;
    }
    // "`Download the ebook <https://example.org/get/>`__": the same in reStructuredText.
    const std::size_t target = trimmed.find(" <");
    return trimmed.starts_with('`') && (trimmed.ends_with(">`_") || trimmed.ends_with(">`__")) &&
           target != std::string_view::npos && trimmed.find('`', 1) > target;
}

// "[6]Download the ebook"
bool OpensWithLinkNumber(std::string_view trimmed) {
    std::size_t at = 1;
    while (at < trimmed.size() && IsAsciiDigitByte(trimmed[at])) {
        ++at;
    }
    return trimmed.starts_with('[') && at > 1 && at + 1 < trimmed.size() && trimmed[at] == ']';
}

// "Download_the_ebook": one word of several joined by underscores.
bool IsUnderscoredLink(std::string_view trimmed) {
    std::size_t underscores = 0;
    for (char c : trimmed) {
        if (utf8::IsBlankByte(c)) {
            return false;
        }
        underscores += c == '_' ? 1 : 0;
    }
    return underscores >= 2 && HasLetter(trimmed);
}

std::optional<std::size_t> NextHeading(const LineMarks& marks, std::size_t from) {
    for (std::size_t i = from; i < marks.size(); ++i) {
        if (marks[i].role == LineRole::Heading) {
            return i;
        }
    }
    return std::nullopt;
}

// A line that is no running prose: a short line of links, a menu entry, a rule.
bool IsFurniture(const LineScan& scan, std::size_t i) {
    const LineFacts& line = scan.lines[i];
    return !line.IsText() || line.words <= kMaxFurnitureWords;
}

class PageHead {
  public:
    PageHead(const Document& doc, const LineMarks& marks)
        : doc_(doc), reader_(doc), marks_(marks) {}

    // The heading's words, its markup left out and its wrapped end joined.
    std::string HeadingText(std::size_t i) {
        std::string text(Words(i, marks_[i].markupLead, marks_[i].markupTrail));
        if (i + 1 < marks_.size() && marks_[i + 1].role == LineRole::HeadingContinuation) {
            const std::string_view rest = Words(i + 1, 0, marks_[i + 1].markupTrail);
            // Two lines of a script written without spaces join tightly.
            if (SpaceAtJoin(text, rest)) {
                text += ' ';
            }
            text += rest;
        }
        return CollapseBlanks(text);
    }

  private:
    std::string_view Words(std::size_t i, std::size_t lead, std::size_t trail) {
        const std::string_view content = LineContent(reader_.Text(doc_.blocks[i]));
        if (lead + trail >= content.size()) {
            return content;
        }
        return content.substr(lead, content.size() - lead - trail);
    }

    const Document& doc_;
    BlockTextReader reader_;
    const LineMarks& marks_;
};

}  // namespace

bool IsSpacedBarOverRule(const Document& doc, const LineScan& scan, std::size_t i) {
    if (i >= scan.lines.size()) {
        return false;
    }
    std::size_t rule = i + 1;
    while (rule < scan.lines.size() && scan.lines[rule].Has(kLineBlank)) {
        ++rule;
    }
    return rule < scan.lines.size() && scan.lines[rule].Has(kLineOrnament) &&
           IsSpacedBarAt(doc, scan, i);
}

bool IsMarkupLine(std::string_view trimmed) {
    // "<div class="navheader">", "</div>", "<p align="center"><img src="logo.png"></p>": tags
    // with nothing between them.
    if (trimmed.starts_with('<') && trimmed.ends_with('>')) {
        std::size_t at = 0;
        while (at < trimmed.size() && trimmed[at] == '<') {
            const std::size_t close = trimmed.find('>', at);
            if (close == std::string_view::npos) {
                return false;
            }
            at = close + 1;
            while (at < trimmed.size() && utf8::IsBlankByte(trimmed[at])) {
                ++at;
            }
        }
        return at == trimmed.size();
    }
    // ".. container:: navheader", ".. image:: logo.png": a directive of reStructuredText.
    if (trimmed.starts_with(".. ")) {
        const std::size_t marks = trimmed.find("::");
        return marks != std::string_view::npos &&
               trimmed.substr(3, marks - 3).find(' ') == std::string_view::npos;
    }
    // "[![Build status](badge.svg)](ci)", "![Logo](logo.png)": images and badges.
    if (trimmed.starts_with("[![") || trimmed.starts_with("![")) {
        return true;
    }
    // "[TABLE]", "[IMAGE]": what a converter left where it could not write a table or an image.
    return trimmed.size() > 2 && trimmed.front() == '[' && trimmed.back() == ']' &&
           IsInCapitals(trimmed.substr(1, trimmed.size() - 2), kMinPlaceholderCapitals) &&
           trimmed.find(' ') == std::string_view::npos;
}

namespace {

// ":name: banner", ":class: title": a field of one word between colons, opening the line.
bool IsDirectiveOption(std::string_view trimmed) {
    if (trimmed.size() < 3 || trimmed.front() != ':') {
        return false;
    }
    const std::size_t close = trimmed.find(':', 1);
    return close != std::string_view::npos && close > 1 &&
           trimmed.substr(1, close - 1).find(' ') == std::string_view::npos;
}

}  // namespace

bool IsPageHeadLine(std::string_view trimmed) {
    const bool declaration = trimmed.starts_with("<?xml ") && trimmed.ends_with("?>");
    const bool doctype = (trimmed.starts_with("<!DOCTYPE ") || trimmed.starts_with("<!doctype ")) &&
                         trimmed.ends_with(">");
    return declaration || doctype || IsPageLinkLine(trimmed) || IsPageLinkList(trimmed) ||
           IsMarkupLine(trimmed) || IsMarkdownLink(trimmed);
}

std::size_t FirstTextLine(const Document& doc, const LineScan& scan) {
    BlockTextReader reader(doc);
    std::size_t first = 0;
    while (first < scan.lines.size()) {
        if (scan.lines[first].Has(kLineBlank)) {
            ++first;
            continue;
        }
        const std::string_view content = LineContent(reader.Text(doc.blocks[first]));
        if (!scan.lines[first].IsText() || !IsPageHeadLine(content)) {
            break;
        }
        const std::uint16_t indent = scan.lines[first].indent;
        ++first;
        // A directive's options (":name: banner", ":class: title") are set in under it.
        if (content.starts_with(".. ")) {
            while (first < scan.lines.size() && scan.lines[first].IsText() &&
                   scan.lines[first].indent > indent &&
                   IsDirectiveOption(LineContent(reader.Text(doc.blocks[first])))) {
                ++first;
            }
        }
        if (IsPageLinkList(content)) {
            while (first < scan.lines.size() && scan.lines[first].IsText()) {
                ++first;
            }
            continue;
        }
        // A link too long for the line goes on below, up to the relation that closes it
        // ("... (parent)").
        if (IsPageLinkLine(content) && !content.ends_with(')')) {
            for (std::size_t k = 0;
                 k < kMaxLinkLines && first < scan.lines.size() && scan.lines[first].IsText();
                 ++k) {
                const bool closes = LineContent(reader.Text(doc.blocks[first])).ends_with(')');
                ++first;
                if (closes) {
                    break;
                }
            }
        }
    }
    return first;
}

bool IsLinkLine(std::string_view trimmed) {
    std::string spaced;
    const std::string_view plain = utf8::Trim(WithPlainSpaces(trimmed, spaced));
    return OpensWithLinkNumber(plain) || IsNavigationBar(plain) || IsUnderscoredLink(plain) ||
           IsMarkdownLink(plain);
}

namespace {

bool IsBarAt(const Document& doc, const LineScan& scan, std::size_t i) {
    if (i >= scan.lines.size() || !scan.lines[i].IsText()) {
        return false;
    }
    // Renderers space the links of a bar with no-break spaces.
    BlockTextReader reader(doc);
    std::string spaced;
    return IsNavigationBar(utf8::Trim(WithPlainSpaces(reader.Text(doc.blocks[i]), spaced)));
}

// The page's last line, under its foot's rule and a short line or two ("Prev", a bar with
// one link left): the title of the page a link leads to, heading nothing.
bool NamesPageUnderFootRule(const LineScan& scan, std::size_t i, std::size_t below,
                            std::size_t foot) {
    if (below < foot) {
        return false;
    }
    std::size_t lines = 0;
    for (std::size_t k = i; k-- > 0;) {
        if (scan.lines[k].Has(kLineBlank)) {
            continue;
        }
        if (scan.lines[k].Has(kLineOrnament)) {
            return lines > 0;
        }
        if (++lines > kMaxFootLines || !IsFurniture(scan, k) ||
            scan.lines[k].words > kMaxFootLineWords) {
            return false;
        }
    }
    return false;
}

// A heading over a bar of links is the bar's title; one under it that holds a link itself
// ("Chapter 8. Locales [Home]  Chapter 10. Data") names the pages the bar leads to.
void UnmarkBarTitles(const Document& doc, const LineScan& scan, LineMarks& marks) {
    BlockTextReader reader(doc);
    // The page's foot: nothing but blank lines after it.
    std::size_t foot = scan.lines.size();
    while (foot > 0 && scan.lines[foot - 1].Has(kLineBlank)) {
        --foot;
    }
    for (std::size_t i = 0; i < marks.size(); ++i) {
        if (marks[i].role != LineRole::Heading) {
            continue;
        }
        const bool wrapped =
            i + 1 < marks.size() && marks[i + 1].role == LineRole::HeadingContinuation;
        const std::size_t below = i + (wrapped ? 2 : 1);
        const bool overBar = IsBarAt(doc, scan, below);
        // Under a bar written as words at the page's foot, the titles stand in columns
        // ("Chapter 2. Getting StartedHome  Chapter 4. Advanced Usage").
        std::string spaced;
        const std::string_view content =
            WithPlainSpaces(LineContent(reader.Text(doc.blocks[i])), spaced);
        const bool underBar =
            i > 0 && ((IsBarAt(doc, scan, i - 1) && content.find('[') != std::string_view::npos) ||
                      (IsSpacedBarAt(doc, scan, i - 1) &&
                       content.find("  ") != std::string_view::npos && below >= foot));
        if (overBar || underBar || NamesPageUnderFootRule(scan, i, below, foot)) {
            marks[i] = LineMark{};
            if (wrapped) {
                marks[i + 1] = LineMark{};
            }
        }
    }
}

// The copy of the page's first heading over a bar of links and a rule, the heading below.
void UnmarkRepeatedHeading(const Document& doc, const LineScan& scan, LineMarks& marks) {
    const std::optional<std::size_t> copy = NextHeading(marks, 0);
    if (!copy) {
        return;
    }
    const bool wrapped =
        *copy + 1 < marks.size() && marks[*copy + 1].role == LineRole::HeadingContinuation;
    const std::size_t below = *copy + (wrapped ? 2 : 1);
    const std::optional<std::size_t> heading = NextHeading(marks, below);
    if (!heading || *heading - *copy > kMaxBarLines) {
        return;
    }
    for (std::size_t i = below; i < *heading; ++i) {
        if (!IsFurniture(scan, i) || marks[i].role == LineRole::ListItem) {
            return;
        }
    }
    PageHead page(doc, marks);
    if (ContentsKey(page.HeadingText(*copy)) != ContentsKey(page.HeadingText(*heading))) {
        return;
    }
    marks[*copy] = LineMark{};
    if (wrapped) {
        marks[*copy + 1] = LineMark{};
    }
}

}  // namespace

std::optional<std::size_t> RepeatedPageHeading(const Document& doc, const LineScan& scan) {
    const std::size_t copy = FirstTextLine(doc, scan);
    const std::size_t n = scan.lines.size();
    if (copy >= n || !scan.lines[copy].IsPlainText() || !IsFurniture(scan, copy)) {
        return std::nullopt;
    }
    BlockTextReader reader(doc);
    const std::string key = ContentsKey(reader.Text(doc.blocks[copy]));
    if (key.empty()) {
        return std::nullopt;
    }
    // A bar of links or a rule (of the bar's table, of the page) stands between the two;
    // a bar whose links are set without brackets ("Prev  Customizing  Next") is furniture.
    bool apart = false;
    for (std::size_t i = copy + 1; i < n && i <= copy + kMaxBarLines; ++i) {
        if (scan.lines[i].Has(kLineBlank)) {
            continue;
        }
        const bool rule =
            !scan.lines[i].IsPlainText() || IsColumnRule(LineContent(reader.Text(doc.blocks[i])));
        if (apart && !rule && ContentsKey(reader.Text(doc.blocks[i])) == key) {
            return i;
        }
        if (!IsFurniture(scan, i)) {
            return std::nullopt;
        }
        apart = apart || rule || IsBarAt(doc, scan, i);
    }
    return std::nullopt;
}

void UnmarkNavigationTitles(const Document& doc, const LineScan& scan, LineMarks& marks) {
    UnmarkRepeatedHeading(doc, scan, marks);
    UnmarkBarTitles(doc, scan, marks);
}

void TitleByFirstHeading(Document& doc, const LineScan& scan, const LineMarks& marks,
                         std::string_view stagedTitle) {
    const std::string& title = doc.metadata.title;
    const bool untitled =
        title.empty() || (LooksLikeFileName(stagedTitle) && title == TidyFileName(stagedTitle));
    const std::optional<std::size_t> first = untitled ? NextHeading(marks, 0) : std::nullopt;
    if (!first) {
        return;
    }
    std::size_t above = 0;
    for (std::size_t i = FirstTextLine(doc, scan); i < *first; ++i) {
        if (scan.lines[i].Has(kLineBlank)) {
            continue;
        }
        if (++above > kMaxLinesAboveTitle || !IsFurniture(scan, i)) {
            return;
        }
    }
    const std::uint8_t level = marks[*first].level;
    for (std::size_t i = *first + 1; i < marks.size(); ++i) {
        if (marks[i].role == LineRole::Heading && marks[i].level <= level) {
            return;
        }
    }
    const std::string heading = PageHead(doc, marks).HeadingText(*first);
    if (!heading.empty()) {
        doc.metadata.title = WithoutTitleMarks(heading);
    }
}

}  // namespace Tessaly::Docs
