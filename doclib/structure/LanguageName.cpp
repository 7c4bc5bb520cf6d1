#include "doclib/structure/LanguageName.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>

#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::size_t kMaxLanguageNameBytes = 40;

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string Folded(std::string_view text) {
    std::string out;
    utf8::FoldCaseInto(text, out);
    return out;
}

// A tag as written: 2 or 3 letters, then subtags of letters and digits after '-' or '_'.
bool LooksLikeTag(std::string_view text) {
    std::size_t letters = 0;
    while (letters < text.size() && ((text[letters] >= 'a' && text[letters] <= 'z') ||
                                     (text[letters] >= 'A' && text[letters] <= 'Z'))) {
        ++letters;
    }
    if (letters < 2 || letters > 3) {
        return false;
    }
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(letters), text.end(), [](char c) {
        return c == '-' || c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
               (c >= 'A' && c <= 'Z');
    });
}

// The code whose English name is `name`, or empty.
std::string CodeNamed(std::string_view name) {
    const std::string wanted = Folded(name);
    std::string english;
    for (const char* const* code = icu::Locale::getISOLanguages(); *code != nullptr; ++code) {
        icu::UnicodeString display;
        icu::Locale(*code).getDisplayLanguage(icu::Locale::getEnglish(), display);
        english.clear();
        display.toUTF8String(english);
        if (english.size() == wanted.size() && Folded(english) == wanted) {
            return *code;
        }
    }
    return {};
}

}  // namespace

std::string PrimaryLanguage(std::string_view tag) {
    std::string primary(tag.substr(0, tag.find_first_of("-_")));
    std::transform(primary.begin(), primary.end(), primary.begin(), LowerAscii);
    return primary;
}

std::string LanguageTagFromName(std::string_view declared) {
    const std::string_view name = utf8::Trim(declared);
    if (name.empty() || name.size() > kMaxLanguageNameBytes ||
        name.find_first_of(",;/&") != std::string_view::npos ||
        name.find(" and ") != std::string_view::npos) {
        return {};
    }
    if (LooksLikeTag(name)) {
        // A code is taken when ICU knows its language (its English name is not the code itself).
        const std::string primary = PrimaryLanguage(name);
        icu::UnicodeString display;
        icu::Locale(primary.c_str()).getDisplayLanguage(icu::Locale::getEnglish(), display);
        std::string english;
        display.toUTF8String(english);
        if (!english.empty() && Folded(english) != primary) {
            std::string tag(name);
            std::replace(tag.begin(), tag.end(), '_', '-');
            std::transform(tag.begin(), tag.begin() + static_cast<std::ptrdiff_t>(primary.size()),
                           tag.begin(), LowerAscii);
            return tag;
        }
    }
    return CodeNamed(name);
}

}  // namespace Tessaly::Docs
