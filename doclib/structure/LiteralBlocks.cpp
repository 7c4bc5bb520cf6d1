#include "doclib/structure/LiteralBlocks.h"

#include <string_view>

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
}

}  // namespace Tessaly::Docs
