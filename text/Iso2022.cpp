#include "text/Iso2022.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <cstring>

#include "text/Utf8.h"

namespace text {

namespace {

constexpr char kEsc = '\x1B';

// Which escape sequences a text holds, by the encoding that reads them.
struct Designations {
    // JIS X 0208: ISO-2022-JP. Its switch back to ASCII ("ESC ( B") alone says nothing: a
    // terminal's reset of colours writes it too.
    bool japanese = false;
    bool japaneseTwo = false;    // JIS X 0212, GB 2312, KS C 5601, the Latin and Greek G2 sets
    bool japaneseThree = false;  // JIS X 0213 and half-width katakana
    bool korean = false;
    bool chinese = false;
};

// Reads the designation that starts at `at` (an escape character).
void NoteDesignation(std::string_view s, std::size_t at, Designations& seen) {
    const std::string_view rest = s.substr(at + 1, 3);
    auto is = [&](std::string_view sequence) {
        return rest.substr(0, sequence.size()) == sequence;
    };
    if (is("$@") || is("$B")) {
        seen.japanese = true;
    } else if (is("$(D") || is("$A") || is("$(C") || is(".A") || is(".F")) {
        seen.japaneseTwo = true;
    } else if (is("(I") || is("$(O") || is("$(Q") || is("$(P")) {
        seen.japaneseThree = true;
    } else if (is("$)C")) {
        seen.korean = true;
    } else if (is("$)A") || is("$)G") || is("$*H") ||
               (rest.size() == 3 && rest[0] == '$' && rest[1] == '+' && rest[2] >= 'I' &&
                rest[2] <= 'M')) {
        seen.chinese = true;
    }
}

bool AllSevenBit(std::string_view s) {
    return std::none_of(s.begin(), s.end(), [](char c) { return (c & 0x80) != 0; });
}

// HZ writes GB 2312 as pairs of printable bytes between "~{" and "~}"; "~~" is a tilde. A text
// is HZ when it has such runs and hardly any "~{" that is not one.
bool LooksLikeHz(std::string_view s) {
    std::size_t runs = 0;
    std::size_t broken = 0;
    for (std::size_t at = s.find("~{"); at != std::string_view::npos; at = s.find("~{", at)) {
        std::size_t i = at + 2;
        while (i + 1 < s.size() && s[i] != '~' && s[i] > 0x20 && s[i] < 0x7F && s[i + 1] > 0x20 &&
               s[i + 1] < 0x7F) {
            i += 2;
        }
        const bool closed = i > at + 2 && s.substr(i, 2) == "~}";
        runs += closed;
        broken += !closed;
        at = i;
    }
    return runs > 0 && broken * 10 <= runs;
}

// ICU reads HZ (glibc's iconv does not).
Conversion DecodeWithIcu(std::string_view bytes, const char* encoding) {
    Conversion result;
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(encoding, &status);
    if (U_FAILURE(status)) {
        result.utf8 = utf8::ToValidUtf8(bytes);
        result.invalidBytes = bytes.size();
        return result;
    }
    std::u16string units(bytes.size() + 1, u'\0');
    status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter, units.data(), static_cast<int32_t>(units.size()), bytes.data(),
                      static_cast<int32_t>(bytes.size()), &status);
    ucnv_close(converter);
    units.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    result.utf8.reserve(units.size() * 3);
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        }
        result.invalidBytes += c == 0xFFFD;
        utf8::Append(result.utf8, c);
    }
    return result;
}

}  // namespace

std::optional<std::string> Iso2022EncodingOf(std::string_view bytes) {
    Designations seen;
    for (const char* p = static_cast<const char*>(std::memchr(bytes.data(), kEsc, bytes.size()));
         p != nullptr;) {
        const auto at = static_cast<std::size_t>(p - bytes.data());
        NoteDesignation(bytes, at, seen);
        p = static_cast<const char*>(std::memchr(p + 1, kEsc, bytes.size() - at - 1));
    }
    const bool anyEscape =
        seen.japanese || seen.japaneseTwo || seen.japaneseThree || seen.korean || seen.chinese;
    if (!anyEscape) {
        if (bytes.find("~{") != std::string_view::npos && AllSevenBit(bytes) &&
            LooksLikeHz(bytes)) {
            return "HZ-GB-2312";
        }
        return std::nullopt;
    }
    if (!AllSevenBit(bytes)) {
        return std::nullopt;  // escapes inside 8-bit text: not this family
    }
    if (seen.korean) {
        return "ISO-2022-KR";
    }
    if (seen.chinese) {
        return "ISO-2022-CN-EXT";  // the extension reads plain ISO-2022-CN as well
    }
    if (seen.japaneseThree) {
        return "ISO-2022-JP-3";
    }
    return seen.japaneseTwo ? "ISO-2022-JP-2" : "ISO-2022-JP";
}

Conversion DecodeIso2022(std::string_view bytes, const std::string& encoding) {
    if (encoding == "HZ-GB-2312") {
        return DecodeWithIcu(bytes, "HZ");
    }
    if (auto converted = ConvertToUtf8(bytes, encoding)) {
        return std::move(*converted);
    }
    return {utf8::ToValidUtf8(bytes), bytes.size()};
}

}  // namespace text
