#pragma once
// The names of the files in one folder that match a wildcard pattern.

#include <string>
#include <vector>

namespace quillane {

// The names (no folder part) of the files of `folder` (with or without a trailing separator)
// whose names match `pattern`, hidden ones included, folders not, each passing IsExistingFile,
// in listing order; none when nothing matched. A folder that cannot be read gives no names.
// Never throws for the folder's state.
std::vector<std::string> GetFolderFiles(const std::string& folder, const std::string& pattern);

}  // namespace quillane
