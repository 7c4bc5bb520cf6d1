#include "text/LanguageIdentifier.h"

#include <compact_lang_det.h>
#include <encodings.h>

#include <climits>
#include <string_view>

#include "text/Utf8.h"

namespace text {

namespace {

// CLD2's names as BCP 47 tags: the retired codes it still uses are replaced, and its script-
// only pseudo-languages ("xx-Qaai") name no language at all.
std::string Bcp47Tag(CLD2::Language language) {
    if (language == CLD2::UNKNOWN_LANGUAGE || language == CLD2::TG_UNKNOWN_LANGUAGE) {
        return {};
    }
    const std::string_view code = CLD2::LanguageCode(language);
    if (code.empty() || code.substr(0, 3) == "xx-" || code == "un" || code == "xxx") {
        return {};
    }
    if (code == "iw") {
        return "he";
    }
    if (code == "jw") {
        return "jv";
    }
    if (code == "in") {
        return "id";
    }
    if (code == "mo") {
        return "ro";
    }
    return std::string(code);
}

}  // namespace

LanguageGuess IdentifyLanguage(std::string_view utf8Text, bool bestEffort) {
    const std::string valid = utf8::ToValidUtf8(utf8Text);
    const int length = valid.size() > static_cast<std::size_t>(INT_MAX / 2)
                           ? INT_MAX / 2
                           : static_cast<int>(valid.size());
    CLD2::CLDHints hints = {nullptr, nullptr, CLD2::UNKNOWN_ENCODING, CLD2::UNKNOWN_LANGUAGE};
    CLD2::Language languages[3] = {CLD2::UNKNOWN_LANGUAGE, CLD2::UNKNOWN_LANGUAGE,
                                   CLD2::UNKNOWN_LANGUAGE};
    int percents[3] = {};
    double scores[3] = {};
    int textBytes = 0;
    bool reliable = false;
    int validPrefix = 0;
    const CLD2::Language best = CLD2::ExtDetectLanguageSummaryCheckUTF8(
        valid.data(), length, true, &hints, bestEffort ? CLD2::kCLDFlagBestEffort : 0, languages,
        percents, scores, nullptr, &textBytes, &reliable, &validPrefix);
    LanguageGuess guess;
    guess.tag = Bcp47Tag(best);
    guess.reliable = reliable && !guess.tag.empty();
    guess.percent = languages[0] == best ? percents[0] : 0;
    guess.typicality = languages[0] == best ? scores[0] : 0;
    guess.letterBytes = textBytes;
    return guess;
}

std::string LanguageSample(std::string_view utf8Text) {
    constexpr std::size_t kHead = 64 * 1024;
    constexpr std::size_t kWindows = 16;
    constexpr std::size_t kWindow = 4 * 1024;
    if (utf8Text.size() <= kHead + kWindows * kWindow) {
        return std::string(utf8Text);
    }
    auto onCharacter = [&](std::size_t at) {
        while (at < utf8Text.size() && (static_cast<unsigned char>(utf8Text[at]) & 0xC0) == 0x80) {
            ++at;
        }
        return at;
    };
    auto piece = [&](std::size_t at, std::size_t size) {
        // Ends before a character that would be cut, so the sample stays valid UTF-8.
        std::size_t end = onCharacter(std::min(at + size, utf8Text.size()));
        return utf8Text.substr(at, end - at);
    };
    std::string sample(piece(0, kHead));
    const std::size_t stride = (utf8Text.size() - kHead) / kWindows;
    for (std::size_t w = 0; w < kWindows; ++w) {
        sample.push_back('\n');
        sample.append(piece(onCharacter(kHead + w * stride), kWindow));
    }
    return sample;
}

std::string LanguageTagOf(std::string_view utf8Text) {
    const LanguageGuess guess = IdentifyLanguage(LanguageSample(utf8Text));
    return guess.reliable ? guess.tag : std::string();
}

}  // namespace text
