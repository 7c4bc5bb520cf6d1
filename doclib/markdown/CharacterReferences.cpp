#include "doclib/markdown/CharacterReferences.h"

#include <libxml/HTMLparser.h>

#include <array>
#include <cstdint>

#include "text/HexDigit.h"
#include "text/Utf8.h"

namespace Tessaly::Docs {

namespace {

// Longer than any named reference HTML defines.
constexpr std::size_t kLongestReference = 48;
constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsReferenceNameChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The number of "&#...;", or kReplacementCharacter when it is no character.
char32_t NumericReference(std::string_view digits, int base) {
    std::uint32_t value = 0;
    for (char c : digits) {
        const int digit = ::text::HexDigitValue(c);
        if (digit < 0 || digit >= base) {
            return kReplacementCharacter;
        }
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
        if (value > 0x10FFFF) {
            return kReplacementCharacter;
        }
    }
    if (digits.empty() || value == 0 || (value >= 0xD800 && value <= 0xDFFF)) {
        return kReplacementCharacter;
    }
    return static_cast<char32_t>(value);
}

// The character of a named reference; 0 when HTML names none so.
char32_t NamedReference(std::string_view name) {
    // The references nearly every text uses, without a search of the table; "&apos;" is
    // XML's, which HTML 5 took over, and the table below is HTML 4's.
    struct Common {
        std::string_view name;
        char32_t character;
    };
    static constexpr Common kCommon[] = {
        {"amp", '&'},   {"lt", '<'},    {"gt", '>'},       {"quot", '"'},     {"apos", '\''},
        {"nbsp", 0xA0}, {"copy", 0xA9}, {"mdash", 0x2014}, {"ndash", 0x2013}, {"hellip", 0x2026}};
    for (const Common& common : kCommon) {
        if (common.name == name) {
            return common.character;
        }
    }
    std::array<char, kLongestReference + 1> buffer{};
    if (name.size() > kLongestReference) {
        return 0;
    }
    name.copy(buffer.data(), name.size());
    const htmlEntityDesc* entity =
        htmlEntityLookup(reinterpret_cast<const xmlChar*>(buffer.data()));
    return entity == nullptr ? 0 : static_cast<char32_t>(entity->value);
}

}  // namespace

void AppendCharacterReference(std::string& out, std::string_view reference) {
    if (reference.size() < 3 || reference.front() != '&' || reference.back() != ';') {
        out.append(reference);
        return;
    }
    const std::string_view body = reference.substr(1, reference.size() - 2);
    char32_t c = 0;
    if (body.front() == '#') {
        const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
        c = NumericReference(body.substr(hex ? 2 : 1), hex ? 16 : 10);
    } else {
        c = NamedReference(body);
    }
    if (c == 0) {
        out.append(reference);
        return;
    }
    ::text::utf8::Append(out, c);
}

void AppendWithReferencesDecoded(std::string& out, std::string_view text) {
    std::size_t start = 0;
    std::size_t i = 0;
    while ((i = text.find('&', i)) != std::string_view::npos) {
        // A reference is short: look no further than the longest one for its ';'.
        std::size_t end = i + 1;
        if (end < text.size() && text[end] == '#') {
            ++end;
        }
        const std::size_t nameStart = end;
        while (end < text.size() && end - i <= kLongestReference &&
               IsReferenceNameChar(text[end])) {
            ++end;
        }
        if (end < text.size() && text[end] == ';' && end > nameStart) {
            out.append(text.substr(start, i - start));
            AppendCharacterReference(out, text.substr(i, end + 1 - i));
            start = end + 1;
            i = start;
        } else {
            ++i;
        }
    }
    out.append(text.substr(start));
}

}  // namespace Tessaly::Docs
