#include "text/MarkdownName.h"

#include <array>

namespace text {

namespace {

bool EndsWithNoCaseAscii(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) {
        return false;
    }
    const std::string_view tail = text.substr(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != suffix[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool IsMarkdownName(std::string_view path) {
    // Only the last component's extension counts: "notes.md/readme.txt" is plain text.
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    constexpr std::array<std::string_view, 4> kExtensions = {".md", ".markdown", ".mkd",
                                                             ".mdown"};
    for (const std::string_view extension : kExtensions) {
        // A name that is only the extension (".md") is a hidden file's name, not an extension.
        if (name.size() > extension.size() && EndsWithNoCaseAscii(name, extension)) {
            return true;
        }
    }
    return false;
}

}  // namespace text
