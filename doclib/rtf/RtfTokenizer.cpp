#include "doclib/rtf/RtfTokenizer.h"

#include <array>
#include <cstring>

#include "text/HexDigit.h"

namespace Tessaly::Docs::Rtf {

namespace {

enum ByteClass : std::uint8_t {
    kTextByte,
    kIgnoredByte,
    kOpenByte,
    kCloseByte,
    kEscapeByte,
    kHighByte
};

constexpr std::array<ByteClass, 256> MakeClasses() {
    std::array<ByteClass, 256> classes{};
    for (int b = 0; b < 256; ++b) {
        classes[b] = b >= 0x80 ? kHighByte : (b < 0x20 || b == 0x7F) ? kIgnoredByte : kTextByte;
    }
    classes['\t'] = kTextByte;  // a raw tab is a tab, though writers should use \tab
    classes['{'] = kOpenByte;
    classes['}'] = kCloseByte;
    classes['\\'] = kEscapeByte;
    return classes;
}

constexpr std::array<ByteClass, 256> kClasses = MakeClasses();

Token Simple(Token::Kind kind) {
    Token token;
    token.kind = kind;
    return token;
}

constexpr bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Passes over whole 8-byte words of plain text (no control byte, no 8-bit byte, no \ { })
// at once; the byte loop after it finds the exact end. Plain text is most of a document.
std::size_t SkipPlainWords(std::string_view data, std::size_t pos) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    auto hasByte = [](std::uint64_t word, unsigned char value) {
        const std::uint64_t x = word ^ (kOnes * value);
        return ((x - kOnes) & ~x & kHigh) != 0;
    };
    while (pos + 8 <= data.size()) {
        std::uint64_t word;
        std::memcpy(&word, data.data() + pos, 8);
        const bool special = (word & kHigh) != 0 || ((word - kOnes * 0x20) & ~word & kHigh) != 0 ||
                             hasByte(word, '\\') || hasByte(word, '{') || hasByte(word, '}') ||
                             hasByte(word, 0x7F);
        if (special) {
            break;
        }
        pos += 8;
    }
    return pos;
}

// Numbers beyond a signed 32-bit value are clamped; digits are still consumed, so a huge
// number never turns into text.
constexpr std::int64_t kParamLimit = 2147483647;

}  // namespace

Token RtfTokenizer::Next() {
    const std::size_t size = data_.size();
    while (pos_ < size) {
        const auto c = static_cast<unsigned char>(data_[pos_]);
        switch (kClasses[c]) {
            case kTextByte: {
                const std::size_t start = pos_;
                pos_ = SkipPlainWords(data_, pos_);
                while (pos_ < size &&
                       kClasses[static_cast<unsigned char>(data_[pos_])] == kTextByte) {
                    ++pos_;
                }
                Token token;
                token.kind = Token::kText;
                token.text = data_.substr(start, pos_ - start);
                return token;
            }
            case kIgnoredByte:
                ++pos_;
                break;
            case kOpenByte:
                ++pos_;
                return Simple(Token::kGroupOpen);
            case kCloseByte:
                ++pos_;
                return Simple(Token::kGroupClose);
            case kHighByte: {
                ++pos_;
                Token token;
                token.kind = Token::kByte;
                token.byte = c;
                return token;
            }
            case kEscapeByte: {
                Token token = ReadControl();
                if (token.kind != Token::kEnd) {
                    return token;
                }
                break;  // a malformed \' escape: nothing to report, read on
            }
        }
    }
    return Simple(Token::kEnd);
}

// Reads what follows a backslash. Returns a kEnd token for an escape that yields nothing.
Token RtfTokenizer::ReadControl() {
    const std::size_t size = data_.size();
    ++pos_;  // the backslash
    Token token;
    if (pos_ >= size) {
        return token;
    }
    const char first = data_[pos_];
    if (IsLetter(first)) {
        const std::size_t start = pos_;
        while (pos_ < size && IsLetter(data_[pos_])) {
            ++pos_;
        }
        const std::size_t length = pos_ - start;
        token.kind = Token::kControlWord;
        // An over-long name keeps its letters but can never match a known word.
        token.text = data_.substr(start, length);
        bool negative = false;
        if (pos_ + 1 < size && data_[pos_] == '-' && IsDigit(data_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        if (pos_ < size && IsDigit(data_[pos_])) {
            std::int64_t value = 0;
            while (pos_ < size && IsDigit(data_[pos_])) {
                if (value <= kParamLimit) {
                    value = value * 10 + (data_[pos_] - '0');
                }
                ++pos_;
            }
            if (value > kParamLimit) {
                value = kParamLimit;
            }
            token.hasParam = true;
            token.param = static_cast<std::int32_t>(negative ? -value : value);
        }
        if (pos_ < size && data_[pos_] == ' ') {
            ++pos_;  // the delimiting space belongs to the control word
        }
        return token;
    }
    if (first == '\'') {
        ++pos_;
        if (pos_ + 1 < size) {
            const int high = ::text::HexDigitValue(data_[pos_]);
            const int low = ::text::HexDigitValue(data_[pos_ + 1]);
            if (high >= 0 && low >= 0) {
                pos_ += 2;
                token.kind = Token::kByte;
                token.byte = static_cast<std::uint8_t>(high * 16 + low);
            }
        }
        return token;
    }
    ++pos_;
    if (first == '\r' || first == '\n') {
        // A backslash before a line end is a paragraph mark.
        token.kind = Token::kControlWord;
        token.text = "par";
        return token;
    }
    token.kind = Token::kControlSymbol;
    token.symbol = first;
    return token;
}

void RtfTokenizer::SkipGroup() {
    const std::size_t size = data_.size();
    std::size_t depth = 1;
    while (pos_ < size) {
        const char c = data_[pos_];
        if (c == '{') {
            ++depth;
            ++pos_;
        } else if (c == '}') {
            ++pos_;
            if (--depth == 0) {
                return;
            }
        } else if (c == '\\') {
            if (pos_ + 1 < size && IsLetter(data_[pos_ + 1])) {
                const Token word = ReadControl();
                if (word.hasParam && word.text == "bin") {
                    SkipBytes(word.param);
                }
            } else {
                pos_ += 2;  // a control symbol, \{ \} \\ included
            }
        } else {
            ++pos_;
        }
    }
    if (pos_ > size) {
        pos_ = size;
    }
}

void RtfTokenizer::SkipBytes(std::int64_t count) {
    if (count <= 0) {
        return;
    }
    const auto left = static_cast<std::int64_t>(data_.size() - pos_);
    pos_ += static_cast<std::size_t>(count < left ? count : left);
}

bool RtfTokenizer::NextIsUnicodeTwin() const {
    std::size_t at = pos_;
    while (at < data_.size() && (data_[at] == '\r' || data_[at] == '\n')) {
        ++at;
    }
    const std::string_view rest = data_.substr(at);
    return rest.size() >= 5 && rest.substr(0, 5) == "\\*\\ud" &&
           (rest.size() == 5 || !IsLetter(rest[5]));
}

bool RtfTokenizer::TakeTrailByte(std::uint8_t& byte) {
    if (pos_ < data_.size() && kClasses[static_cast<unsigned char>(data_[pos_])] == kTextByte) {
        byte = static_cast<std::uint8_t>(data_[pos_++]);
        return true;
    }
    return false;
}

}  // namespace Tessaly::Docs::Rtf
