#include "doclib/markdown/HtmlTag.h"

#include <algorithm>

namespace Tessaly::Docs {

namespace {

bool IsTagLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsTagDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsTagSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char ToLowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsUnquotedValueChar(char c) {
    return !IsTagSpace(c) && c != '"' && c != '\'' && c != '=' && c != '<' && c != '>' && c != '`';
}

}  // namespace

std::string_view HtmlTag::Attribute(std::string_view wanted) const {
    for (const auto& [key, value] : attributes) {
        if (key == wanted) {
            return value;
        }
    }
    return {};
}

bool HtmlTag::HasAttribute(std::string_view wanted) const {
    for (const auto& attribute : attributes) {
        if (attribute.first == wanted) {
            return true;
        }
    }
    return false;
}

std::size_t HtmlTagScanner::NextOf(char c, std::size_t from) {
    std::size_t k = 0;
    while (kRemembered[k] != c) {
        ++k;
    }
    if (known_[k] && from < from_[k]) {
        // Behind the remembered search: only the stretch before it is new.
        const std::size_t found = text_.substr(from, from_[k] - from).find(c);
        return found == std::string_view::npos ? next_[k] : from + found;
    }
    if (!known_[k] || (next_[k] != std::string_view::npos && next_[k] < from)) {
        next_[k] = text_.find(c, from);
        from_[k] = from;
        known_[k] = true;
    }
    return next_[k];
}

bool HtmlTagScanner::ReadHidden(std::size_t at, HtmlTag& tag) {
    tag.kind = HtmlPieceKind::Hidden;
    if (text_.substr(at, 4) == "<!--") {
        // An unclosed comment hides the rest, as it does in a browser.
        std::size_t end = noCommentEnd_ ? std::string_view::npos : text_.find("-->", at + 4);
        if (end == std::string_view::npos) {
            noCommentEnd_ = true;
            tag.length = text_.size() - at;
            return true;
        }
        tag.length = end + 3 - at;
        return true;
    }
    const std::size_t end = NextOf('>', at);
    if (end == std::string_view::npos || end - at > kHtmlTagLimit) {
        return false;
    }
    tag.length = end + 1 - at;
    return true;
}

bool HtmlTagScanner::Read(std::size_t at, HtmlTag& tag) {
    tag = HtmlTag{};
    const std::size_t limit = std::min(text_.size(), at + kHtmlTagLimit);
    std::size_t i = at + 1;
    if (i >= limit) {
        return false;
    }
    if (text_[i] == '!' || text_[i] == '?') {
        return ReadHidden(at, tag);
    }
    if (text_[i] == '/') {
        tag.kind = HtmlPieceKind::CloseTag;
        ++i;
    }
    if (i >= limit || !IsTagLetter(text_[i])) {
        return false;
    }
    while (i < limit && (IsTagLetter(text_[i]) || IsTagDigit(text_[i]) || text_[i] == '-')) {
        tag.name.push_back(ToLowerAscii(text_[i]));
        ++i;
    }
    while (true) {
        const std::size_t spaceStart = i;
        while (i < limit && IsTagSpace(text_[i])) {
            ++i;
        }
        if (i >= limit) {
            return false;
        }
        if (text_[i] == '>') {
            tag.length = i + 1 - at;
            return true;
        }
        if (text_[i] == '/' && tag.kind == HtmlPieceKind::OpenTag && i + 1 < limit &&
            text_[i + 1] == '>') {
            tag.selfClosing = true;
            tag.length = i + 2 - at;
            return true;
        }
        // An attribute, which must follow white space (a closing tag has none).
        const char c = text_[i];
        if (i == spaceStart || tag.kind == HtmlPieceKind::CloseTag ||
            !(IsTagLetter(c) || c == '_' || c == ':')) {
            return false;
        }
        std::string name;
        while (i < limit && (IsTagLetter(text_[i]) || IsTagDigit(text_[i]) || text_[i] == '_' ||
                             text_[i] == '.' || text_[i] == ':' || text_[i] == '-')) {
            name.push_back(ToLowerAscii(text_[i]));
            ++i;
        }
        std::size_t j = i;
        while (j < limit && IsTagSpace(text_[j])) {
            ++j;
        }
        std::string value;
        if (j < limit && text_[j] == '=') {
            ++j;
            while (j < limit && IsTagSpace(text_[j])) {
                ++j;
            }
            if (j >= limit) {
                return false;
            }
            if (text_[j] == '"' || text_[j] == '\'') {
                const std::size_t close = NextOf(text_[j], j + 1);
                if (close == std::string_view::npos || close >= limit) {
                    return false;
                }
                value.assign(text_.substr(j + 1, close - j - 1));
                j = close + 1;
            } else {
                const std::size_t start = j;
                while (j < limit && IsUnquotedValueChar(text_[j])) {
                    ++j;
                }
                if (j == start) {
                    return false;
                }
                value.assign(text_.substr(start, j - start));
            }
            i = j;
        }
        tag.attributes.emplace_back(std::move(name), std::move(value));
    }
}

}  // namespace Tessaly::Docs
