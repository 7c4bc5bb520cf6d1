#pragma once
// The rule a text table draws under its header row or around its rows: runs of dashes or
// equals signs, one run a column, set apart by spaces ("-------- --- ------"). The line above
// such a rule is a row of cells (a page's navigation bar among them), never a heading.

#include <string_view>

namespace Tessaly::Docs {

// `content` is the line without its outer blanks: two runs or more of one mark, nothing else.
bool IsColumnRule(std::string_view content);

}  // namespace Tessaly::Docs
