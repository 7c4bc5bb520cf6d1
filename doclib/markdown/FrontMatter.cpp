#include "doclib/markdown/FrontMatter.h"

#include <vector>

namespace Tessaly::Docs {

namespace {

// Front matter is a few lines; a "---" with no closing line this near is a rule, not a block.
constexpr std::size_t kFrontMatterLimit = 64 * 1024;

std::string_view TrimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t\r") + 1 - first);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameKey(std::string_view key, std::string_view name) {
    if (key.size() != name.size()) {
        return false;
    }
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (LowerAscii(key[i]) != name[i]) {
            return false;
        }
    }
    return true;
}

// A scalar as YAML reads it in the simple cases: quotes removed (a comment may follow them),
// or a trailing comment dropped.
std::string Scalar(std::string_view value) {
    value = TrimBlanks(value);
    std::string out;
    if (!value.empty() && value.front() == '"') {
        for (std::size_t i = 1; i < value.size() && value[i] != '"'; ++i) {
            if (value[i] == '\\' && i + 1 < value.size()) {
                ++i;
            }
            out.push_back(value[i]);
        }
        return out;
    }
    if (!value.empty() && value.front() == '\'') {
        for (std::size_t i = 1; i < value.size(); ++i) {
            if (value[i] == '\'') {
                if (i + 1 >= value.size() || value[i + 1] != '\'') {
                    break;
                }
                ++i;  // '' is one quote
            }
            out.push_back(value[i]);
        }
        return out;
    }
    const auto comment = value.find(" #");
    return std::string(TrimBlanks(value.substr(0, comment)));
}

// "[a, b]" or one scalar.
std::vector<std::string> Values(std::string_view value) {
    value = TrimBlanks(value);
    std::vector<std::string> out;
    if (value.size() >= 2 && value.front() == '[' && value.back() == ']') {
        // Items part at commas outside quotes.
        const std::string_view inner = value.substr(1, value.size() - 2);
        std::size_t start = 0;
        char quote = 0;
        for (std::size_t i = 0; i <= inner.size(); ++i) {
            const bool end = i == inner.size();
            const char c = end ? ',' : inner[i];
            if (quote != 0 && !end) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == ',') {
                std::string item = Scalar(inner.substr(start, i - start));
                if (!item.empty()) {
                    out.push_back(std::move(item));
                }
                start = i + 1;
            }
        }
        return out;
    }
    std::string item = Scalar(value);
    if (!item.empty()) {
        out.push_back(std::move(item));
    }
    return out;
}

std::string Joined(const std::vector<std::string>& values) {
    std::string out;
    for (const std::string& v : values) {
        out.append(out.empty() ? "" : ", ").append(v);
    }
    return out;
}

bool IsFenceLine(std::string_view line, std::string_view fence) {
    return TrimBlanks(line) == fence && line.substr(0, fence.size()) == fence;
}

}  // namespace

FrontMatter ReadFrontMatter(std::string_view text) {
    FrontMatter matter;
    const auto firstEnd = text.find('\n');
    if (firstEnd == std::string_view::npos || !IsFenceLine(text.substr(0, firstEnd), "---")) {
        return matter;
    }
    // The lines of the block, up to the closing line.
    std::vector<std::string_view> lines;
    std::size_t at = firstEnd + 1;
    bool closed = false;
    while (at < text.size() && at <= kFrontMatterLimit) {
        const auto end = text.find('\n', at);
        const std::string_view line =
            text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        at = end == std::string_view::npos ? text.size() : end + 1;
        if (IsFenceLine(line, "---") || IsFenceLine(line, "...")) {
            closed = true;
            break;
        }
        lines.push_back(line);
    }
    if (!closed) {
        return matter;
    }
    matter.length = at;

    std::string* target = nullptr;  // the key whose "- item" lines follow
    std::vector<std::string> items;
    const auto finishList = [&]() {
        if (target != nullptr && !items.empty()) {
            *target = Joined(items);
        }
        target = nullptr;
        items.clear();
    };
    for (const std::string_view line : lines) {
        const std::string_view trimmed = TrimBlanks(line);
        if (target != nullptr && !trimmed.empty() && trimmed.front() == '-') {
            std::string item = Scalar(trimmed.substr(1));
            if (!item.empty()) {
                items.push_back(std::move(item));
            }
            continue;
        }
        finishList();
        if (line.empty() || line.front() == ' ' || line.front() == '\t' || line.front() == '#') {
            continue;  // nested values and comments
        }
        const auto colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const std::string_view key = TrimBlanks(line.substr(0, colon));
        const std::string_view value = line.substr(colon + 1);
        std::string* field = nullptr;
        if (SameKey(key, "title")) {
            field = &matter.title;
        } else if (SameKey(key, "author") || SameKey(key, "authors")) {
            field = &matter.author;
        } else if (SameKey(key, "lang") || SameKey(key, "language")) {
            field = &matter.language;
        }
        if (field == nullptr) {
            continue;
        }
        if (TrimBlanks(value).empty()) {
            target = field;
        } else {
            *field = Joined(Values(value));
        }
    }
    finishList();
    return matter;
}

}  // namespace Tessaly::Docs
