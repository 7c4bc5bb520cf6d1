#include "text/StagingRtf.h"

#include <array>
#include <cstdint>

#include "text/PlainTextLines.h"
#include "text/StagingMarkdown.h"
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

    // Escaped text; where lines end and what a layout character becomes is PlainTextLines'
    // to say. In a one-line title, layout characters separate words like a space.
    void Text(std::string_view utf8, bool paragraphs) {
        Sink sink(*this, paragraphs);
        WalkPlainText(utf8, paragraphs, sink);
    }

    // Any bytes as an ignorable destination that gives them back exactly: printable ASCII as
    // itself, every other byte as \'hh. A line end in the bytes also ends the RTF's line.
    void Destination(std::string_view name, std::string_view bytes) {
        static constexpr char kHex[] = "0123456789abcdef";
        Raw("{\\*\\");
        Raw(name);
        Raw(" ");
        std::size_t i = 0;
        while (i < bytes.size()) {
            std::size_t run = i;
            while (run < bytes.size() && kPlain[static_cast<unsigned char>(bytes[run])] &&
                   bytes[run] != 0x7F) {
                ++run;
            }
            if (run > i) {
                Raw(bytes.substr(i, run - i));
                i = run;
                continue;
            }
            const auto b = static_cast<unsigned char>(bytes[i++]);
            if (b == '\\' || b == '{' || b == '}') {
                const char escape[2] = {'\\', static_cast<char>(b)};
                Raw(std::string_view(escape, 2));
            } else {
                const char escape[4] = {'\\', '\'', kHex[b >> 4], kHex[b & 15]};
                Raw(std::string_view(escape, 4));
                if (b == '\n') {
                    Raw("\n");
                }
            }
        }
        Raw("}");
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

    class Sink final : public PlainTextSink {
      public:
        Sink(RtfOut& out, bool paragraphs) : out_(out), paragraphs_(paragraphs) {}
        void Text(std::string_view utf8) override { out_.Run(utf8); }
        void Tab() override { out_.Raw("\\tab "); }
        void LineBreak() override { out_.Raw(paragraphs_ ? "\\line " : " "); }
        void PageBreak() override { out_.Raw(paragraphs_ ? "\\page\n" : " "); }
        void EndLine() override { out_.Raw("\\par\n"); }

      private:
        RtfOut& out_;
        bool paragraphs_;
    };

    // A run without control characters: plain ASCII goes out in pieces, `\`, `{` and `}` are
    // escaped, every other character is written by its number.
    void Run(std::string_view utf8) {
        std::size_t i = 0;
        const std::size_t n = utf8.size();
        while (i < n) {
            std::size_t run = i;
            while (run < n && kPlain[static_cast<unsigned char>(utf8[run])]) {
                ++run;
            }
            if (run > i) {
                Raw(utf8.substr(i, run - i));
                i = run;
                continue;
            }
            const char c = utf8[i];
            if (static_cast<unsigned char>(c) < 0x80) {
                const char escape[2] = {'\\', c};
                Raw(std::string_view(escape, 2));
                ++i;
                continue;
            }
            const ::text::utf8::CodePoint cp = ::text::utf8::DecodeAt(utf8, i);
            Character(cp.value);
            i += cp.length;
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
                     const std::function<void(std::string_view)>& emit,
                     std::optional<std::string_view> markdownSource) {
    RtfOut out(emit);
    out.Raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}");
    out.Raw("{\\info{\\title ");
    out.Text(title, false);
    out.Raw("}}\n");
    if (markdownSource) {
        out.Destination(kMarkdownSourceDestination, *markdownSource);
        out.Destination(kMarkdownTextDestination, utf8Text);
        out.Raw("\n");
    }
    out.Raw("\\pard\\plain\\f0 ");
    out.Text(utf8Text, true);
    out.Raw("}\n");
    out.Flush();
}

std::string StagingRtf(std::string_view utf8Text, std::string_view title,
                       std::optional<std::string_view> markdownSource) {
    std::string document;
    WriteStagingRtf(
        utf8Text, title, [&](std::string_view piece) { document.append(piece); }, markdownSource);
    return document;
}

}  // namespace text
