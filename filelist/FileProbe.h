#pragma once
// The existence probe of the intake: does a path name a file that can be opened?

#include <string>

namespace quillane {

// True when `path` names an existing regular file (directly or through a symbolic link) that
// can be opened. The file is opened without asking for any access, so a file the user may not
// read still counts; folders, devices and pipes do not. Never throws.
bool IsExistingFile(const std::string& path);

}  // namespace quillane
