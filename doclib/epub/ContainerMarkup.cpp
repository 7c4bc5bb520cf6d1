#include "doclib/epub/ContainerMarkup.h"

#include <algorithm>
#include <utility>

#include "doclib/epub/XhtmlText.h"

namespace Tessaly::Docs {

namespace {

// Deeper than any reader builds; a longer chain of parents is a broken model.
constexpr std::size_t kPathLimit = 40;
// The longest tag pair of a container, its attributes and a task mark included.
constexpr std::size_t kContainerTagBound = 96;

constexpr std::string_view kOpenBox = "\xE2\x98\x90 ";     // U+2610 BALLOT BOX
constexpr std::string_view kCheckedBox = "\xE2\x98\x91 ";  // U+2611 BALLOT BOX WITH CHECK

// Containers whose tags carry nothing of their own.
struct PlainContainerTags {
    ContainerKind kind;
    std::string_view open;
    std::string_view close;
};
constexpr PlainContainerTags kPlainContainerTags[] = {
    {ContainerKind::Quote, "<blockquote>\n", "</blockquote>\n"},
    {ContainerKind::BulletList, "<ul>\n", "</ul>\n"},
    {ContainerKind::Table, "<table>\n", "</table>\n"},
    {ContainerKind::TableHead, "<thead>\n", "</thead>\n"},
    {ContainerKind::TableBody, "<tbody>\n", "</tbody>\n"},
    {ContainerKind::TableRow, "<tr>", "</tr>\n"},
};

std::string_view CellAlignmentClass(const Container& c) {
    if (!c.alignmentGiven) {
        return {};
    }
    switch (c.alignment) {
        case Alignment::Center:
            return " class=\"center\"";
        case Alignment::End:
            return " class=\"end\"";
        case Alignment::Start:
        case Alignment::Justify:
            break;
    }
    return " class=\"start\"";
}

// A class token names the language: white space and controls would split or break it.
void AppendLanguageClass(std::string& out, std::string_view language) {
    std::string token;
    for (char c : language) {
        token.push_back(static_cast<unsigned char>(c) <= ' ' ? '-' : c);
    }
    out.append(" class=\"language-");
    AppendXmlEscaped(out, token);
    out.push_back('"');
}

// True when the block before `b` lies outside container `c`, so `b` is the first block in it.
bool FirstBlockIn(const Document& doc, std::uint32_t b, std::uint32_t c) {
    if (b == 0) {
        return true;
    }
    const std::vector<std::uint32_t> before = ContainerPath(doc, doc.blocks[b - 1].container);
    return std::find(before.begin(), before.end(), c) == before.end();
}

}  // namespace

std::vector<std::uint32_t> ContainerPath(const Document& doc, std::uint32_t container) {
    std::vector<std::uint32_t> path;
    while (container != 0 && container < doc.containers.size() && path.size() < kPathLimit) {
        path.push_back(container);
        const std::uint32_t parent = doc.containers[container].parent;
        container = parent < container ? parent : 0;
    }
    std::reverse(path.begin(), path.end());
    return path;
}

std::size_t ContainerMarkupBound(const Document& doc, const Block& block) {
    std::size_t bound = 0;
    for (std::uint32_t c : ContainerPath(doc, block.container)) {
        bound += kContainerTagBound;
        const Container& container = doc.containers[c];
        if (container.kind == ContainerKind::CodeBlock && container.label > 0 &&
            container.label <= doc.codeLanguages.size()) {
            bound += XhtmlTextBound(doc.codeLanguages[container.label - 1]);
        }
    }
    return bound;
}

void ContainerStack::MoveTo(const Document& doc, std::uint32_t b, std::uint64_t from,
                            std::string& out) {
    const std::vector<std::uint32_t> path = ContainerPath(doc, doc.blocks[b].container);
    std::size_t same = 0;
    while (same < open_.size() && same < path.size() && open_[same].container == path[same]) {
        ++same;
    }
    while (open_.size() > same) {
        out.append(open_.back().close);
        open_.pop_back();
    }
    for (std::size_t i = same; i < path.size(); ++i) {
        OpenOne(doc, path, i, from == 0 && FirstBlockIn(doc, b, path[i]), out);
    }
}

void ContainerStack::OpenOne(const Document& doc, const std::vector<std::uint32_t>& path,
                             std::size_t i, bool fresh, std::string& out) {
    const Container& c = doc.containers[path[i]];
    std::string_view close;
    switch (c.kind) {
        case ContainerKind::Body:
        case ContainerKind::Quote:
        case ContainerKind::BulletList:
        case ContainerKind::Table:
        case ContainerKind::TableHead:
        case ContainerKind::TableBody:
        case ContainerKind::TableRow:
            for (const PlainContainerTags& tags : kPlainContainerTags) {
                if (tags.kind == c.kind) {
                    out.append(tags.open);
                    close = tags.close;
                }
            }
            break;
        case ContainerKind::OrderedList: {
            // Opened again in a later file, the list goes on from the item it opens with.
            std::uint32_t start = c.number;
            if (i + 1 < path.size() &&
                doc.containers[path[i + 1]].kind == ContainerKind::ListItem) {
                start = doc.containers[path[i + 1]].number;
            }
            out.append("<ol");
            if (start != 1) {
                out.append(" start=\"").append(std::to_string(start)).append("\"");
            }
            out.append(">\n");
            close = "</ol>\n";
            break;
        }
        case ContainerKind::ListItem:
            out.append(c.task == TaskMark::None ? "<li>" : "<li class=\"task\">");
            if (fresh && c.task != TaskMark::None) {
                taskMark_ = c.task == TaskMark::Done ? kCheckedBox : kOpenBox;
            }
            close = "</li>\n";
            break;
        case ContainerKind::HeaderCell:
            out.append("<th scope=\"col\"").append(CellAlignmentClass(c)).append(">");
            close = "</th>";
            break;
        case ContainerKind::DataCell:
            out.append("<td").append(CellAlignmentClass(c)).append(">");
            close = "</td>";
            break;
        case ContainerKind::CodeBlock:
            out.append("<pre><code");
            if (c.label > 0 && c.label <= doc.codeLanguages.size()) {
                AppendLanguageClass(out, doc.codeLanguages[c.label - 1]);
            }
            out.append(">");
            close = "</code></pre>\n";
            break;
        case ContainerKind::Details: {
            // A disclosure block stays one only where it begins with its summary; a reading
            // system shows it open, as the rest of the book.
            const bool withSummary = fresh && i + 1 < path.size() &&
                                     doc.containers[path[i + 1]].kind == ContainerKind::Summary;
            out.append(withSummary ? "<details open=\"open\">\n" : "<div class=\"details\">\n");
            close = withSummary ? "</details>\n" : "</div>\n";
            break;
        }
        case ContainerKind::Summary: {
            const bool inDetails = !open_.empty() && open_.back().close == "</details>\n";
            out.append(inDetails ? "<summary>" : "<div class=\"summary\">");
            close = inDetails ? "</summary>\n" : "</div>\n";
            break;
        }
    }
    open_.push_back(Open{path[i], close});
}

void ContainerStack::CloseAll(std::string& out) {
    while (!open_.empty()) {
        out.append(open_.back().close);
        open_.pop_back();
    }
    taskMark_ = {};
}

std::string_view ContainerStack::TakeTaskMark() {
    return std::exchange(taskMark_, std::string_view());
}

}  // namespace Tessaly::Docs
