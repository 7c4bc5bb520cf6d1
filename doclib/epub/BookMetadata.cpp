#include "doclib/epub/BookMetadata.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "doclib/epub/XhtmlText.h"
#include "text/AsciiCase.h"

namespace Tessaly::Docs {

namespace {

bool IsAlpha(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// True when the tag reads as BCP 47: a primary language subtag of 2-8 letters (or the "x"
// and "i" prefixes), then subtags of 1-8 letters and digits.
bool IsWellFormedTag(std::string_view tag) {
    std::size_t start = 0;
    bool first = true;
    while (true) {
        const std::size_t dash = tag.find('-', start);
        const std::string_view sub = tag.substr(
            start, dash == std::string_view::npos ? std::string_view::npos : dash - start);
        if (sub.empty() || sub.size() > 8) {
            return false;
        }
        if (first) {
            const bool singleton = sub.size() == 1 && (sub[0] == 'x' || sub[0] == 'X' ||
                                                       sub[0] == 'i' || sub[0] == 'I');
            if (!singleton && (sub.size() < 2 || !std::all_of(sub.begin(), sub.end(), IsAlpha))) {
                return false;
            }
            if (singleton && dash == std::string_view::npos) {
                return false;
            }
        } else if (!std::all_of(sub.begin(), sub.end(), IsAlnum)) {
            return false;
        }
        first = false;
        if (dash == std::string_view::npos) {
            return true;
        }
        start = dash + 1;
    }
}

}  // namespace

std::string BookTitle(const Metadata& metadata, const std::string& outputPath) {
    std::string title = CollapseWhiteSpace(metadata.title);
    if (!XmlEscaped(title).empty()) {
        return title;
    }
    const auto slash = outputPath.find_last_of('/');
    std::string name = slash == std::string::npos ? outputPath : outputPath.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        name.resize(dot);
    }
    title = CollapseWhiteSpace(name);
    if (!XmlEscaped(title).empty()) {
        return title;
    }
    return "Untitled";
}

std::string BookLanguage(std::string_view language) {
    while (!language.empty() && std::isspace(static_cast<unsigned char>(language.front()))) {
        language.remove_prefix(1);
    }
    while (!language.empty() && std::isspace(static_cast<unsigned char>(language.back()))) {
        language.remove_suffix(1);
    }
    std::string tag(language);
    std::replace(tag.begin(), tag.end(), '_', '-');
    return IsWellFormedTag(tag) ? tag : "und";
}

bool IsRightToLeft(std::string_view languageTag) {
    const std::string tag = text::ToLowerAscii(languageTag);
    const std::string primary = tag.substr(0, tag.find('-'));
    static constexpr std::array<std::string_view, 12> kRtl = {"ar", "he", "iw", "fa", "ur",  "yi",
                                                              "ps", "sd", "ug", "dv", "ckb", "syr"};
    if (std::find(kRtl.begin(), kRtl.end(), primary) != kRtl.end()) {
        return tag.find("-latn") == std::string::npos && tag.find("-cyrl") == std::string::npos;
    }
    return tag.find("-arab") != std::string::npos || tag.find("-hebr") != std::string::npos;
}

}  // namespace Tessaly::Docs
