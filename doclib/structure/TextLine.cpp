#include "doclib/structure/TextLine.h"

#include <cstddef>
#include <cstring>
#include <utility>

#include "doclib/structure/EightBytes.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

bool IsClosingMark(char32_t c) {
    return c == '"' || c == '\'' || c == ')' || c == ']' || c == 0x2019 || c == 0x201D ||
           c == 0xBB || c == 0x203A;
}

}  // namespace

bool EndsLikeSentence(std::string_view trimmed, bool countQuestions) {
    std::size_t end = trimmed.size();
    while (end > 0) {
        const utf8::CodePoint cp = utf8::DecodeBefore(trimmed, end);
        if (!IsClosingMark(cp.value)) {
            const char32_t c = cp.value;
            // The ideographic and full-width marks end a clause as theirs do: "、" "，" "：" "；".
            if (c == '.' || c == ',' || c == ';' || c == ':' || c == 0x3001 || c == 0x3002 ||
                c == 0xFF0C || c == 0xFF0E || c == 0xFF1A || c == 0xFF1B || c == 0x2026) {
                return true;
            }
            return countQuestions && (c == '!' || c == '?' || c == 0xFF01 || c == 0xFF1F);
        }
        end -= cp.length;
    }
    return false;
}

bool IsAllCaps(std::string_view trimmed) {
    int letters = 0;
    for (std::size_t i = 0; i < trimmed.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(trimmed, i);
        i += cp.length;
        if (utf8::IsLower(cp.value)) {
            return false;
        }
        letters += utf8::IsUpper(cp.value) ? 1 : 0;
    }
    return letters >= 2;
}

bool IsTitleCase(std::string_view trimmed) {
    bool first = true;
    for (std::size_t i = 0; i < trimmed.size();) {
        while (i < trimmed.size() && utf8::IsBlankByte(trimmed[i])) {
            ++i;
        }
        if (i == trimmed.size()) {
            break;
        }
        char32_t initial = 0;
        int letters = 0;
        while (i < trimmed.size() && !utf8::IsBlankByte(trimmed[i])) {
            const utf8::CodePoint cp = utf8::DecodeAt(trimmed, i);
            i += cp.length;
            if (utf8::IsLetter(cp.value)) {
                initial = letters == 0 ? cp.value : initial;
                ++letters;
            }
        }
        if ((first || letters >= 4) && letters > 0 && utf8::IsLower(initial)) {
            return false;
        }
        first = false;
    }
    return true;
}

bool HasLetter(std::string_view trimmed) {
    for (std::size_t i = 0; i < trimmed.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(trimmed, i);
        if (utf8::IsLetter(cp.value)) {
            return true;
        }
        i += cp.length;
    }
    return false;
}

}  // namespace Tessaly::Docs

namespace Tessaly::Docs {

std::string_view WithPlainSpaces(std::string_view text, std::string& scratch) {
    // Every such space has a lead byte of 0xC2, 0xE2 or 0xE3; most lines have none of them.
    const auto has = [text](char lead) {
        return std::memchr(text.data(), lead, text.size()) != nullptr;
    };
    if (utf8::IsAscii(text) || (!has('\xC2') && !has('\xE2') && !has('\xE3'))) {
        return text;
    }
    scratch.assign(text);
    for (std::size_t i = 0; i < scratch.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(scratch, i);
        const char32_t c = cp.value;
        const bool space =
            c == 0xA0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000;
        if (space) {
            scratch.replace(i, cp.length, cp.length, ' ');
        }
        i += cp.length;
    }
    return scratch;
}

}  // namespace Tessaly::Docs

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kTabColumns = 4;

// Columns of a blank at the start of `text`, and its bytes; 0 bytes when there is none.
std::pair<std::size_t, std::uint32_t> BlankAt(std::string_view text) {
    if (text.empty()) {
        return {0, 0};
    }
    if (text[0] == ' ') {
        return {1, 1};
    }
    if (text[0] == '\t') {
        return {1, kTabColumns};
    }
    // Every other blank begins with a lead byte of 0xC2 or above.
    if (static_cast<unsigned char>(text[0]) < 0xC2) {
        return {0, 0};
    }
    if (text.starts_with("\xC2\xA0")) {
        return {2, 1};
    }
    if (text.starts_with("\xE3\x80\x80")) {
        return {3, 2};
    }
    if (text.starts_with("\xE2\x80")) {
        const utf8::CodePoint cp = utf8::DecodeAt(text, 0);
        if ((cp.value >= 0x2000 && cp.value <= 0x200A) || cp.value == 0x202F) {
            return {cp.length, 1};
        }
    }
    return {0, 0};
}

// Where the spaces from `at` on end, eight bytes at a time.
std::size_t SpacesFrom(std::string_view text, std::size_t at) {
    for (; at + 8 <= text.size(); at += 8) {
        const std::uint64_t others =
            ~BytesEqual(LoadEightBytes(text.data() + at, 8), ' ') & kHighBits;
        if (others != 0) {
            return at + FirstFlagged(others);
        }
    }
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    return at;
}

}  // namespace

Indentation MeasureIndent(std::string_view text) {
    Indentation indent;
    for (;;) {
        // Spaces and tabs make nearly every indent: taken without the general look.
        const std::size_t spacesEnd = SpacesFrom(text, indent.bytes);
        indent.columns += static_cast<std::uint32_t>(spacesEnd - indent.bytes);
        indent.bytes = spacesEnd;
        if (indent.bytes == text.size()) {
            return indent;
        }
        const char next = text[indent.bytes];
        if (next == '\t') {
            indent.bytes += 1;
            indent.columns += kTabColumns;
            continue;
        }
        // Every other blank begins with a lead byte of 0xC2 or above.
        if (static_cast<unsigned char>(next) < 0xC2) {
            return indent;
        }
        const auto [bytes, columns] = BlankAt(text.substr(indent.bytes));
        if (bytes == 0) {
            return indent;
        }
        indent.bytes += bytes;
        indent.columns += columns;
    }
}

std::size_t IndentBytesFor(std::string_view text, std::uint32_t columns) {
    std::size_t bytes = 0;
    std::uint32_t taken = 0;
    while (taken < columns) {
        const auto [length, width] = BlankAt(text.substr(bytes));
        if (length == 0) {
            break;
        }
        bytes += length;
        taken += width;
    }
    return bytes;
}

std::size_t TrailingBlankBytes(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0) {
        // An ASCII byte is a character of its own: a space or tab goes, anything else stays.
        const char last = text[end - 1];
        if (static_cast<unsigned char>(last) < 0x80) {
            if (last != ' ' && last != '\t') {
                break;
            }
            --end;
            continue;
        }
        const utf8::CodePoint cp = utf8::DecodeBefore(text, end);
        if (BlankAt(text.substr(end - cp.length, cp.length)).first != cp.length) {
            break;
        }
        end -= cp.length;
    }
    return text.size() - end;
}

}  // namespace Tessaly::Docs
