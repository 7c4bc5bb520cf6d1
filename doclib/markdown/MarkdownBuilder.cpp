#include "doclib/markdown/MarkdownBuilder.h"

#include <algorithm>
#include <bit>

#include "doclib/HugePages.h"
#include "doclib/epub/XhtmlText.h"
#include "doclib/markdown/LocalImage.h"
#include "text/Utf8.h"

namespace Tessaly::Docs {

namespace {

// The language identifier samples a text anyway; more prose than this tells it nothing new.
constexpr std::size_t kProseLimit = 1 << 20;
// Raw HTML formatting open at once; more opening tags than this are ignored.
constexpr std::size_t kHtmlFormatLimit = 32;
// A code block's language is one word; a longer "language" is not one.
constexpr std::size_t kLanguageLimit = 64;
// Images a book carries: each, and all together, bounded.
constexpr std::uint64_t kImageLimit = 16 << 20;
constexpr std::uint64_t kImagesLimit = 128 << 20;

constexpr std::string_view kFallbackAlt = "image";

// Scripts written without spaces between words: a line break inside a paragraph of them
// joins the lines without one.
bool IsWrittenWithoutSpaces(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

int FormatSlot(std::uint16_t bit) {
    return std::countr_zero(bit);
}

bool IsLinkScheme(std::string_view target, std::string_view scheme) {
    if (target.size() <= scheme.size()) {
        return false;
    }
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        const char c = target[i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != scheme[i]) {
            return false;
        }
    }
    return true;
}

// The file name a reference ends in, without its extension: alternative text for an image
// its author gave none.
std::string_view NameOfReference(std::string_view source) {
    source = source.substr(0, source.find_first_of("?#"));
    const auto slash = source.find_last_of('/');
    if (slash != std::string_view::npos) {
        source = source.substr(slash + 1);
    }
    return source.substr(0, source.find_last_of('.'));
}

}  // namespace

MarkdownBuilder::MarkdownBuilder(std::string folder, std::size_t sourceSize)
    : folder_(std::move(folder)) {
    doc_.text.reserve(sourceSize);
    AdviseHugePagesFor(doc_.text);
    doc_.containers.push_back(Container{});
    doc_.hasParagraphFormatting = true;
    frames_.push_back(Frame{});
}

void MarkdownBuilder::OpenContainer(Container container, std::size_t room, bool fromHtml) {
    EndLeaf();
    LeaveSummary();
    const Frame& outer = frames_.back();
    Frame frame;
    frame.blocksAtOpen = doc_.blocks.size();
    frame.fromHtml = fromHtml;
    frame.nextItem = container.number;
    const bool codeBlock = container.kind == ContainerKind::CodeBlock;
    if (outer.flattened || (!codeBlock && outer.depth + room > kMaxNesting)) {
        frame.container = outer.container;
        frame.depth = outer.depth;
        frame.flattened = true;
    } else {
        container.parent = outer.container;
        frame.container = static_cast<std::uint32_t>(doc_.containers.size());
        frame.depth = outer.depth + 1;
        frame.opensContainer = true;
        doc_.containers.push_back(container);
    }
    frames_.push_back(frame);
}

void MarkdownBuilder::OpenPlain(bool flattened) {
    Frame frame = frames_.back();
    frame.blocksAtOpen = doc_.blocks.size();
    frame.opensContainer = false;
    frame.fromHtml = false;
    frame.flattened = flattened || frame.flattened;
    frames_.push_back(frame);
}

void MarkdownBuilder::PopFrame() {
    EndLeaf();
    const Frame frame = frames_.back();
    if (frame.opensContainer && doc_.blocks.size() == frame.blocksAtOpen) {
        // An empty item or cell still takes its place in its list or row.
        const ContainerKind kind = doc_.containers[frame.container].kind;
        if (kind == ContainerKind::ListItem || kind == ContainerKind::HeaderCell ||
            kind == ContainerKind::DataCell) {
            doc_.BeginBlock(BlockKind::BareText).container = frame.container;
        }
    }
    frames_.pop_back();
}

void MarkdownBuilder::Close() {
    while (frames_.size() > 2 && frames_.back().fromHtml) {
        PopFrame();
    }
    if (frames_.size() > 1) {
        PopFrame();
    }
}

bool MarkdownBuilder::CloseHtmlContainer(ContainerKind kind) {
    const Frame& frame = frames_.back();
    if (!frame.fromHtml || !frame.opensContainer || doc_.containers[frame.container].kind != kind) {
        return false;
    }
    PopFrame();
    return true;
}

void MarkdownBuilder::LeaveSummary() {
    CloseHtmlContainer(ContainerKind::Summary);
}

bool MarkdownBuilder::InnermostIsEmpty(ContainerKind kind) const {
    const Frame& frame = frames_.back();
    return frame.opensContainer && doc_.containers[frame.container].kind == kind &&
           doc_.blocks.size() == frame.blocksAtOpen && !leafOpen_;
}

bool MarkdownBuilder::Flattened() const {
    return frames_.back().flattened;
}

std::uint32_t MarkdownBuilder::NextItemNumber() {
    return frames_.back().nextItem++;
}

std::uint32_t MarkdownBuilder::CodeLanguageLabel(std::string_view language) {
    if (language.empty() || language.size() > kLanguageLimit) {
        return 0;
    }
    const auto found = languageLabels_.find(language);
    if (found != languageLabels_.end()) {
        return found->second;
    }
    doc_.codeLanguages.emplace_back(language);
    const auto label = static_cast<std::uint32_t>(doc_.codeLanguages.size());
    languageLabels_.emplace(std::string(language), label);
    return label;
}

void MarkdownBuilder::StartLeaf(BlockKind kind, std::uint8_t level) {
    EndLeaf();
    if (kind != BlockKind::Heading && kind != BlockKind::BareText) {
        LeaveSummary();
    }
    doc_.BeginBlock(kind, level).container = Current();
    leafOpen_ = true;
    titleLeaf_ = kind == BlockKind::Heading && level == 1 && !titleSeen_;
}

void MarkdownBuilder::EnsureLeaf() {
    if (leafOpen_) {
        return;
    }
    // Text straight inside an item, a cell or a summary has no paragraph of its own.
    const Frame& frame = frames_.back();
    bool bare = false;
    if (frame.opensContainer) {
        const ContainerKind kind = doc_.containers[frame.container].kind;
        bare = kind == ContainerKind::ListItem || kind == ContainerKind::HeaderCell ||
               kind == ContainerKind::DataCell || kind == ContainerKind::Summary;
    }
    StartLeaf(bare ? BlockKind::BareText : BlockKind::Paragraph);
}

void MarkdownBuilder::EndLeaf() {
    if (!leafOpen_) {
        return;
    }
    Block& block = doc_.blocks.back();
    if (block.kind == BlockKind::Code && block.spanCount > 0 && !doc_.text.empty() &&
        doc_.text.back() == '\n' &&
        doc_.spans.back().offset + doc_.spans.back().length == doc_.text.size()) {
        // The line end of the last line is the block's end, not an empty line.
        doc_.text.pop_back();
        if (--doc_.spans.back().length == 0) {
            doc_.spans.pop_back();
            --block.spanCount;
        }
    }
    if (titleLeaf_) {
        firstTitle_ = CollapseWhiteSpace(doc_.BlockText(block));
        titleSeen_ = !firstTitle_.empty();
        titleLeaf_ = false;
    }
    for (const HtmlFormat& format : htmlFormats_) {
        if (format.link) {
            links_.pop_back();
        } else {
            --formatCount_[FormatSlot(format.bit)];
        }
    }
    htmlFormats_.clear();
    leafOpen_ = false;
    pendingSoftBreak_ = false;
}

std::uint16_t MarkdownBuilder::FormatNow() const {
    std::uint16_t format = kPlain;
    for (std::size_t slot = 0; slot < formatCount_.size(); ++slot) {
        if (formatCount_[slot] > 0) {
            format = static_cast<std::uint16_t>(format | (1u << slot));
        }
    }
    if (!links_.empty() && links_.back() >= 0) {
        format = static_cast<std::uint16_t>(format | kLink);
    }
    return format;
}

void MarkdownBuilder::AppendFormatted(std::string_view utf8) {
    EnsureLeaf();
    if (pendingSoftBreak_) {
        pendingSoftBreak_ = false;
        const bool joinWithout =
            !doc_.text.empty() && !utf8.empty() &&
            IsWrittenWithoutSpaces(::text::utf8::DecodeBefore(doc_.text, doc_.text.size()).value) &&
            IsWrittenWithoutSpaces(::text::utf8::DecodeAt(utf8, 0).value);
        if (!joinWithout) {
            doc_.AppendText(" ", FormatNow(),
                            links_.empty() || links_.back() < 0
                                ? 0
                                : static_cast<std::uint32_t>(links_.back()));
        }
    }
    const std::uint32_t ref =
        links_.empty() || links_.back() < 0 ? 0 : static_cast<std::uint32_t>(links_.back());
    doc_.AppendText(utf8, FormatNow(), ref);
}

void MarkdownBuilder::Text(std::string_view utf8, bool prose) {
    if (imageDepth_ > 0) {
        altText_.append(utf8);
        return;
    }
    // Form feed and vertical tab lay text out; in a paragraph they part words as a space does.
    if (std::any_of(utf8.begin(), utf8.end(), [](char c) { return c == '\f' || c == '\v'; })) {
        std::string spaced(utf8);
        for (char& c : spaced) {
            c = c == '\f' || c == '\v' ? ' ' : c;
        }
        Text(spaced, prose);
        return;
    }
    AppendFormatted(utf8);
    if (prose && prose_.size() < kProseLimit) {
        prose_.append(utf8);
    }
}

void MarkdownBuilder::CodeText(std::string_view utf8) {
    if (!leafOpen_) {
        StartLeaf(BlockKind::Code);
    }
    doc_.AppendText(utf8, kPlain, 0);
}

void MarkdownBuilder::LineBreak() {
    if (imageDepth_ > 0) {
        altText_.push_back(' ');
        return;
    }
    pendingSoftBreak_ = false;
    AppendFormatted("\n");
}

void MarkdownBuilder::SoftBreak() {
    if (imageDepth_ > 0) {
        altText_.push_back(' ');
        return;
    }
    pendingSoftBreak_ = leafOpen_;
    if (prose_.size() < kProseLimit) {
        prose_.push_back(' ');
    }
}

void MarkdownBuilder::PushFormat(std::uint16_t bit) {
    ++formatCount_[FormatSlot(bit)];
}

void MarkdownBuilder::PopFormat(std::uint16_t bit) {
    std::uint32_t& count = formatCount_[FormatSlot(bit)];
    count -= count > 0 ? 1 : 0;
}

void MarkdownBuilder::PushLink(std::string_view target) {
    std::string href;
    if (IsLinkScheme(target, "http:") || IsLinkScheme(target, "https:") ||
        IsLinkScheme(target, "mailto:")) {
        href.assign(target);
    } else if (IsLinkScheme(target, "www.")) {
        href.assign("http://").append(target);
    }
    if (href.empty()) {
        links_.push_back(-1);
        return;
    }
    doc_.links.push_back(std::move(href));
    links_.push_back(static_cast<std::int64_t>(doc_.links.size() - 1));
}

void MarkdownBuilder::PopLink() {
    if (!links_.empty()) {
        links_.pop_back();
    }
}

void MarkdownBuilder::PushHtmlFormat(std::string_view tag, std::uint16_t bit,
                                     std::string_view linkTarget) {
    if (htmlFormats_.size() >= kHtmlFormatLimit) {
        return;
    }
    HtmlFormat format{std::string(tag), bit, bit == kLink};
    if (format.link) {
        PushLink(linkTarget);
    } else {
        PushFormat(bit);
    }
    htmlFormats_.push_back(std::move(format));
}

void MarkdownBuilder::PopHtmlFormat(std::string_view tag) {
    for (auto it = htmlFormats_.rbegin(); it != htmlFormats_.rend(); ++it) {
        if (it->tag != tag) {
            continue;
        }
        if (it->link) {
            // Links do not nest: the one closed is the innermost.
            PopLink();
        } else {
            PopFormat(it->bit);
        }
        htmlFormats_.erase(std::next(it).base());
        return;
    }
}

void MarkdownBuilder::BeginImage(std::string_view source) {
    if (imageDepth_++ == 0) {
        imageSource_.assign(source);
        altText_.clear();
    }
}

void MarkdownBuilder::EndImage() {
    if (imageDepth_ == 0 || --imageDepth_ > 0) {
        return;
    }
    const std::string alt = std::move(altText_);
    altText_.clear();
    AddImage(imageSource_, alt);
}

void MarkdownBuilder::AddImage(std::string_view source, std::string_view alt) {
    if (imageDepth_ > 0) {
        altText_.append(alt);
        return;
    }
    const std::int64_t image = LocalImageIndex(source);
    if (image < 0) {
        // A remote image, or one the book may not carry: its words stand in for it.
        Text(alt);
        return;
    }
    AppendImageSpan(static_cast<std::uint32_t>(image), alt, source);
}

std::int64_t MarkdownBuilder::LocalImageIndex(std::string_view source) {
    const auto seen = imageByReference_.find(source);
    if (seen != imageByReference_.end()) {
        return seen->second;
    }
    const std::int64_t index = FindLocalImage(source);
    imageByReference_.emplace(std::string(source), index);
    return index;
}

std::int64_t MarkdownBuilder::FindLocalImage(std::string_view source) {
    const std::optional<std::string> path = ResolveLocalImage(folder_, source);
    if (!path) {
        return -1;
    }
    const auto known = imageByPath_.find(*path);
    if (known != imageByPath_.end()) {
        return known->second;
    }
    std::optional<Image> image = ReadLocalImage(*path, kImageLimit);
    if (!image || imageBytes_ + image->data.size() > kImagesLimit) {
        return -1;
    }
    imageBytes_ += image->data.size();
    doc_.images.push_back(std::move(*image));
    const auto index = static_cast<std::uint32_t>(doc_.images.size() - 1);
    imageByPath_.emplace(*path, index);
    return index;
}

void MarkdownBuilder::AppendImageSpan(std::uint32_t image, std::string_view alt,
                                      std::string_view source) {
    std::string words = CollapseWhiteSpace(alt);
    if (words.empty()) {
        words.assign(NameOfReference(source));
    }
    if (words.empty()) {
        words.assign(kFallbackAlt);
    }
    EnsureLeaf();
    if (pendingSoftBreak_) {
        AppendFormatted("");
    }
    // Its own span even beside the same image: each occurrence is one element.
    Span span;
    span.offset = doc_.text.size();
    span.length = static_cast<std::uint32_t>(words.size());
    span.format = kImage;
    span.ref = image;
    doc_.text.append(words);
    doc_.spans.push_back(span);
    ++doc_.blocks.back().spanCount;
}

Document MarkdownBuilder::Take() {
    while (frames_.size() > 1) {
        PopFrame();
    }
    EndLeaf();
    return std::move(doc_);
}

}  // namespace Tessaly::Docs
