#pragma once
// Reading a whole small file (a skin, a pointer image) into memory.

#include <string>

namespace quillane {

// The file's bytes. Raises AppError 53 (missing), 70 (no permission), 76 (bad path) or 57.
std::string ReadSmallFile(const std::string& path);

// True for an existing regular file that is not hidden (its name does not begin with ".").
bool IsNormalFile(const std::string& path);

}  // namespace quillane
