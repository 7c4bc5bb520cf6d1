#include "doclib/structure/UnderlinedHeadings.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "doclib/structure/Adornment.h"
#include "doclib/structure/BlockTextReader.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kMaxUnderlinedTitleColumns = 120;
// An underline may start a column or two left of its title, never right of it.
constexpr std::uint16_t kUnderlineIndentSlack = 2;
// Rules of one width under this many titles are the document's way of underlining.
constexpr std::size_t kFixedRuleTitles = 3;

// Columns of the outline star that opens "* SUMMARY" and of the blanks after it; 0 when none.
struct OutlineStar {
    std::size_t bytes = 0;
    std::uint32_t columns = 0;
};

OutlineStar ReadOutlineStar(std::string_view title) {
    OutlineStar star;
    std::size_t at = 0;
    if (title.starts_with("\uFF0A")) {
        at = 3;
        star.columns = 2;
    } else {
        while (at < title.size() && title[at] == '*') {
            ++at;
            ++star.columns;
        }
    }
    const std::size_t marks = at;
    while (at < title.size() && utf8::IsBlankByte(title[at])) {
        ++at;
        ++star.columns;
    }
    // "*bold*" is emphasis, not an outline star: the ASCII star stands apart from the title.
    if (marks == 0 || marks > 6 || (at == marks && title[0] == '*') || at == title.size()) {
        return {};
    }
    star.bytes = at;
    return star;
}

class Underlines {
  public:
    Underlines(const Document& doc, const LineScan& scan, const LineMarks& marks)
        : doc_(doc), reader_(doc), scan_(scan), marks_(marks) {}

    std::vector<ShapedHeading> Run() {
        const std::size_t n = scan_.lines.size();
        for (std::size_t i = 0; i + 1 < n; ++i) {
            if (!MayBeTitle(i) || !MayBeRule(i + 1)) {
                continue;
            }
            if (Consider(i)) {
                ++i;  // the rule is no title of its own
            }
        }
        AcceptFixedWidthRules();
        std::sort(found_.begin(), found_.end(),
                  [](const ShapedHeading& a, const ShapedHeading& b) { return a.line < b.line; });
        return std::move(found_);
    }

  private:
    struct LongRule {
        ShapedHeading heading;
        std::uint32_t columns = 0;
    };

    bool MayBeTitle(std::size_t i) const {
        const LineFacts& line = scan_.lines[i];
        return line.IsPlainText() && !line.Has(kLinePreformatted) &&
               line.length - line.indent <= kMaxUnderlinedTitleColumns &&
               (marks_[i].role == LineRole::Text || marks_[i].role == LineRole::Heading);
    }

    // A rule is one word that opens with no letter or digit: most lines fail here, unread.
    bool MayBeRule(std::size_t i) const {
        const LineFacts& line = scan_.lines[i];
        return line.IsText() && line.words == 1 && !line.Has(kLineStartsWord) &&
               marks_[i].role != LineRole::Subtitle &&
               marks_[i].role != LineRole::HeadingContinuation;
    }

    std::optional<Adornment> RuleAt(std::size_t i) {
        if (i >= scan_.lines.size() || !MayBeRule(i)) {
            return std::nullopt;
        }
        return ReadAdornment(LineContent(reader_.Text(doc_.blocks[i])));
    }

    // True when line `i` was taken as a title (its rule below it).
    bool Consider(std::size_t i) {
        const std::optional<Adornment> under = RuleAt(i + 1);
        if (!under) {
            return false;
        }
        const LineFacts& title = scan_.lines[i];
        const LineFacts& rule = scan_.lines[i + 1];
        std::optional<Adornment> over;
        if (i > 0 && !IsRuleOfEarlierTitle(i - 1)) {
            over = RuleAt(i - 1);
        }
        const bool overlined =
            over && over->mark == under->mark &&
            std::max(over->count, under->count) <= std::min(over->count, under->count) + 1;
        if (!overlined && i > 0 && !BoundsHeading(scan_, marks_, i - 1) &&
            !IsRuleOfEarlierTitle(i - 1)) {
            return false;
        }
        if (overlined && i >= 2 && !BoundsHeading(scan_, marks_, i - 2) &&
            !IsRuleOfEarlierTitle(i - 2)) {
            return false;
        }
        // An overlined title may be inset between its rules; an underlined one starts where
        // its rule starts.
        if (title.indent < rule.indent ||
            (!overlined && title.indent > rule.indent + kUnderlineIndentSlack)) {
            return false;
        }
        const std::string_view text = LineContent(reader_.Text(doc_.blocks[i]));
        if (!HasWordCharacter(text) || TitleEndsSentence(text)) {
            return false;
        }
        ShapedHeading heading;
        heading.line = static_cast<std::uint32_t>(i);
        heading.kind = overlined ? HeadingStyleKind::Overlined : HeadingStyleKind::Underlined;
        heading.mark = under->mark;
        const OutlineStar star = ReadOutlineStar(text);
        heading.markupLead = static_cast<std::uint8_t>(star.bytes);
        const std::uint32_t columns = title.length - rule.indent;
        if (overlined) {
            // The rules frame the title: they reach at least to its end.
            if (AdornmentColumns(*under) + rule.indent + 1 < title.length &&
                !(under->eitherWidth && 2 * under->count + rule.indent >= title.length)) {
                return false;
            }
        } else if (!AdornmentFits(*under, columns) &&
                   !(star.bytes > 0 && AdornmentFits(*under, columns - star.columns))) {
            if (AdornmentColumns(*under) > columns) {
                longRules_.push_back({heading, AdornmentColumns(*under)});
            }
            return false;
        }
        Accept(heading);
        return true;
    }

    void Accept(const ShapedHeading& heading) {
        found_.push_back(heading);
        lastRule_ = heading.line + 1;
    }

    bool IsRuleOfEarlierTitle(std::size_t i) const { return lastRule_ && *lastRule_ == i; }

    void AcceptFixedWidthRules() {
        std::unordered_map<std::uint32_t, std::size_t> widths;
        for (const LongRule& rule : longRules_) {
            ++widths[rule.columns];
        }
        for (const LongRule& rule : longRules_) {
            if (widths[rule.columns] >= kFixedRuleTitles) {
                found_.push_back(rule.heading);
            }
        }
    }

    const Document& doc_;
    BlockTextReader reader_;
    const LineScan& scan_;
    const LineMarks& marks_;
    std::vector<ShapedHeading> found_;
    std::vector<LongRule> longRules_;
    std::optional<std::size_t> lastRule_;
};

}  // namespace

std::vector<ShapedHeading> FindUnderlinedHeadings(const Document& doc, const LineScan& scan,
                                                  const LineMarks& marks) {
    return Underlines(doc, scan, marks).Run();
}

}  // namespace Tessaly::Docs
