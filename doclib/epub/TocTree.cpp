#include "doclib/epub/TocTree.h"

#include <algorithm>

namespace Tessaly::Docs {

std::vector<TocNode> BuildTocTree(const std::vector<TocEntry>& entries) {
    std::vector<TocNode> roots;
    // The open path from a root to the last entry; each step is an index into the children of
    // the step before (and a pointer would dangle when a vector grows).
    std::vector<std::size_t> path;
    std::vector<int> levels;
    for (const TocEntry& entry : entries) {
        while (!levels.empty() && levels.back() >= entry.level) {
            levels.pop_back();
            path.pop_back();
        }
        std::vector<TocNode>* siblings = &roots;
        for (std::size_t index : path) {
            siblings = &(*siblings)[index].children;
        }
        siblings->push_back(TocNode{entry, {}});
        path.push_back(siblings->size() - 1);
        levels.push_back(entry.level);
    }
    return roots;
}

int TocDepth(const std::vector<TocNode>& nodes) {
    int depth = 0;
    for (const TocNode& node : nodes) {
        depth = std::max(depth, 1 + TocDepth(node.children));
    }
    return depth;
}

}  // namespace Tessaly::Docs
