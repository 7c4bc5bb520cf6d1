#pragma once
// The tags of raw HTML inside Markdown, read one at a time as CommonMark defines a tag: a name,
// attributes with optional quoted values, and nothing else. The reader decides what a tag
// means; this only finds where it ends. A tag may not be longer than kHtmlTagLimit bytes, so
// hostile HTML costs time linear in its length.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Tessaly::Docs {

constexpr std::size_t kHtmlTagLimit = 4096;

enum class HtmlPieceKind : std::uint8_t {
    OpenTag,
    CloseTag,
    // A comment, processing instruction or declaration: nothing a reader sees.
    Hidden,
};

struct HtmlTag {
    HtmlPieceKind kind = HtmlPieceKind::OpenTag;
    std::string name;  // in lower case
    bool selfClosing = false;
    std::size_t length = 0;  // bytes of the text the tag takes
    // Names in lower case; values as written (references not yet decoded).
    std::vector<std::pair<std::string, std::string>> attributes;

    // The value of the attribute `name`, empty when absent.
    std::string_view Attribute(std::string_view wanted) const;
    bool HasAttribute(std::string_view wanted) const;
};

class HtmlTagScanner {
  public:
    explicit HtmlTagScanner(std::string_view text) : text_(text) {}

    // Reads the tag that starts at `at` (text[at] == '<'). False when none starts there; the
    // '<' is then text.
    bool Read(std::size_t at, HtmlTag& tag);

  private:
    // Where the next `c` (a quote or '>') at or after `from` is (npos when none); remembered,
    // so scanning many unclosed values costs one pass over the text.
    std::size_t NextOf(char c, std::size_t from);
    bool ReadHidden(std::size_t at, HtmlTag& tag);

    std::string_view text_;
    static constexpr char kRemembered[3] = {'"', '\'', '>'};
    std::size_t from_[3] = {0, 0, 0};  // the next_ entry is the first at or after this
    std::size_t next_[3] = {0, 0, 0};
    bool known_[3] = {false, false, false};
    bool noCommentEnd_ = false;
};

}  // namespace Tessaly::Docs
