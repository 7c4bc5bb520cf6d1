#pragma once
// The style sheet's heading styles. A paragraph style with an outline level, or named
// "heading 1" to "heading 9", makes its paragraphs headings of that level: many documents mark
// their headings only by style.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace Tessaly::Docs::Rtf {

class StyleTable {
  public:
    // A style entry's group opens.
    void BeginEntry() { entry_ = Entry{}; }
    // \sN: the entry is paragraph style N.
    void SetEntryParagraphStyle(std::int32_t number);
    // \csN: the entry is a character style, which makes no headings.
    void SetEntryCharacterStyle() { entry_.paragraphStyle = false; }
    // \outlinelevelN, 0-based; -1 when none.
    void SetEntryOutlineLevel(std::int8_t level) { entry_.outlineLevel = level; }
    void AppendEntryName(std::string_view text);
    // The entry's group closes: a later entry of the same number replaces an earlier one.
    void FinishEntry();

    // The heading level (1-6) of paragraphs in `style`; 0 when the style makes no headings.
    int HeadingLevel(std::int32_t style) const;

  private:
    struct Entry {
        std::int32_t number = 0;
        bool paragraphStyle = true;
        std::int8_t outlineLevel = -1;
        std::string name;
    };

    Entry entry_;
    std::unordered_map<std::int32_t, std::uint8_t> headingLevels_;  // style number -> level
};

}  // namespace Tessaly::Docs::Rtf
