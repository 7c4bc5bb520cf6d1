#pragma once
// Where the build put the programs and files under test. The test mains export the folder as
// QUILLANE_BIN_DIR before any test runs; a test started by hand may point it elsewhere.

#include <cstdlib>
#include <string>
#include <string_view>

namespace quillane::test {

inline std::string BinDir() {
    const char* dir = std::getenv("QUILLANE_BIN_DIR");
    return dir != nullptr ? dir : "";
}

// `name` in that folder.
inline std::string BuiltFile(std::string_view name) {
    return BinDir() + "/" + std::string(name);
}

}  // namespace quillane::test
