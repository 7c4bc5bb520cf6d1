#include "text/StagingRtf.h"

#include <array>
#include <cstdint>

#include "text/Utf8.h"
#include "text/Windows1252.h"

namespace text {

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

class RtfOut {
  public:
    explicit RtfOut(const std::function<void(std::string_view)>& emit) : emit_(emit) {
        buffer_.reserve(kFlushSize + 64);
    }

    void Raw(std::string_view s) {
        buffer_.append(s);
        if (buffer_.size() >= kFlushSize) {
            Flush();
        }
    }

    void Flush() {
        if (!buffer_.empty()) {
            emit_(buffer_);
            buffer_.clear();
        }
    }

    // Escaped text. With `paragraphs`, CR LF, a lone LF and a lone CR each end a paragraph,
    // and a last line without a line end is a paragraph too; otherwise line ends are dropped
    // (a title is one line).
    void Text(std::string_view utf8, bool paragraphs) {
        std::size_t i = 0;
        const std::size_t n = utf8.size();
        bool lineOpen = false;
        while (i < n) {
            // Plain ASCII runs go out in one piece.
            std::size_t run = i;
            while (run < n && kPlain[static_cast<unsigned char>(utf8[run])]) {
                ++run;
            }
            if (run > i) {
                Raw(utf8.substr(i, run - i));
                lineOpen = true;
                i = run;
                continue;
            }
            const char c = utf8[i];
            if (c == '\r' || c == '\n') {
                if (paragraphs) {
                    Raw("\\par\n");
                    lineOpen = false;
                }
                i += (c == '\r' && i + 1 < n && utf8[i + 1] == '\n') ? 2 : 1;
                continue;
            }
            lineOpen = true;
            if (static_cast<unsigned char>(c) < 0x80) {
                Special(c, paragraphs);
                ++i;
                continue;
            }
            const ::text::utf8::CodePoint cp = ::text::utf8::DecodeAt(utf8, i);
            Character(cp.value);
            i += cp.length;
        }
        if (paragraphs && lineOpen) {
            Raw("\\par\n");
        }
    }

  private:
    // Bytes written as they are: printable ASCII other than the three RTF specials.
    static constexpr std::array<bool, 256> kPlain = [] {
        std::array<bool, 256> plain{};
        for (int b = 0x20; b < 0x80; ++b) {
            plain[b] = b != '\\' && b != '{' && b != '}';
        }
        return plain;
    }();

    // Layout characters become their layout in the text; in a one-line title they separate
    // words like a space.
    void Special(char c, bool paragraphs) {
        switch (c) {
            case '\\':
                Raw("\\\\");
                break;
            case '{':
                Raw("\\{");
                break;
            case '}':
                Raw("\\}");
                break;
            case '\t':
                Raw("\\tab ");
                break;
            case '\f':
                Raw(paragraphs ? "\\page\n" : " ");
                break;
            case '\v':
                Raw(paragraphs ? "\\line " : " ");
                break;
            default:
                // Other control characters are not text a reader can see; RTF has no place
                // for them in a paragraph.
                break;
        }
    }

    void Character(char32_t c) {
        static constexpr char kHex[] = "0123456789abcdef";
        if (const std::uint8_t b = Windows1252Byte(c); b != 0) {
            const char escape[4] = {'\\', '\'', kHex[b >> 4], kHex[b & 15]};
            Raw(std::string_view(escape, 4));
            return;
        }
        if (c >= 0x10000) {
            const char32_t v = c - 0x10000;
            Unicode(static_cast<char16_t>(0xD800 + (v >> 10)));
            Unicode(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
            return;
        }
        Unicode(static_cast<char16_t>(c));
    }

    // \uN takes a signed 16-bit number; "?" is the one fallback character \uc1 announces.
    void Unicode(char16_t unit) {
        const int n = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
        Raw("\\u");
        Raw(std::to_string(n));
        Raw("?");
    }

    const std::function<void(std::string_view)>& emit_;
    std::string buffer_;
};

}  // namespace

void WriteStagingRtf(std::string_view utf8Text, std::string_view title,
                     const std::function<void(std::string_view)>& emit) {
    RtfOut out(emit);
    out.Raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}");
    out.Raw("{\\info{\\title ");
    out.Text(title, false);
    out.Raw("}}\n\\pard\\plain\\f0 ");
    out.Text(utf8Text, true);
    out.Raw("}\n");
    out.Flush();
}

std::string StagingRtf(std::string_view utf8Text, std::string_view title) {
    std::string document;
    WriteStagingRtf(utf8Text, title, [&](std::string_view piece) { document.append(piece); });
    return document;
}

}  // namespace text
