#pragma once
// The table of contents as a tree: headings nest under the nearest heading of a higher level
// before them, so levels that skip (1 then 3) still nest one step, and a book that starts at
// level 2 keeps those entries at the top.

#include <cstdint>
#include <string>
#include <vector>

namespace Tessaly::Docs {

struct TocEntry {
    int level = 1;
    std::string label;  // plain UTF-8, one line
    std::string href;   // relative to the package folder, e.g. "text/c0001.xhtml#h3"
};

struct TocNode {
    TocEntry entry;
    std::vector<TocNode> children;
};

std::vector<TocNode> BuildTocTree(const std::vector<TocEntry>& entries);

// The depth of the deepest entry (1 for a flat list, 0 for none).
int TocDepth(const std::vector<TocNode>& nodes);

}  // namespace Tessaly::Docs
