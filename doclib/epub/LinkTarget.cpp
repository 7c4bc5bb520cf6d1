#include "doclib/epub/LinkTarget.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "text/AsciiCase.h"

namespace Tessaly::Docs {

namespace {

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

bool IsDigits(std::string_view s) {
    for (const char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

bool IsAddress(std::string_view text, int family) {
    unsigned char address[16];
    return inet_pton(family, std::string(text).c_str(), address) == 1;
}

// A port is a number up to 65535; an empty one after ':' means the scheme's default.
bool IsValidPort(std::string_view port) {
    return port.size() <= 5 && IsDigits(port) &&
           (port.empty() || std::stoul(std::string(port)) <= 65535);
}

// A host name as URL parsers take it without complaint: labels of ASCII letters, digits, '-',
// '_' and '~' between single dots (one final dot allowed). A name whose last label is a
// number is read as an IPv4 address and must be one.
bool IsValidHostName(std::string_view host) {
    if (!host.empty() && host.back() == '.') {
        host.remove_suffix(1);
    }
    if (host.empty()) {
        return false;
    }
    std::string_view lastLabel;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= host.size(); ++i) {
        if (i == host.size() || host[i] == '.') {
            if (i == start) {
                return false;  // an empty label
            }
            lastLabel = host.substr(start, i - start);
            start = i + 1;
            continue;
        }
        const auto c = static_cast<unsigned char>(host[i]);
        if (!std::isalnum(c) && c != '-' && c != '_' && c != '~') {
            return false;
        }
    }
    const bool numeric = IsDigits(lastLabel) || text::StartsWithNoCase(lastLabel, "0x");
    return !numeric || IsAddress(host, AF_INET);
}

// The authority of a web link: [userinfo@]host[:port], the host a name, an IPv4 address or a
// bracketed IPv6 address. The user information is percent-encoded later like the rest.
bool IsValidAuthority(std::string_view authority) {
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    if (!authority.empty() && authority.front() == '[') {
        const auto close = authority.find(']');
        if (close == std::string_view::npos ||
            !IsAddress(authority.substr(1, close - 1), AF_INET6)) {
            return false;
        }
        const std::string_view rest = authority.substr(close + 1);
        return rest.empty() || (rest.front() == ':' && IsValidPort(rest.substr(1)));
    }
    const auto colon = authority.find(':');
    if (colon != std::string_view::npos && !IsValidPort(authority.substr(colon + 1))) {
        return false;
    }
    return IsValidHostName(authority.substr(0, colon));
}

}  // namespace

std::optional<std::string> SafeHref(std::string_view target) {
    target = Trim(target);
    std::string_view scheme;
    std::size_t restStart = 0;
    if (text::StartsWithNoCase(target, "https://")) {
        scheme = "https://";
        restStart = 8;
    } else if (text::StartsWithNoCase(target, "http://")) {
        scheme = "http://";
        restStart = 7;
    } else if (text::StartsWithNoCase(target, "mailto:")) {
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
    // A target that is not a URL ("http://[::1", a host with a space) would make the book
    // invalid: the link goes, its text stays.
    const bool web = scheme != "mailto:";
    const std::size_t authorityEnd = web ? std::min(rest.find_first_of("/?#"), rest.size()) : 0;
    if (web && !IsValidAuthority(rest.substr(0, authorityEnd))) {
        return std::nullopt;
    }
    // Brackets belong only around an IPv6 host; anywhere else a URI must encode them.
    const std::size_t at = rest.substr(0, authorityEnd).rfind('@');
    const std::size_t hostStart = at == std::string_view::npos ? 0 : at + 1;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string href(scheme);
    bool seenFragment = false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const auto c = static_cast<unsigned char>(rest[i]);
        bool encode = c <= 0x20 || c >= 0x7f || c == '"' || c == '<' || c == '>' || c == '\\' ||
                      c == '^' || c == '`' || c == '{' || c == '|' || c == '}' ||
                      ((c == '[' || c == ']') && (i < hostStart || i >= authorityEnd));
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
