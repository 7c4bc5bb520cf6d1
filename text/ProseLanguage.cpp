#include "text/ProseLanguage.h"

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "text/LanguageIdentifier.h"
#include "text/ProseText.h"

namespace text {

namespace {

// A text up to this size is read whole; a longer one in kWindows windows of kWindow bytes.
constexpr std::size_t kReadWhole = 256 * 1024;
constexpr std::size_t kWindows = 64;
constexpr std::size_t kWindow = 4 * 1024;
// A chunk closes at a paragraph break once it holds kParagraphChunk bytes of prose, and
// anyhow at kLongestChunk.
constexpr std::size_t kParagraphChunk = 512;
constexpr std::size_t kLongestChunk = 2 * 1024;
// A clear majority of the votes, and the share beside English that names a text's language.
constexpr std::size_t kMajorityPercent = 60;
constexpr std::size_t kBesideEnglishPercent = 15;
// Fewer letters than this say nothing of a language.
constexpr std::size_t kFewestLetters = 24;

class Tally {
  public:
    void Vote(const std::string& chunk) {
        const LanguageReading reading = ReadLanguages(chunk);
        if (!reading.reliable) {
            return;  // too short or too mixed to tell: no vote
        }
        for (const LanguageLetters& language : reading.languages) {
            votes_[language.tag] += language.letters;
        }
    }

    std::string Winner() const {
        std::vector<std::pair<std::size_t, std::string>> ranked;
        std::size_t total = 0;
        for (const auto& [tag, letters] : votes_) {
            ranked.emplace_back(letters, tag);
            total += letters;
        }
        if (total < kFewestLetters) {
            return {};
        }
        std::sort(ranked.begin(), ranked.end(), std::greater<>());
        // English is the language of commands, messages and passages left untranslated in
        // texts of every language, rarely the other way round: a good share of another
        // language, with a clear majority of what is not English, names the text's language
        // (the identifier reads web pages so too).
        std::size_t notEnglish = 0;
        const std::pair<std::size_t, std::string>* other = nullptr;
        for (const auto& entry : ranked) {
            if (entry.second != "en") {
                notEnglish += entry.first;
                other = other == nullptr ? &entry : other;
            }
        }
        if (other != nullptr && other->first * 100 >= total * kBesideEnglishPercent &&
            other->first * 100 >= notEnglish * kMajorityPercent) {
            return other->second;
        }
        return ranked[0].first * 100 >= total * kMajorityPercent ? ranked[0].second : std::string();
    }

  private:
    std::map<std::string, std::size_t> votes_;
};

// Cuts the prose of `piece` into chunks and hands each to the tally.
void VoteOnPiece(std::string_view piece, Tally& tally) {
    std::string chunk;
    bool commandOutput = false;
    std::size_t at = 0;
    while (at < piece.size()) {
        const std::size_t end = std::min(piece.find('\n', at), piece.size());
        const std::string_view line = piece.substr(at, end - at);
        at = end + 1;
        const bool blank = std::all_of(line.begin(), line.end(), [](char c) {
            return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
        });
        commandOutput = !blank && (commandOutput || StartsWithPrompt(line));
        if (!blank && !commandOutput && !LooksLikeCode(line)) {
            AppendProse(line, chunk);
        }
        if (chunk.size() >= kLongestChunk || (blank && chunk.size() >= kParagraphChunk)) {
            tally.Vote(chunk);
            chunk.clear();
        }
    }
    if (!chunk.empty()) {
        tally.Vote(chunk);
    }
}

// `at` moved forward to the start of a character.
std::size_t OnCharacter(std::string_view s, std::size_t at) {
    while (at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80) {
        ++at;
    }
    return at;
}

}  // namespace

std::string ProseLanguageOf(std::string_view utf8Text) {
    Tally tally;
    if (utf8Text.size() <= kReadWhole) {
        VoteOnPiece(utf8Text, tally);
        return tally.Winner();
    }
    // Windows start and end on whole lines where the lines are short enough to allow it.
    const std::size_t stride = utf8Text.size() / kWindows;
    for (std::size_t w = 0; w < kWindows; ++w) {
        std::size_t start = w * stride;
        if (start > 0) {
            const std::size_t line = utf8Text.substr(start, kWindow / 2).find('\n');
            start =
                line == std::string_view::npos ? OnCharacter(utf8Text, start) : start + line + 1;
        }
        std::size_t end = std::min(start + kWindow, utf8Text.size());
        const std::size_t lastLine = utf8Text.substr(start, end - start).rfind('\n');
        end = lastLine == std::string_view::npos || lastLine < kWindow / 2
                  ? OnCharacter(utf8Text, end)
                  : start + lastLine;
        VoteOnPiece(utf8Text.substr(start, end - start), tally);
    }
    return tally.Winner();
}

}  // namespace text
