#include "doclib/structure/LiteralBlocks.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "doclib/structure/BlockTextReader.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

// "Example::" or a line of "::" alone. A directive (".. note::") opens a block of text, not
// of literal lines; "Foo::Bar::" of program code has no blank after it, which the caller asks
// for.
bool IntroducesLiteral(std::string_view trimmed) {
    return trimmed.ends_with("::") && !trimmed.ends_with(":::") && !trimmed.starts_with("..");
}

// The directives whose content is program code or text shown as written (".. code:: python",
// ".. code-block:: rst"); their options, set as deep, are kept with it.
bool IsLiteralDirective(std::string_view trimmed) {
    for (const std::string_view name :
         {".. code::", ".. code-block::", ".. sourcecode::", ".. parsed-literal::"}) {
        if (trimmed.starts_with(name)) {
            return true;
        }
    }
    return false;
}

// "```", "```python", "~~~~": the run of backticks or tildes that opens or closes a fenced
// block of Markdown, set in at most three columns. Returns the mark and the run's length.
std::optional<std::pair<char, std::size_t>> ReadFence(std::string_view text) {
    constexpr std::size_t kMaxFenceIndent = 3;
    constexpr std::size_t kMinFence = 3;
    const std::size_t at = text.find_first_not_of(' ');
    if (at == std::string_view::npos || at > kMaxFenceIndent ||
        (text[at] != '`' && text[at] != '~')) {
        return std::nullopt;
    }
    const std::size_t end = text.find_first_not_of(text[at], at);
    const std::size_t run = (end == std::string_view::npos ? text.size() : end) - at;
    if (run < kMinFence) {
        return std::nullopt;
    }
    return std::make_pair(text[at], run);
}

// Fenced blocks of Markdown, fences included, are kept as written. Only a fence closed
// further on opens a block: a stray one keeps the text after it as it is. Once a mark has no
// closing fence after some line, it has none after any later line either, so each line is
// read once.
void MarkFencedBlocks(const Document& doc, LineScan& scan) {
    BlockTextReader reader(doc);
    const std::size_t n = scan.lines.size();
    std::array<bool, 2> unclosed{};  // backticks, tildes: no closing fence further on
    for (std::size_t i = 0; i < n; ++i) {
        if (!scan.lines[i].IsText()) {
            continue;
        }
        // A fence may open right under a paragraph; a run at least as long as the line of
        // text above it is that line's underline instead.
        const auto open = ReadFence(reader.Text(doc.blocks[i]));
        if (!open || unclosed[open->first == '~' ? 1 : 0] ||
            (i > 0 && scan.lines[i - 1].IsText() &&
             open->second + scan.lines[i].indent >= scan.lines[i - 1].length)) {
            continue;
        }
        std::size_t close = i + 1;
        for (; close < n; ++close) {
            if (!scan.lines[close].IsText()) {
                continue;
            }
            const std::string_view text = utf8::Trim(reader.Text(doc.blocks[close]));
            const auto fence = ReadFence(text);
            if (fence && fence->first == open->first && fence->second >= open->second &&
                fence->second == text.size()) {
                break;
            }
        }
        if (close >= n) {
            unclosed[open->first == '~' ? 1 : 0] = true;
            continue;
        }
        for (std::size_t k = i; k <= close; ++k) {
            if (scan.lines[k].IsText()) {
                scan.lines[k].flags |= kLinePreformatted;
            }
        }
        i = close;
    }
}

}  // namespace

void MarkLiteralBlocks(const Document& doc, LineScan& scan) {
    BlockTextReader reader(doc);
    const std::size_t n = scan.lines.size();
    std::size_t i = 0;
    while (i < n) {
        const LineFacts& intro = scan.lines[i];
        const std::string_view trimmed =
            intro.IsText() ? utf8::Trim(reader.Text(doc.blocks[i])) : std::string_view();
        const bool directive = IsLiteralDirective(trimmed);
        if (!directive && !IntroducesLiteral(trimmed)) {
            ++i;
            continue;
        }
        // A blank line parts the paragraph from its block, which is set deeper.
        std::size_t j = i + 1;
        if (!directive && (j >= n || !scan.lines[j].Has(kLineBlank))) {
            ++i;
            continue;
        }
        while (j < n && scan.lines[j].Has(kLineBlank)) {
            ++j;
        }
        if (j >= n || !scan.lines[j].IsText() || scan.lines[j].indent <= intro.indent) {
            i = j;
            continue;
        }
        const std::uint16_t margin = intro.indent;
        std::size_t end = j;
        for (std::size_t k = j; k < n; ++k) {
            if (scan.lines[k].Has(kLineBlank)) {
                continue;
            }
            if (!scan.lines[k].IsText() || scan.lines[k].indent <= margin) {
                break;
            }
            end = k + 1;
        }
        for (std::size_t k = j; k < end; ++k) {
            if (!scan.lines[k].Has(kLineBlank)) {
                scan.lines[k].flags |= kLinePreformatted;
            }
        }
        // The block may end in a line that introduces the next one.
        i = end > j ? end : j;
    }
    MarkFencedBlocks(doc, scan);
}

}  // namespace Tessaly::Docs
