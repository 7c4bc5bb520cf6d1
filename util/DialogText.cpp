#include "util/DialogText.h"

#include "util/PathHelpers.h"

namespace quillane {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(separator, start);
        parts.push_back(text.substr(start, at - start));
        if (at == std::string::npos) {
            return parts;
        }
        start = at + 1;
    }
}

// The patterns of one filter entry, separated by spaces, with "*.*" as "*".
std::string Patterns(const std::string& patterns) {
    std::string out;
    for (const std::string& pattern : Split(patterns, ';')) {
        if (pattern.empty()) {
            continue;
        }
        out += out.empty() ? "" : " ";
        out += pattern == "*.*" ? std::string("*") : pattern;
    }
    return out.empty() ? std::string("*") : out;
}

// A description without its own "(...)" pattern list, which the dialog would read instead.
std::string BareDescription(const std::string& description) {
    const auto open = description.rfind('(');
    std::string bare = open == std::string::npos ? description : description.substr(0, open);
    while (!bare.empty() && bare.back() == ' ') {
        bare.pop_back();
    }
    return bare;
}

}  // namespace

std::string DisplayText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> NameFilters(const std::string& filter) {
    std::vector<std::string> filters;
    if (filter.empty()) {
        return filters;
    }
    const std::vector<std::string> parts = Split(filter, '|');
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        const std::string patterns = Patterns(i + 1 < parts.size() ? parts[i + 1] : "");
        const std::string description = BareDescription(parts[i]);
        filters.push_back((description.empty() ? patterns : description) + " (" + patterns + ")");
    }
    return filters;
}

std::string WithoutTrailingSeparator(const std::string& folder) {
    std::string out = folder;
    while (out.size() > 1 && out.back() == kSeparator) {
        out.pop_back();
    }
    return out;
}

}  // namespace quillane
