#include "doclib/structure/FramedTitleLines.h"

#include <array>
#include <optional>

#include "doclib/structure/BlockTextReader.h"
#include "text/Utf8.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::size_t kMaxTitleRun = 6;
// Both lines of a title that closes on the next one.
constexpr std::size_t kMaxFramedTitleColumns = 200;
constexpr std::size_t kMinFramedTitles = 2;
constexpr std::string_view kTitleFrameMarks = "*=~+";

bool IsTitleFrameMark(char c) {
    return kTitleFrameMarks.find(c) != std::string_view::npos;
}

// The run of `mark` that opens `content`, followed by a blank; 0 when there is none.
std::size_t OpeningRun(std::string_view content, char mark) {
    std::size_t run = 0;
    while (run < content.size() && content[run] == mark) {
        ++run;
    }
    const bool apart = run < content.size() && utf8::IsBlankByte(content[run]);
    return run <= kMaxTitleRun && apart ? run : 0;
}

// The run of `mark` that closes `content`, after a blank or alone on the line; 0 when there is
// none.
std::size_t ClosingRun(std::string_view content, char mark) {
    std::size_t run = 0;
    while (run < content.size() && content[content.size() - 1 - run] == mark) {
        ++run;
    }
    const bool apart =
        run == content.size() || utf8::IsBlankByte(content[content.size() - 1 - run]);
    return run <= kMaxTitleRun && apart ? run : 0;
}

bool SaysSomething(std::string_view title) {
    const std::string_view words = utf8::Trim(title);
    return HasWordCharacter(words) && utf8::CountCodePoints(words) <= kMaxFramedTitleColumns;
}

class FramedTitles {
  public:
    FramedTitles(const Document& doc, const LineScan& scan, const LineMarks& marks)
        : doc_(doc), reader_(doc), scan_(scan), marks_(marks) {}

    std::vector<ShapedHeading> Run() {
        std::vector<ShapedHeading> found;
        std::array<std::size_t, kTitleFrameMarks.size()> perMark{};
        for (std::size_t i = 0; i < scan_.lines.size(); ++i) {
            if (!Open(i) || scan_.lines[i].Has(kLineStartsWord)) {
                continue;
            }
            const std::string_view content = Content(i);
            if (!IsTitleFrameMark(content[0])) {
                continue;
            }
            std::optional<ShapedHeading> heading = Read(i, content);
            if (!heading) {
                continue;
            }
            ++perMark[kTitleFrameMarks.find(content[0])];
            found.push_back(*heading);
            i += heading->closing == FrameClosing::OnTheLine ? 0 : 1;
        }
        std::erase_if(found, [&](const ShapedHeading& h) {
            return perMark[kTitleFrameMarks.find(static_cast<char>(h.mark))] < kMinFramedTitles;
        });
        return found;
    }

  private:
    // A line of running text no rule has taken yet.
    bool Open(std::size_t i) const {
        return i < scan_.lines.size() && scan_.lines[i].IsPlainText() &&
               !scan_.lines[i].Has(kLinePreformatted) && marks_[i].role == LineRole::Text;
    }

    std::string_view Content(std::size_t i) { return LineContent(reader_.Text(doc_.blocks[i])); }

    std::optional<ShapedHeading> Read(std::size_t i, std::string_view content) {
        const char mark = content[0];
        const std::size_t run = OpeningRun(content, mark);
        if (run == 0) {
            return std::nullopt;
        }
        ShapedHeading heading;
        heading.line = static_cast<std::uint32_t>(i);
        heading.kind = HeadingStyleKind::Framed;
        heading.run = static_cast<std::uint8_t>(run);
        heading.mark = static_cast<unsigned char>(mark);
        heading.markupLead = static_cast<std::uint8_t>(run);
        const std::size_t closing = ClosingRun(content, mark);
        if (closing != 0) {
            // Closed on its own line, by a run as long as the opening one.
            if (closing != run || run + closing >= content.size() ||
                !SaysSomething(content.substr(run, content.size() - run - closing))) {
                return std::nullopt;
            }
            heading.markupTrail = static_cast<std::uint8_t>(closing);
            return heading;
        }
        // A closing run alone on its line reads as an ornament, even a scene break.
        if (i + 1 >= scan_.lines.size() || !scan_.lines[i + 1].IsText() ||
            scan_.lines[i + 1].Has(kLinePreformatted) ||
            (marks_[i + 1].role != LineRole::Text && marks_[i + 1].role != LineRole::SceneBreak)) {
            return std::nullopt;
        }
        const std::string_view next = Content(i + 1);
        if (ClosingRun(next, mark) != run || OpeningRun(next, mark) != 0 ||
            !SaysSomething(content.substr(run))) {
            return std::nullopt;
        }
        if (next.size() == run) {
            heading.closing = FrameClosing::RuleBelow;
            return heading;
        }
        if (!SaysSomething(next.substr(0, next.size() - run))) {
            return std::nullopt;
        }
        heading.closing = FrameClosing::NextLine;
        heading.closeTrail = static_cast<std::uint8_t>(run);
        return heading;
    }

    const Document& doc_;
    BlockTextReader reader_;
    const LineScan& scan_;
    const LineMarks& marks_;
};

}  // namespace

std::vector<ShapedHeading> FindFramedTitleLines(const Document& doc, const LineScan& scan,
                                                const LineMarks& marks) {
    return FramedTitles(doc, scan, marks).Run();
}

}  // namespace Tessaly::Docs
