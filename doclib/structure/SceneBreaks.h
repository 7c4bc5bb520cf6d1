#pragma once
// Scene-break lines: "* * *", "***", "#", "~~~", "-- --", a lone ornament such as "§" or "❦".

#include <string_view>

#include "doclib/structure/DocumentShape.h"
#include "doclib/structure/LineFacts.h"
#include "doclib/structure/LineRoles.h"

namespace Tessaly::Docs {

// True when `trimmed` (a line without its outer spaces) is made only of break ornaments and
// spaces. Letters, digits, quotes and brackets never are, so "..." and "-- No!" stay text.
bool IsOrnamentLine(std::string_view trimmed);

// Marks the ornament lines that stand alone as scene breaks. Where blank lines part the
// paragraphs, a break has them on both sides; a rule of dashes right under a line of text
// underlines it instead.
void MarkSceneBreaks(const LineScan& scan, const DocumentShape& shape, LineMarks& marks);

}  // namespace Tessaly::Docs
