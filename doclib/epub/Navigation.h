#pragma once
// The two tables of contents: the EPUB 3 navigation document and the EPUB 2 NCX beside it,
// so both new and old reading systems can navigate the book.

#include <string>
#include <vector>

#include "doclib/epub/TocTree.h"

namespace Tessaly::Docs {

// Entry hrefs in the tree are relative to the package folder, where both files live.
std::string NavDocument(const std::string& title, const std::string& language, bool rightToLeft,
                        const std::vector<TocNode>& toc);
// `identifier` must be the package's own, or reading systems take the NCX for another book's.
std::string NcxDocument(const std::string& identifier, const std::string& title,
                        const std::string& language, const std::vector<TocNode>& toc);

}  // namespace Tessaly::Docs
