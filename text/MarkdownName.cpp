#include "text/MarkdownName.h"

#include <array>

#include "text/AsciiCase.h"

namespace text {

bool IsMarkdownName(std::string_view path) {
    // Only the last component's extension counts: "notes.md/readme.txt" is plain text.
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    constexpr std::array<std::string_view, 4> kExtensions = {".md", ".markdown", ".mkd", ".mdown"};
    for (const std::string_view extension : kExtensions) {
        // A name that is only the extension (".md") is a hidden file's name, not an extension.
        if (name.size() > extension.size() && EndsWithNoCase(name, extension)) {
            return true;
        }
    }
    return false;
}

}  // namespace text
