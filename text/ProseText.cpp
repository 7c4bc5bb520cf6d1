#include "text/ProseText.h"

#include <algorithm>

namespace text {

namespace {

bool IsAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Characters programs and shells are written with, and prose seldom.
bool IsProgramPunctuation(char c) {
    switch (c) {
        case '{':
        case '}':
        case '[':
        case ']':
        case '(':
        case ')':
        case ';':
        case '=':
        case '<':
        case '>':
        case '$':
        case '|':
        case '\\':
        case '&':
        case '*':
        case '_':
        case '/':
        case '#':
        case '@':
        case '%':
        case '^':
        case '~':
        case '`':
        case '+':
            return true;
        default:
            return false;
    }
}

// A word that names a place rather than saying something: a web or mail address, a path, an
// identifier or an assignment.
bool IsAddressWord(std::string_view word) {
    return word.find("://") != std::string_view::npos || word.substr(0, 4) == "www." ||
           std::any_of(word.begin(), word.end(), [](char c) {
               return c == '@' || c == '/' || c == '\\' || c == '_' || c == '=' || c == '{' ||
                      c == '}' || c == '|';
           });
}

// The length of the tag or entity that starts at `at`, or 0. A tag is looked for on a short
// stretch only, so the scan stays linear.
std::size_t MarkupLength(std::string_view line, std::size_t at) {
    constexpr std::size_t kLongestMarkup = 256;
    const std::string_view rest = line.substr(at, kLongestMarkup);
    if (rest.size() < 3) {
        return 0;
    }
    if (rest[0] == '<' &&
        (IsAsciiLetter(rest[1]) || rest[1] == '/' || rest[1] == '!' || rest[1] == '?')) {
        const std::size_t close = rest.find('>');
        return close == std::string_view::npos ? 0 : close + 1;
    }
    if (rest[0] == '&') {
        std::size_t i = 1;
        while (i < rest.size() && i < 12 &&
               (IsAsciiLetter(rest[i]) || rest[i] == '#' || (rest[i] >= '0' && rest[i] <= '9'))) {
            ++i;
        }
        return i > 1 && i < rest.size() && rest[i] == ';' ? i + 1 : 0;
    }
    return 0;
}

}  // namespace

bool StartsWithPrompt(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && IsAsciiSpace(line[start])) {
        ++start;
    }
    const std::string_view body = line.substr(start);
    for (const std::string_view prompt : {"$ ", "% ", ">>> ", "# "}) {
        // "# " opens a heading in Markdown: a prompt only before a lower-case command word.
        if (body.substr(0, prompt.size()) == prompt &&
            (prompt != "# " || (body.size() > 2 && body[2] >= 'a' && body[2] <= 'z'))) {
            return true;
        }
    }
    return false;
}

bool LooksLikeCode(std::string_view line) {
    if (StartsWithPrompt(line)) {
        return true;
    }
    std::size_t visible = 0;
    std::size_t punctuation = 0;
    for (const char c : line) {
        visible += !IsAsciiSpace(c);
        punctuation += IsProgramPunctuation(c);
    }
    return punctuation >= 3 && punctuation * 100 >= visible * 15;
}

void AppendProse(std::string_view line, std::string& out) {
    std::size_t i = 0;
    std::string word;
    auto endWord = [&] {
        if (!word.empty() && !IsAddressWord(word)) {
            out += word;
            out += ' ';
        }
        word.clear();
    };
    while (i < line.size()) {
        const std::size_t markup = line[i] == '<' || line[i] == '&' ? MarkupLength(line, i) : 0;
        if (markup > 0) {
            endWord();
            i += markup;
        } else if (IsAsciiSpace(line[i])) {
            endWord();
            ++i;
        } else {
            word += line[i++];
        }
    }
    endWord();
}

}  // namespace text
