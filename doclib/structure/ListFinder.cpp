#include "doclib/structure/ListFinder.h"

#include <algorithm>
#include <optional>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/ListMarker.h"
#include "doclib/structure/TextLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint16_t kNotContinuing = kLinePreformatted | kLineCodeLike | kLineOrnament;

class Lists {
  public:
    Lists(const Document& doc, const LineScan& scan, const DocumentShape& shape, LineMarks& marks)
        : doc_(doc), reader_(doc), scan_(scan), shape_(shape), marks_(marks) {}

    void MarkContents(const ContentsList& list) {
        std::vector<std::uint16_t> indents;
        for (const ContentsEntry& entry : list.entries) {
            indents.push_back(entry.indent);
        }
        std::sort(indents.begin(), indents.end());
        indents.erase(std::unique(indents.begin(), indents.end()), indents.end());
        std::uint8_t depth = 0;
        for (const ContentsEntry& entry : list.entries) {
            if (marks_[entry.line].role != LineRole::Text) {
                continue;
            }
            const auto rank = std::lower_bound(indents.begin(), indents.end(), entry.indent) -
                              indents.begin() + 1;
            // A list opens at its first level and deepens one step at a time.
            depth = static_cast<std::uint8_t>(
                std::min<std::ptrdiff_t>({rank, depth + 1, kMaxListDepth}));
            marks_[entry.line] = {LineRole::ListItem, depth, false, 0};
            for (std::uint32_t k = 1; k < entry.lines; ++k) {
                marks_[entry.line + k] = {LineRole::ListContinuation, depth, false, 0};
            }
        }
    }

    void MarkMarkedLines() {
        const std::size_t n = scan_.lines.size();
        std::vector<std::uint16_t> open;  // marker indents of the lists open around the line
        for (std::size_t i = 0; i < n; ++i) {
            const LineFacts& line = scan_.lines[i];
            if (line.Has(kLineBlank)) {
                continue;
            }
            if (!line.IsText() || marks_[i].role != LineRole::Text) {
                open.clear();
                continue;
            }
            std::optional<ListMarker> marker;
            if (line.Has(kLineListItem)) {
                const std::string_view text = reader_.Text(doc_.blocks[i]);
                marker = ParseListMarker(text.substr(MeasureIndent(text).bytes));
            }
            if (!marker) {
                open.clear();  // running text between lists ends them
                continue;
            }
            while (!open.empty() && open.back() > line.indent) {
                open.pop_back();
            }
            if (open.empty() || open.back() < line.indent) {
                open.push_back(line.indent);
            }
            const auto depth =
                static_cast<std::uint8_t>(std::min<std::size_t>(open.size(), kMaxListDepth));
            marks_[i] = {LineRole::ListItem, depth, marker->ordered, marker->number};
            i = MarkContinuation(i, line.indent + marker->columns, depth);
        }
    }

  private:
    // The lines after item line `item` that go on with it; returns the last of them.
    std::size_t MarkContinuation(std::size_t item, std::uint32_t textColumn, std::uint8_t depth) {
        std::size_t last = item;
        for (std::size_t j = item + 1; j < scan_.lines.size(); ++j) {
            const LineFacts& line = scan_.lines[j];
            if (!line.IsText() || marks_[j].role != LineRole::Text ||
                line.Has(kLineListItem | kNotContinuing)) {
                break;
            }
            const std::uint16_t markerIndent = scan_.lines[item].indent;
            // Under the item's text (a column of slack for a wrapper's own counting), or
            // carried on by the wrap at the marker's own indentation.
            const bool under =
                std::uint32_t{line.indent} + 1 >= textColumn && line.indent > markerIndent;
            const bool wrapped = shape_.Wrapped(scan_, j - 1) && line.indent >= markerIndent;
            if (!under && !wrapped) {
                break;
            }
            marks_[j] = {LineRole::ListContinuation, depth, false, 0};
            last = j;
        }
        return last;
    }

    const Document& doc_;
    BlockTextReader reader_;
    const LineScan& scan_;
    const DocumentShape& shape_;
    LineMarks& marks_;
};

}  // namespace

void MarkLists(const Document& doc, const LineScan& scan, const DocumentShape& shape,
               const std::vector<ContentsList>& contents, LineMarks& marks) {
    Lists lists(doc, scan, shape, marks);
    for (const ContentsList& list : contents) {
        lists.MarkContents(list);
    }
    lists.MarkMarkedLines();
}

}  // namespace Tessaly::Docs
