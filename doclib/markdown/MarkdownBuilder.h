#pragma once
// Builds the document model from the events of a Markdown parser: containers (quotes, lists,
// tables, code blocks, disclosure blocks) as a tree, leaf blocks inside them, and the
// character formatting of the text. Nesting deeper than kMaxNesting is flattened into the
// deepest container, so a hostile source cannot make the book's markup arbitrarily deep.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// Containers nest no deeper than this (a code block inside may add one more).
constexpr std::size_t kMaxNesting = 16;

class MarkdownBuilder {
  public:
    // `folder` is where local images are looked up; empty for none. The text of the document
    // is about `sourceSize` bytes (the source without its markup).
    MarkdownBuilder(std::string folder, std::size_t sourceSize);

    // A container opened by the source. `room` is how many levels the construct needs at
    // least (a list and its items: 2), so a list is never cut between the two. A construct
    // without room is flattened: its text goes into the current container. `fromHtml` marks a
    // container raw HTML opened, which a closing tag or the end of its parent closes.
    void OpenContainer(Container container, std::size_t room, bool fromHtml = false);
    // A construct that opens no container of its own (a leaf block, or one already flattened):
    // only remembered, so its end pairs with its start.
    void OpenPlain(bool flattened);
    // Ends the innermost construct the source opened (and the HTML containers inside it).
    void Close();
    // Closes the innermost container if raw HTML opened it with that kind; false when not.
    bool CloseHtmlContainer(ContainerKind kind);
    // True when the innermost open construct is a container of that kind with nothing in it
    // yet.
    bool InnermostIsEmpty(ContainerKind kind) const;
    // True when the innermost construct was flattened.
    bool Flattened() const;
    // The container a list item of the innermost list gets: its number, and the next.
    std::uint32_t NextItemNumber();

    // The label of a code block written in `language` (Container::label).
    std::uint32_t CodeLanguageLabel(std::string_view language);

    void StartLeaf(BlockKind kind, std::uint8_t level = 0);
    void EndLeaf();
    bool InLeaf() const { return leafOpen_; }

    // Text of the source, with the formatting in force. Prose feeds the language sample.
    void Text(std::string_view utf8, bool prose = true);
    // Text of a code block, as it is.
    void CodeText(std::string_view utf8);
    void LineBreak();
    void SoftBreak();

    // Formatting from the source's spans or from raw HTML tags; nested freely.
    void PushFormat(std::uint16_t bit);
    void PopFormat(std::uint16_t bit);
    // A link: an http, https or mailto target (a "www." one taken as http) stays a link,
    // anything else keeps only its text.
    void PushLink(std::string_view target);
    void PopLink();
    // Raw HTML's formatting lasts to the end of its leaf at most; these are dropped there.
    // The number of them is bounded, so a closing tag's search is short.
    void PushHtmlFormat(std::string_view tag, std::uint16_t bit, std::string_view linkTarget);
    void PopHtmlFormat(std::string_view tag);

    // An image: between these, text is its alternative text.
    void BeginImage(std::string_view source);
    void EndImage();
    // An image given whole (raw HTML's <img>).
    void AddImage(std::string_view source, std::string_view alt);

    // The language sample: prose only, never code.
    const std::string& Prose() const { return prose_; }
    // The text of the first level-1 heading, on one line.
    const std::string& FirstTitle() const { return firstTitle_; }

    Document Take();

  private:
    struct Frame {
        std::uint32_t container = 0;  // the container in force inside this construct
        std::size_t depth = 0;        // containers on the way to it
        std::size_t blocksAtOpen = 0;
        bool opensContainer = false;
        bool flattened = false;
        bool fromHtml = false;
        std::uint32_t nextItem = 1;  // for a list: the number of its next item
    };
    struct HtmlFormat {
        std::string tag;
        std::uint16_t bit = 0;
        bool link = false;
    };

    std::uint32_t Current() const { return frames_.back().container; }
    void EnsureLeaf();
    void PopFrame();
    // A summary holds only a line of text and headings: anything else ends it first.
    void LeaveSummary();
    void AppendFormatted(std::string_view utf8);
    std::uint16_t FormatNow() const;
    // The index in Document::images of the local image `source` names, or -1.
    std::int64_t LocalImageIndex(std::string_view source);
    std::int64_t FindLocalImage(std::string_view source);
    void AppendImageSpan(std::uint32_t image, std::string_view alt, std::string_view source);

    Document doc_;
    std::string folder_;
    std::vector<Frame> frames_;
    bool leafOpen_ = false;
    bool pendingSoftBreak_ = false;
    bool titleLeaf_ = false;
    std::array<std::uint32_t, 16> formatCount_{};
    std::vector<std::int64_t> links_;  // link refs in force, -1 for a link kept as text
    std::vector<HtmlFormat> htmlFormats_;
    std::size_t imageDepth_ = 0;
    std::string imageSource_;
    std::string altText_;
    std::map<std::string, std::uint32_t> imageByPath_;
    // Every reference looked up, as written: its image, or -1.
    std::map<std::string, std::int64_t, std::less<>> imageByReference_;
    std::map<std::string, std::uint32_t, std::less<>> languageLabels_;
    std::uint64_t imageBytes_ = 0;
    std::string prose_;
    std::string firstTitle_;
    bool titleSeen_ = false;
};

}  // namespace Tessaly::Docs
