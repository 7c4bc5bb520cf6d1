#include "text/EncodingConversion.h"

#include <iconv.h>

#include <cerrno>

#include "text/Utf8.h"
#include "text/Windows1252.h"

namespace text {

namespace {

const auto kNoConverter = reinterpret_cast<iconv_t>(-1);

// Closes the descriptor on every path out.
class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (cd_ != kNoConverter) {
            iconv_close(cd_);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

// Shift_JIS files on disk are Windows' Shift_JIS: bytes 0x5C and 0x7E are the backslash and
// the tilde of paths and commands, not the yen sign and overline of the old JIS Roman set.
const char* IconvSourceName(const std::string& encoding) {
    if (encoding == "SHIFT_JIS" || encoding == "SHIFT-JIS" || encoding == "SJIS") {
        return "CP932";
    }
    return encoding.c_str();
}

}  // namespace

std::optional<Conversion> ConvertToUtf8(std::string_view bytes, const std::string& encoding,
                                        bool sample) {
    const Iconv cd("UTF-8", IconvSourceName(encoding));
    if (cd.get() == kNoConverter) {
        return std::nullopt;
    }
    Conversion result;
    std::string& out = result.utf8;
    out.resize(bytes.size() * 2 + 16);
    std::size_t done = 0;
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    // Keeps converting until the input is used up; `flushing` makes the last call the one
    // that hands out a character the converter still holds.
    bool flushing = false;
    while (true) {
        char* outPtr = out.data() + done;
        std::size_t outLeft = out.size() - done;
        const std::size_t r = flushing ? iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft)
                                       : iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        done = out.size() - outLeft;
        if (r != static_cast<std::size_t>(-1)) {
            if (flushing) {
                break;
            }
            flushing = inLeft == 0;
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        if (errno == EINVAL && sample) {
            inLeft = 0;  // half a character where the sample was cut
            flushing = true;
            continue;
        }
        // EILSEQ, or EINVAL at the true end: the byte is read by the one policy, and the
        // converter starts afresh after it.
        const utf8::Utf8Char character(Windows1252Char(static_cast<std::uint8_t>(*in)));
        const std::string_view piece = character.view();
        if (out.size() - done < piece.size()) {
            out.resize(out.size() * 2 + piece.size());
        }
        out.replace(done, piece.size(), piece);
        done += piece.size();
        ++in;
        --inLeft;
        ++result.invalidBytes;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
        flushing = inLeft == 0;
    }
    out.resize(done);
    return result;
}

CharacterConverter::CharacterConverter(const std::string& encoding)
    : converter_(iconv_open("UTF-32LE", IconvSourceName(encoding))) {}

CharacterConverter::~CharacterConverter() {
    if (Valid()) {
        iconv_close(static_cast<iconv_t>(converter_));
    }
}

bool CharacterConverter::Valid() const {
    return static_cast<iconv_t>(converter_) != kNoConverter;
}

char32_t CharacterConverter::Convert(const std::uint8_t* bytes, int count) {
    if (!Valid() || count < 1 || count > 4) {
        return kInvalid;
    }
    const auto cd = static_cast<iconv_t>(converter_);
    char in[4];
    for (int i = 0; i < count; ++i) {
        in[i] = static_cast<char>(bytes[i]);
    }
    unsigned char out[32];
    char* inPtr = in;
    auto inLeft = static_cast<std::size_t>(count);
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
    if (error == 0) {
        iconv(cd, nullptr, nullptr, &outPtr, &outLeft);  // the character a converter held back
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    if (sizeof out - outLeft >= 4) {
        return static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) |
                                     (static_cast<char32_t>(out[3]) << 24));
    }
    return error == EINVAL ? kIncomplete : kInvalid;
}

}  // namespace text
