#include "convert/TextDecoder.h"

#include <iconv.h>
#include <uchardet.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

namespace quillane {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// 0x80..0x9F of Windows-1252; the undefined five keep their own value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

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
        AppendUtf8(out, c);
    }
    return out;
}

// UTF-8 after a byte-order mark is taken on trust, but a stray invalid byte is read as
// Windows-1252 instead of being dropped.
std::string RepairUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t len = 1;
        const auto b = Byte(bytes, i);
        if (b >= 0xC2 && b <= 0xF4) {
            len = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        }
        if (len > 1 && i + len <= bytes.size() && IsValidUtf8(bytes.substr(i, len))) {
            out.append(bytes.substr(i, len));
            i += len;
        } else {
            out += FromWindows1252(bytes.substr(i, 1));
            ++i;
        }
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

// uchardet's guess, upper-cased, or "" when it has none. A sample is enough to decide.
std::string GuessCharset(std::string_view bytes) {
    constexpr std::size_t kSample = 256 * 1024;
    std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(
        uchardet_new(), uchardet_delete);
    if (!detector) {
        return {};
    }
    const std::string_view sample = bytes.substr(0, kSample);
    if (uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) {
        return {};
    }
    uchardet_data_end(detector.get());
    std::string name = uchardet_get_charset(detector.get());
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    });
    return name;
}

// Whole-text conversion with iconv; nullopt when the bytes do not fit the encoding.
std::optional<std::string> ConvertWithIconv(std::string_view bytes, const std::string& from) {
    iconv_t cd = iconv_open("UTF-8", from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out(bytes.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t done = 0;
    bool ok = true;
    while (true) {
        char* outPtr = out.data() + done;
        std::size_t outLeft = out.size() - done;
        const std::size_t r = iconv(cd, inLeft > 0 ? &in : nullptr, &inLeft, &outPtr, &outLeft);
        done = out.size() - outLeft;
        if (r != static_cast<std::size_t>(-1)) {
            if (inLeft == 0) {
                break;
            }
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        ok = false;  // EILSEQ or EINVAL: not text in this encoding
        break;
    }
    iconv_close(cd);
    if (!ok) {
        return std::nullopt;
    }
    out.resize(done);
    return out;
}

}  // namespace

bool IsValidUtf8(std::string_view s) {
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        // Runs of ASCII, eight bytes at a time.
        while (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, s.data() + i, 8);
            if ((word & 0x8080808080808080ULL) != 0) {
                break;
            }
            i += 8;
        }
        if (i >= n) {
            break;
        }
        const auto b = Byte(s, i);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        std::uint8_t lo = 0x80, hi = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0)
                lo = 0xA0;
            if (b == 0xED)
                hi = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0)
                lo = 0x90;
            if (b == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        if (i + len > n) {
            return false;
        }
        const auto second = Byte(s, i + 1);
        if (second < lo || second > hi) {
            return false;
        }
        for (std::size_t k = 2; k < len; ++k) {
            if ((Byte(s, i + k) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += len;
    }
    return true;
}

std::string FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        if (b < 0x80) {
            out += ch;
        } else if (b < 0xA0) {
            AppendUtf8(out, kCp1252High[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}

DecodedText DecodeText(std::string owned) {
    const std::string_view bytes = owned;
    auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    using namespace std::string_view_literals;
    if (startsWith("\xEF\xBB\xBF"sv)) {
        return {RepairUtf8(bytes.substr(3)), "UTF-8"};
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
    if (IsValidUtf8(bytes)) {
        return {std::move(owned), "UTF-8"};
    }
    const std::string guess = GuessCharset(bytes);
    const bool unsure = guess.empty() || guess == "ASCII" || guess == "UTF-8" ||
                        guess == "WINDOWS-1252" || guess == "ISO-8859-1";
    if (!unsure) {
        if (auto converted = ConvertWithIconv(bytes, guess)) {
            return {std::move(*converted), guess};
        }
    }
    return {FromWindows1252(bytes), "WINDOWS-1252"};
}

}  // namespace quillane
