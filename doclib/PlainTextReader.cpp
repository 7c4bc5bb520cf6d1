#include "doclib/PlainTextReader.h"

#include "doclib/HugePages.h"
#include "doclib/ParagraphBuilder.h"
#include "doclib/TextCodePoint.h"
#include "text/PlainTextLines.h"
#include "text/Utf8.h"

namespace Tessaly::Docs {

namespace {

// Document properties are short; the RTF reader keeps no more of one than this.
constexpr std::size_t kTitleLimit = 64 * 1024;

// Hands `run` on in pieces: bytes that reach the book as they are go in one piece; a
// character the RTF reader would drop is left out, and a byte that is not UTF-8 becomes the
// character the staging document writes for it.
template <typename Out>
void ForEachKeptPiece(std::string_view run, Out&& out) {
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < run.size()) {
        // Printable ASCII is all of most texts; DELETE is a control the reader drops.
        if (static_cast<unsigned char>(run[i]) < 0x7F) {
            ++i;
            continue;
        }
        const ::text::utf8::CodePoint cp = ::text::utf8::DecodeAt(run, i);
        const bool keep = IsTextCodePoint(cp.value);
        if (keep && ::text::utf8::IsWellFormed(run, i, cp)) {
            i += cp.length;
            continue;
        }
        out(run.substr(start, i - start));
        if (keep) {
            out(::text::utf8::Utf8Char(cp.value).view());
        }
        i += cp.length;
        start = i;
    }
    out(run.substr(start));
}

class BodySink final : public ::text::PlainTextSink {
  public:
    explicit BodySink(Document& doc) : builder_(doc) {}

    void Text(std::string_view utf8) override {
        ForEachKeptPiece(utf8, [this](std::string_view piece) { builder_.Text(piece, kPlain, 0); });
    }
    void Tab() override { builder_.Text("\t", kPlain, 0); }
    void LineBreak() override { builder_.Text("\n", kPlain, 0); }
    void PageBreak() override { builder_.Break(BlockKind::PageBreak, BlockShape{}); }
    void EndLine() override { builder_.EndParagraph(BlockShape{}); }
    void Finish() { builder_.Finish(BlockShape{}); }

  private:
    ParagraphBuilder builder_;
};

// A title is one line: layout characters read as spaces, and blanks around it go.
class TitleSink final : public ::text::PlainTextSink {
  public:
    void Text(std::string_view utf8) override {
        ForEachKeptPiece(utf8, [this](std::string_view piece) { Append(piece); });
    }
    void Tab() override { Append(" "); }
    void LineBreak() override { Append(" "); }
    void PageBreak() override { Append(" "); }
    void EndLine() override {}

    std::string Take() {
        const auto first = title_.find_first_not_of(' ');
        if (first == std::string::npos) {
            return {};
        }
        return title_.substr(first, title_.find_last_not_of(' ') + 1 - first);
    }

  private:
    void Append(std::string_view piece) {
        if (title_.size() < kTitleLimit) {
            title_.append(piece.substr(0, kTitleLimit - title_.size()));
        }
    }

    std::string title_;
};

}  // namespace

Document ReadPlainTextDocument(std::string_view utf8, std::string_view title) {
    Document doc;
    // A line a paragraph, and the text about as long as its source.
    doc.text.reserve(utf8.size());
    std::size_t lines = 1;
    for (const char c : utf8) {
        lines += c == '\n' ? 1 : 0;
    }
    doc.blocks.reserve(lines);
    doc.spans.reserve(lines);
    AdviseHugePagesFor(doc.text);
    AdviseHugePagesFor(doc.blocks);
    AdviseHugePagesFor(doc.spans);
    {
        BodySink body(doc);
        ::text::WalkPlainText(utf8, true, body);
        body.Finish();
    }
    TitleSink titleSink;
    ::text::WalkPlainText(title, false, titleSink);
    doc.metadata.title = titleSink.Take();
    return doc;
}

}  // namespace Tessaly::Docs
