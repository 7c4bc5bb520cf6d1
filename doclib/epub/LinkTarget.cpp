#include "doclib/epub/LinkTarget.h"

#include <cctype>

namespace Tessaly::Docs {

namespace {

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool IsHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') {
        s.remove_suffix(1);
    }
    return s;
}

}  // namespace

std::optional<std::string> SafeHref(std::string_view target) {
    target = Trim(target);
    std::string_view scheme;
    std::size_t restStart = 0;
    if (StartsWithNoCase(target, "https://")) {
        scheme = "https://";
        restStart = 8;
    } else if (StartsWithNoCase(target, "http://")) {
        scheme = "http://";
        restStart = 7;
    } else if (StartsWithNoCase(target, "mailto:")) {
        scheme = "mailto:";
        restStart = 7;
    } else {
        return std::nullopt;
    }
    const std::string_view rest = target.substr(restStart);
    // A web link needs a host; a mail link needs an address.
    if (rest.empty() || rest.front() == '/' || rest.front() == '?' || rest.front() == '#') {
        return std::nullopt;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string href(scheme);
    bool seenFragment = false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const auto c = static_cast<unsigned char>(rest[i]);
        bool encode = c <= 0x20 || c >= 0x7f || c == '"' || c == '<' || c == '>' || c == '\\' ||
                      c == '^' || c == '`' || c == '{' || c == '|' || c == '}';
        if (c == '#') {
            encode = seenFragment;
            seenFragment = true;
        } else if (c == '%') {
            encode = !(i + 2 < rest.size() && IsHex(rest[i + 1]) && IsHex(rest[i + 2]));
        }
        if (encode) {
            href.push_back('%');
            href.push_back(kHex[c >> 4]);
            href.push_back(kHex[c & 0x0f]);
        } else {
            href.push_back(static_cast<char>(c));
        }
    }
    return href;
}

}  // namespace Tessaly::Docs
