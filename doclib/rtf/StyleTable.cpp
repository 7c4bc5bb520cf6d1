#include "doclib/rtf/StyleTable.h"

#include <algorithm>

#include "text/AsciiCase.h"

namespace Tessaly::Docs::Rtf {

namespace {

// A style name is a label, never prose.
constexpr std::size_t kStyleNameLimit = 256;

// "heading 1" .. "heading 9" in any letter case, as word processors name their heading styles.
int HeadingStyleLevel(std::string_view name) {
    while (!name.empty() && (name.back() == ';' || name.back() == ' ')) {
        name.remove_suffix(1);
    }
    while (!name.empty() && name.front() == ' ') {
        name.remove_prefix(1);
    }
    constexpr std::string_view kPrefix = "heading ";
    if (name.size() != kPrefix.size() + 1 || !text::StartsWithNoCase(name, kPrefix)) {
        return 0;
    }
    const char digit = name.back();
    return digit >= '1' && digit <= '9' ? std::min(digit - '0', 6) : 0;
}

}  // namespace

void StyleTable::SetEntryParagraphStyle(std::int32_t number) {
    entry_.number = number;
    entry_.paragraphStyle = true;
}

void StyleTable::AppendEntryName(std::string_view text) {
    if (entry_.name.size() < kStyleNameLimit) {
        entry_.name.append(text.substr(0, kStyleNameLimit));
    }
}

void StyleTable::FinishEntry() {
    if (!entry_.paragraphStyle) {
        return;
    }
    int level = 0;
    if (entry_.outlineLevel >= 0 && entry_.outlineLevel <= 8) {
        level = std::min(entry_.outlineLevel + 1, 6);
    } else if (entry_.outlineLevel < 0) {
        level = HeadingStyleLevel(entry_.name);
    }
    if (level > 0) {
        headingLevels_[entry_.number] = static_cast<std::uint8_t>(level);
    } else {
        headingLevels_.erase(entry_.number);
    }
}

int StyleTable::HeadingLevel(std::int32_t style) const {
    const auto it = headingLevels_.find(style);
    return it == headingLevels_.end() ? 0 : it->second;
}

}  // namespace Tessaly::Docs::Rtf
