#include "doclib/markdown/RawHtml.h"

#include <string>

#include "doclib/markdown/CharacterReferences.h"
#include "doclib/markdown/HtmlTag.h"

namespace Tessaly::Docs {

namespace {

struct PhraseTag {
    std::string_view name;
    std::uint16_t format;
};
constexpr PhraseTag kPhraseTags[] = {
    {"b", kBold},        {"strong", kStrong},   {"i", kItalic}, {"em", kEmphasis},
    {"u", kUnderline},   {"ins", kUnderline},   {"s", kStrike}, {"del", kStrike},
    {"strike", kStrike}, {"code", kCode},       {"tt", kCode},  {"kbd", kKeyboard},
    {"sub", kSubscript}, {"sup", kSuperscript}, {"a", kLink},
};

// Tags that only lay their content out: the content stays, the tag goes. The block ones part
// paragraphs.
constexpr std::string_view kBlockWrappers[] = {"p",       "div",    "center", "section",
                                               "article", "header", "footer", "figure",
                                               "main",    "aside",  "nav",    "blockquote"};
constexpr std::string_view kInlineWrappers[] = {"span", "font",  "small",   "big",
                                                "abbr", "cite",  "picture", "source",
                                                "mark", "label", "nobr",    "figcaption"};

template <typename List>
bool Contains(const List& list, std::string_view name) {
    for (std::string_view entry : list) {
        if (entry == name) {
            return true;
        }
    }
    return false;
}

std::uint16_t PhraseFormat(std::string_view name) {
    for (const PhraseTag& tag : kPhraseTags) {
        if (tag.name == name) {
            return tag.format;
        }
    }
    return 0;
}

std::string Decoded(std::string_view value) {
    std::string out;
    AppendWithReferencesDecoded(out, value);
    return out;
}

class RawHtmlMapper {
  public:
    RawHtmlMapper(std::string_view html, bool block, MarkdownBuilder& builder)
        : html_(html), block_(block), builder_(builder), scanner_(html) {}

    void Run() {
        std::size_t textStart = 0;
        std::size_t i = 0;
        HtmlTag tag;
        while ((i = html_.find('<', i)) != std::string_view::npos) {
            if (!scanner_.Read(i, tag)) {
                ++i;
                continue;
            }
            Words(html_.substr(textStart, i - textStart));
            Apply(tag, html_.substr(i, tag.length));
            i += tag.length;
            textStart = i;
        }
        Words(html_.substr(textStart));
        if (block_) {
            builder_.EndLeaf();
            builder_.CloseHtmlContainer(ContainerKind::Summary);
        }
    }

  private:
    // Text between tags. In a block, white space runs are one space, as a browser shows them.
    void Words(std::string_view raw) {
        if (raw.empty()) {
            return;
        }
        std::string text;
        AppendWithReferencesDecoded(text, raw);
        if (!block_) {
            builder_.Text(text);
            return;
        }
        std::string collapsed;
        bool space = false;
        for (char c : text) {
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
                space = true;
                continue;
            }
            if (space && (builder_.InLeaf() || !collapsed.empty())) {
                collapsed.push_back(' ');
            }
            space = false;
            collapsed.push_back(c);
        }
        if (space && !collapsed.empty()) {
            collapsed.push_back(' ');
        }
        if (!collapsed.empty()) {
            builder_.Text(collapsed);
        }
    }

    void Apply(const HtmlTag& tag, std::string_view written) {
        if (tag.kind == HtmlPieceKind::Hidden) {
            return;
        }
        const bool open = tag.kind == HtmlPieceKind::OpenTag;
        const std::string_view name = tag.name;
        if (name == "br") {
            builder_.LineBreak();
        } else if (name == "img") {
            if (open) {
                builder_.AddImage(Decoded(tag.Attribute("src")), Decoded(tag.Attribute("alt")));
            }
        } else if (name == "hr") {
            if (block_ && open) {
                builder_.StartLeaf(BlockKind::SceneBreak);
                builder_.EndLeaf();
            }
        } else if (const std::uint16_t format = PhraseFormat(name); format != 0) {
            if (!open) {
                builder_.PopHtmlFormat(name);
            } else if (format != kLink || tag.HasAttribute("href")) {
                builder_.PushHtmlFormat(name, format, Decoded(tag.Attribute("href")));
            }
        } else if (block_ && name.size() == 2 && name[0] == 'h' && name[1] >= '1' &&
                   name[1] <= '6') {
            if (open) {
                builder_.StartLeaf(BlockKind::Heading, static_cast<std::uint8_t>(name[1] - '0'));
            } else {
                builder_.EndLeaf();
            }
        } else if (block_ && name == "details") {
            if (open) {
                builder_.OpenContainer(Container{ContainerKind::Details}, 2, true);
            } else {
                builder_.EndLeaf();
                builder_.CloseHtmlContainer(ContainerKind::Summary);
                builder_.CloseHtmlContainer(ContainerKind::Details);
            }
        } else if (block_ && name == "summary" &&
                   (!open || builder_.InnermostIsEmpty(ContainerKind::Details))) {
            if (open) {
                builder_.OpenContainer(Container{ContainerKind::Summary}, 1, true);
            } else {
                builder_.EndLeaf();
                builder_.CloseHtmlContainer(ContainerKind::Summary);
            }
        } else if (Contains(kBlockWrappers, name)) {
            if (block_) {
                builder_.EndLeaf();
            }
        } else if (Contains(kInlineWrappers, name)) {
            // Only its content shows.
        } else if (block_) {
            Words(written);
        } else {
            builder_.Text(written, false);
        }
    }

    std::string_view html_;
    bool block_;
    MarkdownBuilder& builder_;
    HtmlTagScanner scanner_;
};

}  // namespace

void ApplyRawHtml(std::string_view html, bool block, MarkdownBuilder& builder) {
    RawHtmlMapper(html, block, builder).Run();
}

}  // namespace Tessaly::Docs
