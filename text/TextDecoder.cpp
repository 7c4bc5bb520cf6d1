#include "text/TextDecoder.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "text/EncodingChoice.h"
#include "text/EncodingConversion.h"
#include "text/FileSignatures.h"
#include "text/Iso2022.h"
#include "text/Utf8.h"
#include "text/Windows1252.h"

namespace text {

namespace {

std::uint8_t Byte(std::string_view s, std::size_t i) {
    return static_cast<std::uint8_t>(s[i]);
}

// UTF-16 or UTF-32 to UTF-8; a lone surrogate or an out-of-range unit becomes U+FFFD rather
// than vanishing, and a trailing odd byte is dropped (it cannot be a character).
std::string FromWideUnits(std::string_view bytes, int unitSize, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const std::size_t units = bytes.size() / static_cast<std::size_t>(unitSize);
    auto unitAt = [&](std::size_t k) {
        char32_t v = 0;
        for (int b = 0; b < unitSize; ++b) {
            const int shift = bigEndian ? 8 * (unitSize - 1 - b) : 8 * b;
            v |= static_cast<char32_t>(Byte(bytes, k * unitSize + b)) << shift;
        }
        return v;
    };
    for (std::size_t k = 0; k < units; ++k) {
        char32_t c = unitAt(k);
        if (unitSize == 2 && c >= 0xD800 && c <= 0xDBFF && k + 1 < units) {
            const char32_t low = unitAt(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++k;
            }
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            c = 0xFFFD;
        }
        utf8::Append(out, c);
    }
    return out;
}

// Without a mark, UTF-16 shows itself by a zero byte in most units of Latin text.
std::optional<bool> LooksLikeUtf16(std::string_view bytes) {
    const std::size_t n = std::min<std::size_t>(bytes.size(), 4096) & ~std::size_t{1};
    if (n < 8) {
        return std::nullopt;
    }
    std::size_t zeroEven = 0, zeroOdd = 0;
    for (std::size_t i = 0; i < n; i += 2) {
        zeroEven += Byte(bytes, i) == 0;
        zeroOdd += Byte(bytes, i + 1) == 0;
    }
    const std::size_t units = n / 2;
    if (zeroOdd * 10 >= units * 4 && zeroEven * 100 < units) {
        return false;  // little-endian
    }
    if (zeroEven * 10 >= units * 4 && zeroOdd * 100 < units) {
        return true;  // big-endian
    }
    return std::nullopt;
}

// True when the well-formed multi-byte sequences outnumber the stray bytes ten to one: UTF-8
// with a few damaged bytes. Legacy text, even East Asian text whose byte pairs sometimes look
// like UTF-8, has far more stray bytes than that.
bool LooksLikeMostlyUtf8(std::string_view bytes, std::size_t validPrefix) {
    std::size_t sequences = 0;
    std::size_t stray = 0;
    std::size_t i = 0;
    std::size_t valid = validPrefix;
    while (true) {
        const std::string_view run = bytes.substr(i, valid);
        sequences += static_cast<std::size_t>(std::count_if(run.begin(), run.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) == 0xC0;
        }));
        i += valid;
        if (i >= bytes.size()) {
            break;
        }
        ++stray;
        ++i;
        valid = utf8::ValidPrefixLength(bytes.substr(i));
    }
    return sequences >= 10 * stray;
}

// How much of a file its kind is judged on: the control-byte share on the first blocks, the
// signatures on the first few kilobytes (they sit at the start, a tar header at 257).
constexpr std::size_t kJudgedBytes = 64 * 1024;
constexpr std::size_t kSignatureBytes = 8 * 1024;

// The types the signature database gives to text it cannot call text (zero bytes make it
// "application/octet-stream") or to text that begins like a script or a mail; every other
// type is a picture, a sound, a font, an archive, a document or a program.
bool MayBeText(std::string_view type) {
    for (const std::string_view family : {"text/", "message/", "inode/"}) {
        if (type.substr(0, family.size()) == family) {
            return true;
        }
    }
    for (const std::string_view textual : {"application/octet-stream", "application/json",
                                           "application/xml", "application/javascript"}) {
        if (type == textual) {
            return true;
        }
    }
    return false;
}

// Zero bytes in a text are padding or damage, never characters: they go, everything else stays.
std::string WithoutZeros(std::string utf8) {
    if (utf8.find('\0') != std::string::npos) {
        std::erase(utf8, '\0');
    }
    return utf8;
}

DecodedText DecodeBytes(std::string owned);

}  // namespace

bool LooksLikeBinary(std::string_view bytes, FileSignatures& signatures) {
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF" ||
        LooksLikeUtf16(bytes).has_value() || Iso2022EncodingOf(bytes.substr(0, kJudgedBytes))) {
        return false;  // zero bytes are half of UTF-16; shifts and escapes are ISO-2022's
    }
    // Form feed, vertical tab, escape (terminal colours) and the old end-of-file mark (0x1A)
    // occur in real text, and so do zero bytes: a log padded after a crash, a stray NUL.
    const std::string_view sample = bytes.substr(0, kJudgedBytes);
    std::size_t controls = 0;
    std::size_t zeros = 0;
    for (const char ch : sample) {
        const auto b = static_cast<std::uint8_t>(ch);
        zeros += b == 0;
        controls += b != 0 && b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' &&
                    b != '\v' && b != 0x1A && b != 0x1B;
    }
    if (controls * 50 > sample.size() + 100) {  // over 2% of the bytes, beyond a stray two
        return true;
    }
    if (zeros == 0 && controls == 0) {
        return false;  // clean text, whatever its first bytes resemble ("MZ", "BM", "%PDF")
    }
    // Zero or control bytes: a picture, an archive, a document or a program shows its
    // signature. Without the database, the strict reading: a zero byte is not text.
    const std::optional<std::string> type = signatures.MimeTypeOf(bytes.substr(0, kSignatureBytes));
    return type ? !MayBeText(*type) : zeros > 0;
}

DecodedText DecodeText(std::string bytes) {
    DecodedText decoded = DecodeBytes(std::move(bytes));
    decoded.utf8 = WithoutZeros(std::move(decoded.utf8));
    return decoded;
}

namespace {

DecodedText DecodeBytes(std::string owned) {
    const std::string_view bytes = owned;
    auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    using namespace std::string_view_literals;
    if (startsWith("\xEF\xBB\xBF"sv)) {
        return {utf8::ToValidUtf8(bytes.substr(3)), "UTF-8"};
    }
    // The UTF-32 marks first: the little-endian one begins with the UTF-16 one.
    if (startsWith("\xFF\xFE\x00\x00"sv)) {
        return {FromWideUnits(bytes.substr(4), 4, false), "UTF-32LE"};
    }
    if (startsWith("\x00\x00\xFE\xFF"sv)) {
        return {FromWideUnits(bytes.substr(4), 4, true), "UTF-32BE"};
    }
    if (startsWith("\xFF\xFE"sv)) {
        return {FromWideUnits(bytes.substr(2), 2, false), "UTF-16LE"};
    }
    if (startsWith("\xFE\xFF"sv)) {
        return {FromWideUnits(bytes.substr(2), 2, true), "UTF-16BE"};
    }
    if (const auto bigEndian = LooksLikeUtf16(bytes)) {
        return {FromWideUnits(bytes, 2, *bigEndian), *bigEndian ? "UTF-16BE" : "UTF-16LE"};
    }
    // Before the ASCII reading: ISO-2022 and HZ are 7-bit.
    if (const std::optional<std::string> iso2022 = Iso2022EncodingOf(bytes)) {
        return {DecodeIso2022(bytes, *iso2022).utf8, *iso2022};
    }
    const std::size_t validPrefix = utf8::ValidPrefixLength(bytes);
    if (validPrefix == bytes.size()) {
        return {std::move(owned), "UTF-8"};
    }
    // Mostly valid UTF-8 with a few stray bytes (text pasted together from several sources)
    // stays UTF-8: every valid character is kept, and each stray byte reads by the policy.
    if (LooksLikeMostlyUtf8(bytes, validPrefix)) {
        return {utf8::ToValidUtf8(bytes), "UTF-8"};
    }
    const std::string encoding = ChooseLegacyEncoding(bytes);
    if (encoding == "WINDOWS-1252") {
        return {FromWindows1252(bytes), encoding};  // our own table: iconv's answer, faster
    }
    if (auto converted = ConvertToUtf8(bytes, encoding)) {
        return {std::move(converted->utf8), encoding};
    }
    return {FromWindows1252(bytes), "WINDOWS-1252"};
}

}  // namespace

}  // namespace text
