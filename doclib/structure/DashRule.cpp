#include "doclib/structure/DashRule.h"

#include "doclib/structure/BlockTextReader.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

// The nearest code point before `at` that is not a space, or 0 at the start of the line.
char32_t WordCharBefore(std::string_view line, std::size_t at) {
    while (at > 0 && line[at - 1] == ' ') {
        --at;
    }
    return at == 0 ? 0 : utf8::DecodeBefore(line, at).value;
}

char32_t WordCharAfter(std::string_view line, std::size_t at) {
    while (at < line.size() && line[at] == ' ') {
        ++at;
    }
    return at == line.size() ? 0 : utf8::DecodeAt(line, at).value;
}

}  // namespace

DoubleHyphenCount CountDoubleHyphens(std::string_view line) {
    DoubleHyphenCount count;
    for (std::size_t i = line.find("--"); i != std::string_view::npos;) {
        std::size_t end = i;
        while (end < line.size() && line[end] == '-') {
            ++end;
        }
        if (end - i != 2) {
            ++count.other;
        } else {
            const char32_t before = WordCharBefore(line, i);
            const char32_t after = WordCharAfter(line, end);
            const bool wordBefore = utf8::IsWordChar(before);
            const bool wordAfter = utf8::IsWordChar(after);
            if (wordBefore && wordAfter) {
                ++count.betweenWords;
            } else if (wordBefore && after == 0) {
                count.atEnd = true;
            } else if (before == 0 && wordAfter) {
                count.atStart = true;
            } else {
                ++count.other;
            }
        }
        i = line.find("--", end);
    }
    return count;
}

bool TextUsesDoubleHyphenDashes(const Document& doc, const LineScan& scan,
                                const std::vector<Unit>& units) {
    std::uint64_t between = scan.dashesBetweenWords;
    std::uint64_t other = scan.dashesOther;
    for (const Unit& unit : units) {
        if (unit.kind == UnitKind::SceneBreak) {
            continue;
        }
        const bool joined = unit.kind == UnitKind::Paragraph && unit.joint == Joint::Words;
        const std::uint32_t last = unit.first + unit.count - 1;
        for (std::uint32_t i = unit.first; i <= last; ++i) {
            const LineFacts& line = scan.lines[i];
            if (line.Has(kLineDashAtEnd)) {
                const bool intoWord = joined && i < last && scan.lines[i + 1].Has(kLineStartsWord);
                (intoWord ? between : other) += 1;
            }
            if (line.Has(kLineDashAtStart)) {
                (joined && i > unit.first ? between : other) += 1;
            }
        }
        if (other > 0) {
            return false;
        }
    }
    BlockTextReader reader(doc);
    for (const Block& block : doc.noteBlocks) {
        const DoubleHyphenCount count = CountDoubleHyphens(reader.Text(block));
        between += count.betweenWords;
        other += count.other + (count.atEnd ? 1 : 0) + (count.atStart ? 1 : 0);
    }
    return DoubleHyphensAreDashes(between, other);
}

void AppendWithEmDashes(std::string& out, std::string_view text) {
    std::size_t done = 0;
    for (std::size_t i = text.find("--"); i != std::string_view::npos;) {
        std::size_t end = i;
        while (end < text.size() && text[end] == '-') {
            ++end;
        }
        if (end - i == 2) {
            out.append(text.substr(done, i - done));
            out.append("\u2014");
            done = end;
        }
        i = text.find("--", end);
    }
    out.append(text.substr(done));
}

}  // namespace Tessaly::Docs
