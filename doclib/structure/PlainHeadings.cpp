#include "doclib/structure/PlainHeadings.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <unicode/uchar.h>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/ChapterLine.h"
#include "doclib/structure/ContentsList.h"
#include "doclib/structure/HeadingShape.h"
#include "doclib/structure/SectionNumber.h"
#include "doclib/structure/TextLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kMaxCapitalsColumns = 60;
constexpr std::uint32_t kMaxShortHeadingColumns = 70;
constexpr std::uint16_t kMaxPlainHeadingWords = 10;
constexpr int kMinCapitals = 4;
// Headings found by their section numbers that make a text's sections numbered throughout.
constexpr std::size_t kMinNumberedSections = 5;
// Lines this long are prose wherever they stand.
constexpr std::uint32_t kProseColumns = 40;
// Candidates one under another (blank lines between) this many times are a list.
constexpr std::size_t kPlainListRun = 3;
constexpr std::uint8_t kMaxPlainLevel = 6;
constexpr std::size_t kUnlistedHeadings = 4;
constexpr std::ptrdiff_t kMinWrappedShortHeadings = 3;
constexpr std::size_t kLabelRepeats = 3;
// The text keeps its margin at this many columns or more, and this share of its lines (in
// tenths) keeps it, for a line left of it to stand out.
constexpr std::uint16_t kMinTextMargin = 2;
constexpr std::uint16_t kMaxTextMargin = 16;
constexpr std::size_t kMarginTenths = 6;
constexpr std::size_t kMinOutdentedHeadings = 2;
// A title among the lines of a text without blank lines: this many words and columns at most,
// and boxes labelled in capitals ("TIP Getting the console") this often make a text whose short
// lines title asides.
constexpr std::uint16_t kMaxAmongLinesWords = 8;
constexpr std::uint32_t kMaxAmongLinesColumns = 50;
constexpr std::size_t kMaxLabelledLines = 1;
constexpr std::size_t kLabelShare = 5;
constexpr std::size_t kMinAmongLinesHeadings = 2;

// Capitals: "INSTALLING"; ShortLine: a short line over a paragraph line; Outdented: a short
// line set left of the margin the text keeps, as renders set a page's headings; AmongLines: a
// short title between a finished sentence and a new paragraph, in a text without blank lines.
enum class PlainKind : std::uint8_t { None, Capitals, ShortLine, Outdented, AmongLines };

// Dialogue and quotations open with a quote or a dash; such a line is speech, not a title.
bool OpensQuotation(std::string_view text) {
    const char32_t first = utf8::DecodeAt(text, 0).value;
    return first == '"' || first == '\'' || first == '-' || first == 0x201C || first == 0x201E ||
           first == 0x2018 || first == 0xAB || first == 0xBB || first == 0x2013 ||
           first == 0x2014 || first == 0x300C || first == 0x300E;
}

// "(C) 2013", "(c) 1999": a notice's copyright sign typed in letters, before its year.
bool NamesCopyright(std::string_view text) {
    for (const std::string_view sign : {std::string_view("(C) "), std::string_view("(c) ")}) {
        for (std::size_t at = text.find(sign); at != std::string_view::npos;
             at = text.find(sign, at + 1)) {
            if (at + sign.size() < text.size() && utf8::IsAsciiDigit(text[at + sign.size()])) {
                return true;
            }
        }
    }
    return false;
}

// Marks that titles leave to program code, commands, addresses and notices: "CFLAGS=-O2
// make", "Foo::Bar->new", "https://...", "Copyright © 2021".
bool HasCodeMarks(std::string_view text) {
    return text.find_first_of("=$\\{}[]<>|`;@") != std::string_view::npos ||
           text.find("::") != std::string_view::npos ||
           text.find("://") != std::string_view::npos ||
           text.find("\u00A9") != std::string_view::npos || NamesCopyright(text);
}

// "Table 2.15. Names of packages", "表 7.7. 列表": a caption numbered within its chapter.
bool IsNumberedCaption(std::string_view text) {
    std::size_t at = text.find(' ');
    if (at == std::string_view::npos) {
        return false;
    }
    ++at;
    int dots = 0;
    const std::size_t start = at;
    while (at < text.size() && (utf8::IsAsciiDigit(text[at]) || text[at] == '.')) {
        dots += text[at] == '.' ? 1 : 0;
        ++at;
    }
    return at > start && dots >= 2 && text[at - 1] == '.' && (at == text.size() || text[at] == ' ');
}

// "Chunk Size : 512K", "Policy: none": a name and its value, as a program prints them; a
// title's colon is followed by more title ("Services : Postfix, Apache").
bool IsField(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    std::size_t at = colon + 1;
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    if (at == colon + 1 || at >= text.size()) {
        return false;
    }
    const char32_t first = utf8::DecodeAt(text, at).value;
    return u_islower(static_cast<UChar32>(first)) != 0 ||
           u_isdigit(static_cast<UChar32>(first)) != 0;
}

// "ALTERNATIVE The Exim4 server", "BACK TO BASICS SMTP": a box's kind in capitals before its
// title labels an aside, not a section.
bool OpensWithLabel(std::string_view text) {
    const std::size_t space = text.find(' ');
    return space != std::string_view::npos && IsInCapitals(text.substr(0, space), kMinCapitals) &&
           !IsInCapitals(text, kMinCapitals);
}

// The same, its kind a short word or a few ("TIP Getting the console", "IN PRACTICE
// Testing"): a first word in capitals, of two letters or more, and more words after it.
bool OpensWithShortLabel(std::string_view text) {
    const std::size_t space = text.find(' ');
    return space != std::string_view::npos && IsInCapitals(text.substr(0, space), 2);
}

class PlainHeadingFinder {
  public:
    PlainHeadingFinder(const Document& doc, const LineScan& scan, const DocumentShape& shape,
                       LineMarks& marks)
        : doc_(doc), reader_(doc), scan_(scan), shape_(shape), marks_(marks) {}

    void Run() {
        const std::size_t n = scan_.lines.size();
        std::size_t prose = 0;
        std::size_t longLines = 0;
        std::size_t textLines = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const LineFacts& line = scan_.lines[i];
            if (!line.IsPlainText()) {
                continue;
            }
            ++textLines;
            prose += line.length >= kProseColumns ? 1 : 0;
            longLines += line.length > kLongLine ? 1 : 0;
        }
        const bool paragraphLines =
            !shape_.hardWrapped && longLines >= 5 && longLines * 10 >= textLines * 3;
        margin_ = TextMargin(textLines);
        // A wrapped text whose sections carry numbers or markup heads none with a bare short
        // line: such lines there title its boxes and figures. One that marks none may mark
        // them so.
        const std::size_t skipTitle = TitleBlockEnd();
        onlyShortLines_ =
            std::none_of(marks_.begin() + static_cast<std::ptrdiff_t>(skipTitle), marks_.end(),
                         [](const LineMark& mark) { return mark.role == LineRole::Heading; });
        // Sections numbered throughout leave a bare short line to title a box or a term.
        std::size_t numbered = 0;
        for (std::size_t i = skipTitle; i < n && numbered < kMinNumberedSections; ++i) {
            if (marks_[i].role == LineRole::Heading) {
                std::string spaced;
                numbered += MatchSectionLine(
                                WithPlainSpaces(LineContent(reader_.Text(doc_.blocks[i])), spaced))
                                ? 1
                                : 0;
            }
        }
        numberedSections_ = numbered >= kMinNumberedSections;
        kinds_.assign(n, PlainKind::None);
        std::size_t capitals = 0;
        const std::size_t skip = TitleBlockEnd();
        const bool amongLines = shape_.hardWrapped && !shape_.blankSeparated;
        std::size_t labelled = 0;
        for (std::size_t i = skip; i < n; ++i) {
            kinds_[i] = Classify(i, paragraphLines);
            if (kinds_[i] == PlainKind::None && amongLines) {
                kinds_[i] = ClassifyAmongLines(i, labelled);
            }
            capitals += kinds_[i] == PlainKind::Capitals ? 1 : 0;
        }
        // Where boxes carry labels, a short title among the lines may name one; a label or
        // two among many titles are titles that open with a name in capitals ("HID Usage").
        const auto among = static_cast<std::size_t>(
            std::count(kinds_.begin(), kinds_.end(), PlainKind::AmongLines));
        if (labelled > kMaxLabelledLines && labelled * kLabelShare > among) {
            std::replace(kinds_.begin(), kinds_.end(), PlainKind::AmongLines, PlainKind::None);
        }
        // Capitals are headings only against prose in mixed case, of which there is far more,
        // written one paragraph a line: in wrapped manuals they are terms and labels of boxes.
        const bool mixedProse = paragraphLines && prose >= 10 && capitals * 3 <= prose;
        for (std::size_t i = 0; i < n; ++i) {
            if (kinds_[i] == PlainKind::Capitals && !mixedProse) {
                kinds_[i] = PlainKind::None;
            }
        }
        KeepLinesThatHeadText();
        DropLists();
        DropLabels();
        KeepShortLinesThatRecur();
        Mark();
    }

    // The indentation most lines of text keep, where most keep one deeper than the margin;
    // 0 otherwise.
    std::uint16_t TextMargin(std::size_t textLines) const {
        std::array<std::size_t, kMaxTextMargin + 1> count{};
        for (const LineFacts& line : scan_.lines) {
            if (line.IsPlainText() && line.indent <= kMaxTextMargin) {
                ++count[line.indent];
            }
        }
        const auto most = std::max_element(count.begin(), count.end());
        const auto margin = static_cast<std::uint16_t>(most - count.begin());
        return margin >= kMinTextMargin && *most * 10 >= textLines * kMarginTenths ? margin : 0;
    }

    void NestRunTogetherEntries(const ContentsList& list) {
        if (!headingsListed_) {
            for (std::size_t i = 0; i < scan_.lines.size(); ++i) {
                if (marks_[i].role == LineRole::Heading) {
                    headings_.push_back(static_cast<std::uint32_t>(i));
                }
            }
            keys_.resize(headings_.size());
            headingsListed_ = true;
        }
        const auto keyOf = [this](std::size_t k) -> const std::string& {
            if (!keys_[k]) {
                keys_[k] = ContentsKey(LineContent(reader_.Text(doc_.blocks[headings_[k]])));
            }
            return *keys_[k];
        };
        const std::vector<std::uint32_t>& headings = headings_;
        // The first heading after the list that no entry has named yet.
        std::size_t next = static_cast<std::size_t>(
            std::lower_bound(headings.begin(), headings.end(), list.end) - headings.begin());
        for (const ContentsEntry& entry : list.entries) {
            // A few headings the list does not name may lie between two it does.
            for (std::size_t start = next;
                 start < headings.size() && start < next + kUnlistedHeadings; ++start) {
                const std::size_t end = NamedRun(entry.key, headings, start, keyOf);
                if (end == start) {
                    continue;
                }
                const std::uint8_t parent = marks_[headings[start]].level;
                for (std::size_t k = start + 1; k < end; ++k) {
                    marks_[headings[k]].level =
                        static_cast<std::uint8_t>(std::min<int>(parent + 1, kMaxPlainLevel));
                }
                next = end;
                break;
            }
        }
    }

  private:
    // One past the last of the headings from `start` whose keys, one space apart, make up
    // `key`; `start` when they do not.
    template <typename KeyOf>
    static std::size_t NamedRun(std::string_view key, const std::vector<std::uint32_t>& headings,
                                std::size_t start, const KeyOf& keyOf) {
        std::size_t at = start;
        while (at < headings.size() && !key.empty()) {
            const std::string& part = keyOf(at);
            if (part.empty() || !key.starts_with(part) ||
                (key.size() > part.size() && key[part.size()] != ' ')) {
                break;
            }
            key.remove_prefix(std::min(key.size(), part.size() + 1));
            ++at;
        }
        return key.empty() ? at : start;
    }

    // The title and the lines under it up to the first heading or the first blank line: a
    // title page is not a section.
    std::size_t TitleBlockEnd() const {
        std::size_t i = 0;
        while (i < scan_.lines.size() && scan_.lines[i].Has(kLineBlank)) {
            ++i;
        }
        if (i < scan_.lines.size() && marks_[i].role == LineRole::Heading) {
            ++i;
            while (i < scan_.lines.size() && scan_.lines[i].IsText() &&
                   marks_[i].role != LineRole::Heading) {
                ++i;
            }
        }
        return i;
    }

    PlainKind Classify(std::size_t i, bool paragraphLines) {
        const LineFacts& line = scan_.lines[i];
        if (!line.IsPlainText() || marks_[i].role != LineRole::Text ||
            line.Has(kLineListItem | kLinePreformatted | kLineCodeLike) ||
            line.words > kMaxPlainHeadingWords ||
            line.length - line.indent > kMaxShortHeadingColumns ||
            !(i == 0 || BoundsHeading(scan_, marks_, i - 1)) ||
            !BoundsHeading(scan_, marks_, i + 1)) {
            return PlainKind::None;
        }
        const std::string_view text = LineContent(reader_.Text(doc_.blocks[i]));
        if (!HasLetter(text) || EndsLikeSentence(text, true) || OpensQuotation(text)) {
            return PlainKind::None;
        }
        if (line.indent < margin_ && OpensLikeTitle(text) && !HasCodeMarks(text) &&
            !WordsDeclined(text) && !IsNumberedCaption(text) && !IsField(text)) {
            return PlainKind::Outdented;
        }
        if (line.length - line.indent <= kMaxCapitalsColumns && IsInCapitals(text, kMinCapitals)) {
            return PlainKind::Capitals;
        }
        if (!((paragraphLines && !numberedSections_) || (shape_.hardWrapped && onlyShortLines_)) ||
            IsField(text) || !OpensLikeTitle(text) || HasCodeMarks(text) || WordsDeclined(text) ||
            IsNumberedCaption(text) || text.ends_with("\uFF1A") || OpensWithLabel(text)) {
            return PlainKind::None;
        }
        return PlainKind::ShortLine;
    }

    // In a text without blank lines, a title is a short line of words of its own: the line
    // above ends a sentence (or heads it), a paragraph the width cut opens with a capital below
    // it, at its indentation. A box's label in capitals counts in `labelled`.
    PlainKind ClassifyAmongLines(std::size_t i, std::size_t& labelled) {
        const std::size_t n = scan_.lines.size();
        if (i == 0 || i + 1 >= n || marks_[i].role != LineRole::Text) {
            return PlainKind::None;
        }
        const LineFacts& line = scan_.lines[i];
        const LineFacts& above = scan_.lines[i - 1];
        const LineFacts& below = scan_.lines[i + 1];
        // It opens with a word, its first letter a capital.
        if (!line.IsPlainText() || !line.Has(kLineStartsUpper) || !line.Has(kLineStartsWord) ||
            line.Has(kLineListItem | kLinePreformatted | kLineCodeLike) ||
            line.words > kMaxAmongLinesWords || line.length - line.indent > kMaxAmongLinesColumns ||
            !above.IsText() || !below.IsPlainText() || marks_[i + 1].role != LineRole::Text ||
            !below.Has(kLineStartsUpper) || below.indent != line.indent ||
            below.Has(kLineListItem) || !shape_.Wrapped(scan_, i + 1)) {
            return PlainKind::None;
        }
        if (marks_[i - 1].role == LineRole::Text) {
            const std::string_view last = LineContent(reader_.Text(doc_.blocks[i - 1]));
            if (!above.IsPlainText() || !EndsLikeSentence(last, true) || last.ends_with(',') ||
                last.ends_with(';') || last.ends_with(':')) {
                return PlainKind::None;
            }
        }
        const std::string_view text = LineContent(reader_.Text(doc_.blocks[i]));
        if (EndsLikeSentence(text, true) || HasCodeMarks(text) || WordsDeclined(text) ||
            IsNumberedCaption(text) || IsField(text) || OpensQuotation(text) ||
            text.ends_with("\uFF1A")) {
            return PlainKind::None;
        }
        if (OpensWithShortLabel(text)) {
            ++labelled;
            return PlainKind::None;
        }
        return PlainKind::AmongLines;
    }

    // A chapter or numbered line the detectors by words declined (out of order, in a list),
    // or the title of a contents list: its words were judged already.
    bool WordsDeclined(std::string_view text) {
        std::string spaced;
        const std::string_view plain = WithPlainSpaces(text, spaced);
        return MatchChapterLine(plain, scratch_) || MatchSectionLine(plain) ||
               IsContentsTitle(plain);
    }

    // A wrapped text uses short lines as headings more than once or twice, or not at all: a
    // lone short line there is a fragment of prose.
    void KeepShortLinesThatRecur() {
        const auto outdented = std::count(kinds_.begin(), kinds_.end(), PlainKind::Outdented);
        if (outdented < static_cast<std::ptrdiff_t>(kMinOutdentedHeadings)) {
            std::replace(kinds_.begin(), kinds_.end(), PlainKind::Outdented, PlainKind::None);
        }
        const auto among = std::count(kinds_.begin(), kinds_.end(), PlainKind::AmongLines);
        if (among < static_cast<std::ptrdiff_t>(kMinAmongLinesHeadings)) {
            std::replace(kinds_.begin(), kinds_.end(), PlainKind::AmongLines, PlainKind::None);
        }
        if (!shape_.hardWrapped) {
            return;
        }
        const auto count = std::count(kinds_.begin(), kinds_.end(), PlainKind::ShortLine);
        if (count < kMinWrappedShortHeadings) {
            std::replace(kinds_.begin(), kinds_.end(), PlainKind::ShortLine, PlainKind::None);
        }
    }

    // A short line whose words come back again and again ("Note", "Tip", "Warning") labels
    // the paragraph under it; sections are named once.
    void DropLabels() {
        std::unordered_map<std::string, std::size_t> seen;
        for (std::size_t i = 0; i < kinds_.size(); ++i) {
            if (kinds_[i] == PlainKind::ShortLine || kinds_[i] == PlainKind::Outdented ||
                kinds_[i] == PlainKind::AmongLines) {
                ++seen[std::string(LineContent(reader_.Text(doc_.blocks[i])))];
            }
        }
        for (std::size_t i = 0; i < kinds_.size(); ++i) {
            if ((kinds_[i] == PlainKind::ShortLine || kinds_[i] == PlainKind::Outdented ||
                 kinds_[i] == PlainKind::AmongLines) &&
                seen[std::string(LineContent(reader_.Text(doc_.blocks[i])))] >= kLabelRepeats) {
                kinds_[i] = PlainKind::None;
            }
        }
    }

    // The next line that is not blank, or n.
    std::size_t NextNonBlank(std::size_t i) const {
        std::size_t j = i + 1;
        while (j < scan_.lines.size() && scan_.lines[j].Has(kLineBlank)) {
            ++j;
        }
        return j;
    }

    // A heading heads something: text, or another heading over text; walked from the end, so
    // each line is looked at once. Capitals head any text; a short line heads a paragraph line
    // or a list.
    void KeepLinesThatHeadText() {
        for (std::size_t i = scan_.lines.size(); i-- > 0;) {
            // A title among the lines was judged by the paragraph under it already.
            if (kinds_[i] == PlainKind::None || kinds_[i] == PlainKind::AmongLines) {
                continue;
            }
            const std::size_t next = NextNonBlank(i);
            if (next >= scan_.lines.size()) {
                kinds_[i] = PlainKind::None;
                continue;
            }
            const LineFacts& after = scan_.lines[next];
            const bool text = after.IsText() && marks_[next].role == LineRole::Text;
            // A paragraph of many lines: one line long enough to be one, or one the wrap cut.
            const bool paragraph = text && after.indent >= scan_.lines[i].indent &&
                                   (after.length > kLongLine || shape_.Wrapped(scan_, next));
            // A short line is not set deeper than the text it heads.
            const bool inset =
                kinds_[i] == PlainKind::ShortLine && after.indent < scan_.lines[i].indent;
            // A line over text set deeper than itself is the term of a definition list
            // ("RAID5" over its inset description), not a heading.
            const bool term = after.IsText() && after.indent > scan_.lines[i].indent;
            if (kinds_[i] == PlainKind::Outdented) {
                // Set left of the text it heads, at the text's margin or under it.
                if (!((after.IsText() && after.indent >= margin_ &&
                       marks_[next].role == LineRole::Text) ||
                      kinds_[next] == PlainKind::Outdented)) {
                    kinds_[i] = PlainKind::None;
                }
                continue;
            }
            const bool heads = !term && ((!inset && kinds_[next] != PlainKind::None) ||
                                         (kinds_[i] == PlainKind::Capitals
                                              ? text
                                              : paragraph || (text && after.Has(kLineListItem)) ||
                                                    marks_[next].role == LineRole::Heading));
            if (!heads) {
                kinds_[i] = PlainKind::None;
            }
        }
    }

    void DropLists() {
        std::size_t runStart = 0;
        std::size_t runLength = 0;
        std::size_t last = 0;
        const auto close = [&] {
            if (runLength >= kPlainListRun) {
                for (std::size_t k = runStart; k <= last; ++k) {
                    kinds_[k] = PlainKind::None;
                }
            }
            runLength = 0;
        };
        for (std::size_t i = 0; i < scan_.lines.size(); ++i) {
            if (kinds_[i] == PlainKind::None) {
                if (!scan_.lines[i].Has(kLineBlank)) {
                    close();
                }
                continue;
            }
            if (runLength == 0) {
                runStart = i;
            }
            ++runLength;
            last = i;
        }
        close();
    }

    // A heading found here is a sibling of the heading before it, the title aside.
    void Mark() {
        bool anyCapitals = false;
        for (const PlainKind kind : kinds_) {
            anyCapitals = anyCapitals || kind == PlainKind::Capitals;
        }
        const std::size_t titleEnd = TitleBlockEnd();
        // Lines set left of the text rank by their indentation, below the headings above the
        // first of them (the page's title).
        std::vector<std::uint16_t> outdents;
        std::optional<std::uint8_t> above;
        for (std::size_t i = 0; i < scan_.lines.size(); ++i) {
            if (kinds_[i] == PlainKind::Outdented) {
                outdents.push_back(scan_.lines[i].indent);
            } else if (outdents.empty() && marks_[i].role == LineRole::Heading) {
                above = std::min(above.value_or(marks_[i].level), marks_[i].level);
            }
        }
        std::sort(outdents.begin(), outdents.end());
        outdents.erase(std::unique(outdents.begin(), outdents.end()), outdents.end());
        const int outdentBase = above ? *above + 1 : 1;
        std::uint8_t sibling = 0;
        std::uint8_t parent = 0;  // the last heading found by its number or markup
        for (std::size_t i = titleEnd; i < scan_.lines.size(); ++i) {
            if (kinds_[i] == PlainKind::None) {
                if (marks_[i].role == LineRole::Heading) {
                    sibling = marks_[i].level;
                    parent = marks_[i].level;
                }
                continue;
            }
            // Titles among the lines name the parts of the section above them, where the
            // numbers stop.
            if (kinds_[i] == PlainKind::AmongLines) {
                const int level = parent > 0 ? parent + 1 : std::max<int>(sibling, 1);
                marks_[i] = {LineRole::Heading,
                             static_cast<std::uint8_t>(std::min<int>(level, kMaxPlainLevel))};
                continue;
            }
            if (kinds_[i] == PlainKind::Outdented) {
                const auto rank =
                    std::lower_bound(outdents.begin(), outdents.end(), scan_.lines[i].indent) -
                    outdents.begin();
                marks_[i] = {LineRole::Heading, static_cast<std::uint8_t>(std::min<std::ptrdiff_t>(
                                                    outdentBase + rank, kMaxPlainLevel))};
                continue;
            }
            const int level = sibling > 0                                        ? sibling
                              : kinds_[i] == PlainKind::ShortLine && anyCapitals ? 2
                                                                                 : 1;
            marks_[i] = {LineRole::Heading,
                         static_cast<std::uint8_t>(std::min<int>(level, kMaxPlainLevel))};
        }
    }

    const Document& doc_;
    BlockTextReader reader_;
    const LineScan& scan_;
    const DocumentShape& shape_;
    LineMarks& marks_;
    std::vector<PlainKind> kinds_;
    std::uint16_t margin_ = 0;       // the text's margin, where lines left of it may be headings
    bool onlyShortLines_ = false;    // no heading found by its number or markup
    bool numberedSections_ = false;  // headings found by their section numbers, many
    std::string scratch_;
    // The headings of the document and their contents keys, gathered once for every list.
    std::vector<std::uint32_t> headings_;
    std::vector<std::optional<std::string>> keys_;
    bool headingsListed_ = false;
};

}  // namespace

void MarkPlainHeadings(const Document& doc, const LineScan& scan, const DocumentShape& shape,
                       const std::vector<ContentsList>& contents, LineMarks& marks) {
    PlainHeadingFinder finder(doc, scan, shape, marks);
    finder.Run();
    for (const ContentsList& list : contents) {
        finder.NestRunTogetherEntries(list);
    }
}

}  // namespace Tessaly::Docs
