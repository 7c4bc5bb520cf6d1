#include "doclib/epub/XhtmlText.h"

#include <array>
#include <cstdint>

#include "text/Utf8.h"

namespace Tessaly::Docs {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
constexpr std::string_view kEmSpace = "\xE2\x80\x83";

// Bytes that always pass through unchanged: printable ASCII other than the markup characters.
constexpr std::array<bool, 256> MakePlainTable() {
    std::array<bool, 256> table{};
    for (int c = 0x21; c < 0x7f; ++c) {
        table[c] = c != '&' && c != '<' && c != '>' && c != '"';
    }
    return table;
}
constexpr std::array<bool, 256> kPlainXhtmlByte = MakePlainTable();

constexpr std::array<std::uint8_t, 256> MakeBoundTable() {
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[c] = c >= 0x80 ? 3 : 1;  // a bad byte may become a 3-byte U+FFFD
    }
    table['&'] = 5;   // &amp;
    table['<'] = 4;   // &lt;
    table['>'] = 4;   // &gt;
    table['"'] = 6;   // &quot;
    table['\n'] = 5;  // <br/>
    table['\t'] = 3;  // em space
    table[' '] = 2;   // no-break space
    return table;
}
constexpr std::array<std::uint8_t, 256> kBound = MakeBoundTable();

// The character at s[i]: its length, with `cp` set to its code point, or -1 and the length of
// the bad stretch when the bytes there are not UTF-8.
std::size_t CharacterAt(std::string_view s, std::size_t i, std::int32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    const text::utf8::CodePoint decoded = text::utf8::DecodeAt(s, i);
    if (!text::utf8::IsWellFormed(s, i, decoded)) {
        cp = -1;
        return text::utf8::IllFormedLengthAt(s, i);
    }
    cp = static_cast<std::int32_t>(decoded.value);
    return decoded.length;
}

bool IsDropped(std::int32_t cp) {
    return (cp < 0x20 && cp != '\t' && cp != '\n') || (cp >= 0x7f && cp <= 0x9f) ||
           (cp >= 0xfdd0 && cp <= 0xfdef) || (cp & 0xfffe) == 0xfffe;
}

// Walks `utf8`, handing plain stretches to `plain` and every other character to `special`
// (with its code point, -1 for a bad stretch, and its bytes).
template <typename Plain, typename Special>
void Walk(std::string_view utf8, Plain plain, Special special) {
    std::size_t i = 0;
    const std::size_t n = utf8.size();
    while (i < n) {
        const std::size_t start = i;
        while (i < n && kPlainXhtmlByte[static_cast<unsigned char>(utf8[i])]) {
            ++i;
        }
        if (i > start) {
            plain(utf8.substr(start, i - start));
        }
        if (i == n) {
            break;
        }
        std::int32_t cp = 0;
        const std::size_t length = CharacterAt(utf8, i, cp);
        special(cp, utf8.substr(i, length));
        i += length;
    }
}

bool AppendEscape(std::string& out, std::int32_t cp, std::string_view bytes) {
    switch (cp) {
        case '&':
            out.append("&amp;");
            return true;
        case '<':
            out.append("&lt;");
            return true;
        case '>':
            out.append("&gt;");
            return true;
        case -1:
            out.append(kReplacement);
            return true;
        default:
            if (IsDropped(cp)) {
                return true;
            }
            if (cp >= 0x80) {
                out.append(bytes);
                return true;
            }
            return false;
    }
}

}  // namespace

void AppendXhtmlText(std::string& out, std::string_view utf8, bool& afterSpace) {
    // The common case, words and single spaces, is copied in runs.
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t start = i;
        bool prevSpace = afterSpace;
        while (i < n) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (kPlainXhtmlByte[c]) {
                prevSpace = false;
            } else if (c == ' ' && !prevSpace) {
                prevSpace = true;
            } else {
                break;
            }
            ++i;
        }
        if (i > start) {
            out.append(utf8.substr(start, i - start));
            afterSpace = prevSpace;
        }
        if (i == n) {
            break;
        }
        std::int32_t cp = 0;
        const std::size_t length = CharacterAt(utf8, i, cp);
        const std::string_view bytes = utf8.substr(i, length);
        i += length;
        if (cp == ' ') {
            out.append(kNoBreakSpace);  // a space after a space
            afterSpace = true;
        } else if (cp == '\n') {
            out.append("<br/>");
            afterSpace = false;
        } else if (cp == '\t') {
            out.append(kEmSpace);
            afterSpace = false;
        } else if (cp == '"') {
            out.push_back('"');
            afterSpace = false;
        } else {
            if (!AppendEscape(out, cp, bytes)) {
                out.append(bytes);
            }
            if (!IsDropped(cp)) {
                afterSpace = false;
            }
        }
    }
}

void AppendPreformattedText(std::string& out, std::string_view utf8) {
    Walk(
        utf8, [&](std::string_view plain) { out.append(plain); },
        [&](std::int32_t cp, std::string_view bytes) {
            if (cp == ' ' || cp == '\t' || cp == '\n' || cp == '"') {
                out.append(bytes);
            } else if (!AppendEscape(out, cp, bytes)) {
                out.append(bytes);
            }
        });
}

std::size_t XhtmlTextBound(std::string_view utf8) {
    std::size_t total = 0;
    for (char c : utf8) {
        total += kBound[static_cast<unsigned char>(c)];
    }
    return total;
}

std::size_t XhtmlByteBound(unsigned char byte) {
    return kBound[byte];
}

void AppendXmlEscaped(std::string& out, std::string_view utf8) {
    Walk(
        utf8, [&](std::string_view plain) { out.append(plain); },
        [&](std::int32_t cp, std::string_view bytes) {
            if (cp == '\t' || cp == '\n') {
                out.push_back(' ');
            } else if (cp == '"') {
                out.append("&quot;");
            } else if (!AppendEscape(out, cp, bytes)) {
                out.append(bytes);
            }
        });
}

std::string XmlEscaped(std::string_view utf8) {
    std::string out;
    AppendXmlEscaped(out, utf8);
    return out;
}

std::string CollapseWhiteSpace(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    bool pendingSpace = false;
    for (char c : utf8) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace) {
            out.push_back(' ');
            pendingSpace = false;
        }
        out.push_back(c);
    }
    return out;
}

}  // namespace Tessaly::Docs
