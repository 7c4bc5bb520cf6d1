#pragma once
// The result string of the Open dialog, composed from the files the user picked.

#include <cstddef>
#include <string>
#include <vector>

namespace quillane {

// "" for no file; the full path for one; for several, their folder (no trailing "/" except
// the root), then for each file a NUL and its name within that folder. Files from different
// folders are named from the deepest folder they share. Raises AppError 20476 when the result
// is longer than `maxFileSize` characters, counted as code points (the dialog's file-name
// buffer).
std::string ComposeOpenResult(const std::vector<std::string>& paths, std::size_t maxFileSize);

}  // namespace quillane
