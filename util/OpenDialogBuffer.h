#pragma once
// The Open dialog's file-name buffer and what a selection takes up in it.

#include <cstddef>
#include <string>
#include <vector>

namespace quillane {

// The characters (code points) the dialog's result for the picked `paths` fills: the full path
// of one file; for several, their folder (no trailing "/" except the root), then for each file
// a NUL and its name within that folder. Files from different folders are named from the
// deepest folder they share.
std::size_t OpenResultLength(const std::vector<std::string>& paths);

// Raises AppError 20476 when the result for `paths` does not fit into `maxFileSize` characters.
void CheckOpenBuffer(const std::vector<std::string>& paths, std::size_t maxFileSize);

}  // namespace quillane
