#pragma once
// Wildcard patterns of a directory listing ("*.txt", "*.*"), matched as a Windows listing
// matches them: letter case ignored, "*" any run of characters, "?" exactly one.

#include <string>

namespace quillane {

// True when `name` matches `pattern`. "*.*" matches every name, also one without a dot.
bool MatchesWildcard(const std::string& name, const std::string& pattern);

}  // namespace quillane
