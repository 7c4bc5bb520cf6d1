#include "doclib/structure/HeadingShape.h"

#include "doclib/structure/TextLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

std::string_view LineContent(std::string_view text) {
    const std::size_t begin = MeasureIndent(text).bytes;
    if (begin >= text.size()) {
        return {};
    }
    const std::string_view rest = text.substr(begin);
    return rest.substr(0, rest.size() - TrailingBlankBytes(rest));
}

bool BoundsHeading(const LineScan& scan, const LineMarks& marks, std::size_t i) {
    if (i >= scan.lines.size()) {
        return true;
    }
    const LineFacts& line = scan.lines[i];
    return !line.IsText() || line.Has(kLineOrnament) || marks[i].role != LineRole::Text;
}

bool TitleEndsSentence(std::string_view title) {
    if (!EndsLikeSentence(title, false)) {
        return false;
    }
    // A colon may close a title ("Example:"); the other marks close sentences and clauses.
    const char32_t last = utf8::DecodeBefore(title, title.size()).value;
    return last != ':' && last != 0xFF1A;
}

bool OpensLikeTitle(std::string_view title) {
    for (std::size_t at = 0; at < title.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(title, at);
        if (utf8::IsLetter(cp.value)) {
            return !utf8::IsLower(cp.value);
        }
        if (utf8::IsDigit(cp.value)) {
            return true;
        }
        at += cp.length;
    }
    return false;
}

bool IsInCapitals(std::string_view title, int minCapitals) {
    int capitals = 0;
    int others = 0;
    for (std::size_t at = 0; at < title.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(title, at);
        at += cp.length;
        if (utf8::IsUpper(cp.value)) {
            ++capitals;
        } else if (utf8::IsLetter(cp.value)) {
            return false;
        } else if (cp.value != ' ') {
            ++others;
        }
    }
    return capitals >= minCapitals && capitals >= others;
}

bool HasWordCharacter(std::string_view title) {
    for (std::size_t at = 0; at < title.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(title, at);
        if (utf8::IsWordChar(cp.value)) {
            return true;
        }
        at += cp.length;
    }
    return false;
}

}  // namespace Tessaly::Docs
