#include "doclib/markdown/MarkdownReader.h"

#include <md4c.h>

#include <exception>
#include <limits>
#include <string>
#include <vector>

#include "doclib/markdown/CharacterReferences.h"
#include "doclib/markdown/FrontMatter.h"
#include "doclib/markdown/MarkdownBuilder.h"
#include "doclib/markdown/RawHtml.h"
#include "doclib/structure/HeaderFields.h"
#include "text/ProseLanguage.h"

namespace Tessaly::Docs {

namespace {

// CommonMark with GitHub's tables, strikethrough, task lists and bare web and mail addresses.
constexpr unsigned kDialect = MD_DIALECT_GITHUB;

std::string AttributeText(const MD_ATTRIBUTE& attribute) {
    std::string out;
    if (attribute.text == nullptr) {
        return out;
    }
    const std::string_view all(attribute.text, attribute.size);
    for (unsigned i = 0; attribute.substr_offsets[i] < attribute.size; ++i) {
        const MD_OFFSET from = attribute.substr_offsets[i];
        const std::string_view piece = all.substr(from, attribute.substr_offsets[i + 1] - from);
        switch (attribute.substr_types[i]) {
            case MD_TEXT_ENTITY:
                AppendCharacterReference(out, piece);
                break;
            case MD_TEXT_NULLCHAR:
                break;  // a zero byte is dropped, as in plain text
            default:
                out.append(piece);
                break;
        }
    }
    return out;
}

Alignment CellAlignment(MD_ALIGN align) {
    switch (align) {
        case MD_ALIGN_CENTER:
            return Alignment::Center;
        case MD_ALIGN_RIGHT:
            return Alignment::End;
        case MD_ALIGN_LEFT:
        case MD_ALIGN_DEFAULT:
            break;
    }
    return Alignment::Start;
}

// The formatting a span of the source stands for; kPlain for links, images and what the
// dialect leaves off (mathematics, wiki links).
std::uint16_t SpanFormat(MD_SPANTYPE type) {
    switch (type) {
        case MD_SPAN_EM:
            return kEmphasis;
        case MD_SPAN_STRONG:
            return kStrong;
        case MD_SPAN_DEL:
            return kStrike;
        case MD_SPAN_CODE:
            return kCode;
        case MD_SPAN_U:
            return kUnderline;
        case MD_SPAN_A:
        case MD_SPAN_IMG:
        case MD_SPAN_LATEXMATH:
        case MD_SPAN_LATEXMATH_DISPLAY:
        case MD_SPAN_WIKILINK:
            break;
    }
    return kPlain;
}

// The parser's events, handed to the builder. Raw HTML is gathered and mapped whole: a block's
// lines arrive one by one, and a tag may run over several.
class MarkdownEvents {
  public:
    MarkdownEvents(std::string folder, std::size_t sourceSize)
        : builder_(std::move(folder), sourceSize) {}

    int EnterBlock(MD_BLOCKTYPE type, void* detail) {
        FlushInlineHtml();
        switch (type) {
            case MD_BLOCK_DOC:
                builder_.OpenPlain(false);
                break;
            case MD_BLOCK_QUOTE:
                builder_.OpenContainer(Container{ContainerKind::Quote}, 1);
                break;
            case MD_BLOCK_UL:
                builder_.OpenContainer(Container{ContainerKind::BulletList}, 2);
                break;
            case MD_BLOCK_OL: {
                Container list{ContainerKind::OrderedList};
                list.number = static_cast<const MD_BLOCK_OL_DETAIL*>(detail)->start;
                builder_.OpenContainer(list, 2);
                break;
            }
            case MD_BLOCK_LI: {
                const auto* li = static_cast<const MD_BLOCK_LI_DETAIL*>(detail);
                Container item{ContainerKind::ListItem};
                item.number = builder_.NextItemNumber();
                if (li->is_task) {
                    item.task = li->task_mark == ' ' ? TaskMark::Open : TaskMark::Done;
                }
                builder_.OpenContainer(item, 1);
                break;
            }
            case MD_BLOCK_HR:
                builder_.OpenPlain(false);
                builder_.StartLeaf(BlockKind::SceneBreak);
                break;
            case MD_BLOCK_H:
                builder_.OpenPlain(false);
                builder_.StartLeaf(BlockKind::Heading,
                                   static_cast<std::uint8_t>(
                                       static_cast<const MD_BLOCK_H_DETAIL*>(detail)->level));
                break;
            case MD_BLOCK_CODE: {
                Container code{ContainerKind::CodeBlock};
                code.label = builder_.CodeLanguageLabel(
                    AttributeText(static_cast<const MD_BLOCK_CODE_DETAIL*>(detail)->lang));
                builder_.OpenContainer(code, 1);
                builder_.StartLeaf(BlockKind::Code);
                break;
            }
            case MD_BLOCK_HTML:
                // No construct of its own: a disclosure block its tags open outlives it.
                builder_.EndLeaf();
                inHtmlBlock_ = true;
                html_.clear();
                break;
            case MD_BLOCK_P:
                builder_.OpenPlain(false);
                builder_.StartLeaf(BlockKind::Paragraph);
                break;
            case MD_BLOCK_TABLE:
                builder_.OpenContainer(Container{ContainerKind::Table}, 4);
                break;
            case MD_BLOCK_THEAD:
                builder_.OpenContainer(Container{ContainerKind::TableHead}, 3);
                break;
            case MD_BLOCK_TBODY:
                builder_.OpenContainer(Container{ContainerKind::TableBody}, 3);
                break;
            case MD_BLOCK_TR:
                builder_.OpenContainer(Container{ContainerKind::TableRow}, 2);
                break;
            case MD_BLOCK_TH:
            case MD_BLOCK_TD: {
                const auto* cell = static_cast<const MD_BLOCK_TD_DETAIL*>(detail);
                Container c{type == MD_BLOCK_TH ? ContainerKind::HeaderCell
                                                : ContainerKind::DataCell};
                c.alignment = CellAlignment(cell->align);
                c.alignmentGiven = cell->align != MD_ALIGN_DEFAULT;
                builder_.OpenContainer(c, 1);
                // A flattened table's cells read as paragraphs of their own.
                if (builder_.Flattened()) {
                    builder_.StartLeaf(BlockKind::Paragraph);
                }
                break;
            }
        }
        return 0;
    }

    int LeaveBlock(MD_BLOCKTYPE type) {
        FlushInlineHtml();
        if (type == MD_BLOCK_HTML) {
            inHtmlBlock_ = false;
            ApplyRawHtml(html_, true, builder_);
            html_.clear();
            return 0;
        }
        builder_.Close();
        return 0;
    }

    int EnterSpan(MD_SPANTYPE type, void* detail) {
        FlushInlineHtml();
        if (const std::uint16_t format = SpanFormat(type); format != kPlain) {
            builder_.PushFormat(format);
        } else if (type == MD_SPAN_A) {
            builder_.PushLink(AttributeText(static_cast<const MD_SPAN_A_DETAIL*>(detail)->href));
        } else if (type == MD_SPAN_IMG) {
            builder_.BeginImage(AttributeText(static_cast<const MD_SPAN_IMG_DETAIL*>(detail)->src));
        }
        return 0;
    }

    int LeaveSpan(MD_SPANTYPE type) {
        FlushInlineHtml();
        if (const std::uint16_t format = SpanFormat(type); format != kPlain) {
            builder_.PopFormat(format);
        } else if (type == MD_SPAN_A) {
            builder_.PopLink();
        } else if (type == MD_SPAN_IMG) {
            builder_.EndImage();
        }
        return 0;
    }

    int Text(MD_TEXTTYPE type, std::string_view text) {
        if (type == MD_TEXT_HTML) {
            html_.append(text);
            return 0;
        }
        FlushInlineHtml();
        switch (type) {
            case MD_TEXT_NULLCHAR:
                break;  // a zero byte is dropped, as in plain text
            case MD_TEXT_BR:
                builder_.LineBreak();
                break;
            case MD_TEXT_SOFTBR:
                builder_.SoftBreak();
                break;
            case MD_TEXT_ENTITY: {
                std::string decoded;
                AppendCharacterReference(decoded, text);
                builder_.Text(decoded);
                break;
            }
            case MD_TEXT_CODE:
                if (builder_.InLeaf() && inCodeBlockLeaf_) {
                    builder_.CodeText(text);
                } else {
                    builder_.Text(text, false);
                }
                break;
            case MD_TEXT_NORMAL:
            case MD_TEXT_LATEXMATH:
            case MD_TEXT_HTML:
                builder_.Text(text);
                break;
        }
        return 0;
    }

    MarkdownBuilder& builder() { return builder_; }
    void SetInCodeBlock(bool inside) { inCodeBlockLeaf_ = inside; }

    // Inline HTML between two other events is one stretch of tags.
    void FlushInlineHtml() {
        if (inHtmlBlock_ || html_.empty()) {
            return;
        }
        ApplyRawHtml(html_, false, builder_);
        html_.clear();
    }

  private:
    MarkdownBuilder builder_;
    std::string html_;
    bool inHtmlBlock_ = false;
    bool inCodeBlockLeaf_ = false;
};

// The parser is C: nothing may be thrown through it. A failure stops the parse and is thrown
// again once it has returned.
struct ParseContext {
    MarkdownEvents* events = nullptr;
    std::exception_ptr failure;
};

template <typename Call>
int Guarded(void* userdata, Call call) {
    auto* context = static_cast<ParseContext*>(userdata);
    try {
        return call(*context->events);
    } catch (...) {
        context->failure = std::current_exception();
        return 1;
    }
}

int OnEnterBlock(MD_BLOCKTYPE type, void* detail, void* userdata) {
    return Guarded(userdata, [&](MarkdownEvents& e) {
        e.SetInCodeBlock(type == MD_BLOCK_CODE);
        return e.EnterBlock(type, detail);
    });
}

int OnLeaveBlock(MD_BLOCKTYPE type, void*, void* userdata) {
    return Guarded(userdata, [&](MarkdownEvents& e) {
        e.SetInCodeBlock(false);
        return e.LeaveBlock(type);
    });
}

int OnEnterSpan(MD_SPANTYPE type, void* detail, void* userdata) {
    return Guarded(userdata, [&](MarkdownEvents& e) { return e.EnterSpan(type, detail); });
}

int OnLeaveSpan(MD_SPANTYPE type, void*, void* userdata) {
    return Guarded(userdata, [&](MarkdownEvents& e) { return e.LeaveSpan(type); });
}

int OnText(MD_TEXTTYPE type, const MD_CHAR* text, MD_SIZE size, void* userdata) {
    return Guarded(userdata,
                   [&](MarkdownEvents& e) { return e.Text(type, std::string_view(text, size)); });
}

}  // namespace

Document ReadMarkdown(const MarkdownSource& source) {
    const FrontMatter matter = ReadFrontMatter(source.text);
    const std::string_view body = std::string_view(source.text).substr(matter.length);
    if (body.size() > std::numeric_limits<MD_SIZE>::max()) {
        throw DocumentError("cannot read the Markdown text: it is larger than 4 GB");
    }

    MarkdownEvents events(source.folder, body.size());
    ParseContext context{&events, nullptr};
    MD_PARSER parser{};
    parser.abi_version = 0;
    parser.flags = kDialect;
    parser.enter_block = OnEnterBlock;
    parser.leave_block = OnLeaveBlock;
    parser.enter_span = OnEnterSpan;
    parser.leave_span = OnLeaveSpan;
    parser.text = OnText;
    const int result = md_parse(body.data(), static_cast<MD_SIZE>(body.size()), &parser, &context);
    if (context.failure) {
        std::rethrow_exception(context.failure);
    }
    if (result != 0) {
        throw DocumentError("cannot read the Markdown text: out of memory");
    }
    events.FlushInlineHtml();

    MarkdownBuilder& builder = events.builder();
    const std::string language =
        matter.language.empty() ? text::ProseLanguageOf(builder.Prose()) : matter.language;
    const std::string title = matter.title.empty() ? builder.FirstTitle() : matter.title;
    Document doc = builder.Take();
    doc.metadata.title = title;
    // The front matter's authors are one creator each, as a text's own header gives them.
    std::vector<std::string> authors = SplitNames(matter.author);
    if (!authors.empty()) {
        doc.metadata.author = authors.front();
        doc.metadata.coauthors.assign(authors.begin() + 1, authors.end());
    }
    doc.metadata.language = language;
    return doc;
}

}  // namespace Tessaly::Docs
