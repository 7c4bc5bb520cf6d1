#include "doclib/structure/LineFacts.h"

#include <algorithm>
#include <string_view>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/EightBytes.h"
#include "doclib/structure/LineJoin.h"
#include "doclib/structure/ListMarker.h"
#include "doclib/structure/SceneBreaks.h"
#include "doclib/structure/TextLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint16_t kMaxWords = 1000;

bool IsPreformatted(std::string_view content) {
    std::size_t run = 0;
    int rules = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\t') {
            return true;
        }
        // A rule stands apart from the words of its cells ("a | b | c"); a bar inside words
        // ("|tag|", "$a|$b", "|| true") is text.
        rules +=
            c == '|' && (run > 0 || i == 0) && (i + 1 == content.size() || content[i + 1] == ' ');
        run = c == ' ' ? run + 1 : 0;
        if (run >= 4) {
            return true;
        }
    }
    // A row bordered by rules ("|a|b|") is a table however tightly set.
    return rules >= 2 || (content.size() > 2 && content.front() == '|' && content.back() == '|');
}

// A setting of a configuration file, live or commented out: "log_level=debug",
// "#relay_host = [mail.example.org]", "relayhost =". The name is one word of the kind programs
// use: with an underscore, or a lowercase word of three letters or more set apart from its "="
// in a line of ASCII. A sentence wrapped before "x = 3" or "scaling=200" is left alone, and so is
// a Japanese one wrapped before "scaling = 200".
bool IsSettingLine(std::string_view content) {
    std::size_t at = content.starts_with('#') ? 1 : 0;
    const std::size_t start = at;
    bool underscore = false;
    while (at < content.size()) {
        const char c = content[at];
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '.' || c == '-') {
            ++at;
        } else if (c == '_') {
            underscore = true;
            ++at;
        } else {
            break;
        }
    }
    if (at == start || content[start] < 'A' || at >= content.size()) {
        return false;
    }
    const bool spaced = content[at] == ' ';
    at += spaced ? 1 : 0;
    if (at >= content.size() || content[at] != '=' ||
        (at + 1 < content.size() && content[at + 1] == '=')) {
        return false;
    }
    ++at;
    if (!underscore) {
        constexpr std::size_t kMinPlainName = 3;
        const bool ascii = std::all_of(content.begin(), content.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (!spaced || at - 2 - start < kMinPlainName || content[start] < 'a' ||
            content[start] > 'z' || !ascii) {
            return false;
        }
        // "relayhost =": a setting left empty.
        if (at == content.size()) {
            return true;
        }
    }
    at += spaced && at < content.size() && content[at] == ' ' ? 1 : 0;
    return at < content.size() && content[at] != ' ';
}

bool IsCodeLike(std::string_view content) {
    const char last = content.back();
    if (last == '{' || last == '}') {
        return true;
    }
    if (IsSettingLine(content)) {
        return true;
    }
    return last == ';' && (content.find('(') != std::string_view::npos ||
                           content.find('=') != std::string_view::npos);
}

// Letters are judged on the first code points, past opening quotes and brackets.
std::uint16_t StartFlags(std::string_view content) {
    std::uint16_t flags = 0;
    const utf8::CodePoint first = utf8::DecodeAt(content, 0);
    if (utf8::IsWordChar(first.value)) {
        flags |= kLineStartsWord;
    }
    std::size_t at = 0;
    for (int n = 0; n < 4 && at < content.size(); ++n) {
        const utf8::CodePoint cp = utf8::DecodeAt(content, at);
        if (utf8::IsLetter(cp.value)) {
            if (utf8::IsLower(cp.value)) {
                flags |= kLineStartsLower;
            } else if (utf8::IsUpper(cp.value)) {
                flags |= kLineStartsUpper;
            }
            break;
        }
        if (utf8::IsDigit(cp.value)) {
            break;
        }
        at += cp.length;
    }
    return flags;
}

std::uint16_t EndFlags(std::string_view content) {
    std::uint16_t flags = 0;
    const utf8::CodePoint last = utf8::DecodeBefore(content, content.size());
    if (utf8::IsWordChar(last.value)) {
        flags |= kLineEndsWord;
    }
    // A hyphen (or two) or an em dash right after a word: the word or clause goes on.
    std::size_t end = content.size();
    if (last.value == 0x2014) {
        end -= last.length;
    } else {
        int hyphens = 0;
        while (end > 0 && content[end - 1] == '-' && hyphens < 2) {
            --end;
            ++hyphens;
        }
        if (hyphens == 0) {
            return flags;
        }
    }
    if (end > 0 && end < content.size() &&
        utf8::IsWordChar(utf8::DecodeBefore(content, end).value)) {
        flags |= kLineEndsInDash;
    }
    return flags;
}

struct LineCounts {
    std::size_t columns = 0;
    std::size_t firstWord = 0;
    std::uint16_t words = 0;
    bool preformatted = false;
};

// The counts of the general loop below for a line of ASCII, where every character is one byte
// and one column, eight bytes at a time; false, with nothing counted, for a line that is not
// ASCII. Most lines of most texts take this way.
bool CountAsciiLine(std::string_view content, LineCounts& counts) {
    std::size_t words = 0;
    std::uint64_t wordOpen = 0;        // 0x80 when the byte before is part of a word
    std::uint64_t previousSpaces = 0;  // the spaces of the eight bytes before
    std::uint64_t runs = 0;            // where four spaces in a row end
    std::uint64_t tabs = 0;
    const auto take = [&](std::uint64_t word, std::uint64_t inLine) {
        const std::uint64_t spaces = BytesEqual(word, ' ') & inLine;
        const std::uint64_t tabsHere = BytesEqual(word, '\t') & inLine;
        const std::uint64_t letters = ~(spaces | tabsHere) & kHighBits & inLine;
        // A word starts where a non-blank follows a blank or opens the line.
        words += FlagCount(letters & ~((letters << 8) | wordOpen));
        wordOpen = letters >> 56;
        tabs |= tabsHere;
        // Four spaces in a row lie among these bytes, or among the last three before them and
        // the first five of these.
        const std::uint64_t window = (previousSpaces >> 40) | (spaces << 24);
        const std::uint64_t pairs = spaces & (spaces << 8);
        const std::uint64_t windowPairs = window & (window << 8);
        runs |= (pairs & (pairs << 16)) | (windowPairs & (windowPairs << 16));
        previousSpaces = spaces;
    };
    std::size_t at = 0;
    for (; at + 8 <= content.size(); at += 8) {
        const std::uint64_t word = LoadEightBytes(content.data() + at, 8);
        if ((word & kHighBits) != 0) {
            return false;
        }
        take(word, ~std::uint64_t{0});
    }
    if (at < content.size()) {
        // Bytes past the end of the line are none of the kinds counted.
        const std::size_t left = content.size() - at;
        const std::uint64_t word = LoadEightBytes(content.data() + at, left);
        if ((word & kHighBits) != 0) {
            return false;
        }
        take(word, (std::uint64_t{1} << (8 * left)) - 1);
    }
    std::size_t first = 0;
    while (first < content.size() && (content[first] == ' ' || content[first] == '\t')) {
        ++first;
    }
    std::size_t firstEnd = first;
    while (firstEnd < content.size() && content[firstEnd] != ' ' && content[firstEnd] != '\t') {
        ++firstEnd;
    }
    counts.columns = content.size();
    counts.words = static_cast<std::uint16_t>(std::min<std::size_t>(words, kMaxWords));
    counts.firstWord = firstEnd - first;
    // Bars make a table only as rules (IsPreformatted), and every rule is one of two bars or more.
    const bool bars = content.find('|') != std::string_view::npos &&
                      std::count(content.begin(), content.end(), '|') >= 2;
    counts.preformatted = tabs != 0 || runs != 0 || (bars && IsPreformatted(content));
    return true;
}

// One pass for the columns, the words and the first word's width. A wide character (Han,
// kana, Hangul, full-width forms) takes two columns, as wrappers count it, and a line may be
// cut after any ideograph, so one ends the first "word".
LineCounts CountLine(std::string_view content) {
    std::size_t columns = 0;
    std::size_t firstWord = 0;
    bool firstWordOpen = true;
    std::uint16_t words = 0;
    bool inWord = false;
    for (std::size_t at = 0; at < content.size();) {
        const char c = content[at];
        const bool blank = utf8::IsBlankByte(c);
        if (!blank && !inWord && words < kMaxWords) {
            ++words;
        }
        inWord = !blank;
        std::size_t width = 1;
        std::size_t bytes = 1;
        bool spaceless = false;
        if (static_cast<unsigned char>(c) >= 0xE1) {
            const utf8::CodePoint cp = utf8::DecodeAt(content, at);
            bytes = cp.length;
            if (IsWideCharacter(cp.value)) {
                width = 2;
                spaceless = IsSpacelessScript(cp.value);
            }
        } else if (static_cast<unsigned char>(c) >= 0xC0) {
            bytes = utf8::DecodeAt(content, at).length;
        }
        columns += width;
        if (words == 1 && inWord && firstWordOpen) {
            firstWord += width;
            firstWordOpen = !spaceless;
        }
        if (words > 1) {
            firstWordOpen = false;
        }
        at += bytes;
    }
    LineCounts counts;
    counts.columns = columns;
    counts.firstWord = firstWord;
    counts.words = words;
    counts.preformatted = IsPreformatted(content);
    return counts;
}

}  // namespace

LineScan ScanLines(const Document& doc) {
    LineScan scan;
    // Not asked for huge pages, as the rebuilt arena is not (DocumentRebuilder).
    scan.lines.resize(doc.blocks.size());
    BlockTextReader reader(doc);
    for (std::size_t b = 0; b < doc.blocks.size(); ++b) {
        const Block& block = doc.blocks[b];
        LineFacts& line = scan.lines[b];
        const std::string_view text = reader.Text(block);
        if (block.kind != BlockKind::Paragraph) {
            // A heading of the source keeps its lines.
            line.flags = kLineStructural;
            continue;
        }
        const Indentation indentation = MeasureIndent(text);
        const std::size_t begin = indentation.bytes;
        const std::uint32_t indent = indentation.columns;
        const std::size_t end =
            begin == text.size() ? begin : text.size() - TrailingBlankBytes(text);
        if (begin == end) {
            line.flags = kLineBlank;
            continue;
        }
        const std::string_view content = text.substr(begin, end - begin);
        LineCounts counts;
        if (!CountAsciiLine(content, counts)) {
            counts = CountLine(content);
        }
        const std::size_t columns = counts.columns;
        const std::size_t firstWord = counts.firstWord;
        const std::uint16_t words = counts.words;
        line.indent = static_cast<std::uint16_t>(std::min<std::uint32_t>(indent, 0xFFFF));
        line.length =
            static_cast<std::uint32_t>(std::min<std::size_t>(indent + columns, 0xFFFFFFFFu));
        line.firstWord = static_cast<std::uint16_t>(std::min<std::size_t>(firstWord, 0xFFFF));
        line.words = words;

        std::uint16_t flags = StartFlags(content) | EndFlags(content);
        if (static_cast<unsigned char>(content[0]) >= 0xE1 &&
            IsSpacelessScript(utf8::DecodeAt(content, 0).value)) {
            flags |= kLineStartsSpaceless;
        }
        if (static_cast<unsigned char>(content.back()) >= 0x80 &&
            IsSpacelessScript(utf8::DecodeBefore(content, content.size()).value)) {
            flags |= kLineEndsSpaceless;
        }
        if (content.find('\n') != std::string_view::npos) {
            flags |= kLineHasBreak;
        }
        if (columns <= 80 && IsOrnamentLine(content)) {
            flags |= kLineOrnament;
        }
        if (counts.preformatted) {
            flags |= kLinePreformatted;
        }
        if (IsCodeLike(content)) {
            flags |= kLineCodeLike;
        }
        if (ParseListMarker(content)) {
            flags |= kLineListItem;
        }
        line.flags = flags;
    }
    return scan;
}

}  // namespace Tessaly::Docs
