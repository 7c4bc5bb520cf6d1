#include "doclib/rtf/FieldInstruction.h"

#include <vector>

#include "text/AsciiCase.h"

namespace Tessaly::Docs::Rtf {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Splits a field instruction into its words: quoted arguments lose their quotes, and a
// backslash escapes the next character inside quotes, as field codes write "C:\\path".
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsSpace(text[i])) {
            ++i;
        }
        if (i >= text.size()) {
            break;
        }
        std::string word;
        if (text[i] == '"') {
            ++i;
            while (i < text.size() && text[i] != '"') {
                if (text[i] == '\\' && i + 1 < text.size() &&
                    (text[i + 1] == '\\' || text[i + 1] == '"')) {
                    ++i;
                }
                word.push_back(text[i++]);
            }
            ++i;  // closing quote
        } else {
            while (i < text.size() && !IsSpace(text[i])) {
                word.push_back(text[i++]);
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace

std::optional<std::string> HyperlinkTarget(std::string_view instruction) {
    const std::vector<std::string> words = Words(instruction);
    if (words.empty() || !text::EqualsNoCase(words[0], "HYPERLINK")) {
        return std::nullopt;
    }
    std::string target;
    std::string anchor;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() == 2 && word[0] == '\\') {
            // Switches: \l takes the anchor; \o (tip), \t (frame) take an argument we drop.
            const char sw = word[1];
            if ((sw == 'l' || sw == 'o' || sw == 't') && i + 1 < words.size()) {
                if (sw == 'l') {
                    anchor = words[i + 1];
                }
                ++i;
            }
        } else if (target.empty()) {
            target = word;
        }
    }
    if (!anchor.empty()) {
        target += "#" + anchor;
    }
    if (target.empty()) {
        return std::nullopt;
    }
    return target;
}

}  // namespace Tessaly::Docs::Rtf
