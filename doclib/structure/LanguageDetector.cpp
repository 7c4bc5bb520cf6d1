#include "doclib/structure/LanguageDetector.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "doclib/structure/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

enum Lang : std::size_t { kEn, kDe, kFr, kEs, kIt, kPt, kNl, kPl, kCs, kLatinCount };

constexpr std::array<std::string_view, kLatinCount> kLatinTags = {"en", "de", "fr", "es", "it",
                                                                  "pt", "nl", "pl", "cs"};

// The commonest words of each language; shared words count for each language that has them,
// the margin between the best two decides.
constexpr std::array<std::string_view, kLatinCount> kCommonWords = {
    "the and of to was that with he she his her you not for this but had have is it",
    "der die und das ist nicht ich sie ein eine zu den mit sich auf dem war auch wie er",
    "le les et est une des du qui dans pas il elle pour sur au avec ce je ne vous",
    "el los las y una del en por con para se lo su como pero más estaba muy sus está",
    "il che di è un per non gli della del sono con si ma era mi anche questo nel lei",
    "o os é um uma não do da dos das em com para mas ele ela você muito seu sua",
    "de het een en van niet dat ik je zijn op te met hij zij was voor maar er naar",
    "i w nie się na że z do jest to jak ale co tak po od go był jej już",
    "a v se na je že to s z do jsem jak ale by byl jsou tak jeho není už",
};

using WordTable = std::vector<std::pair<std::string_view, std::uint16_t>>;

WordTable BuildWordTable() {
    WordTable table;
    for (std::size_t lang = 0; lang < kLatinCount; ++lang) {
        std::string_view words = kCommonWords[lang];
        while (!words.empty()) {
            const std::size_t space = words.find(' ');
            table.emplace_back(words.substr(0, space), static_cast<std::uint16_t>(1u << lang));
            words = space == std::string_view::npos ? std::string_view() : words.substr(space + 1);
        }
    }
    std::sort(table.begin(), table.end());
    WordTable merged;
    for (const auto& entry : table) {
        if (!merged.empty() && merged.back().first == entry.first) {
            merged.back().second |= entry.second;
        } else {
            merged.push_back(entry);
        }
    }
    return merged;
}

// Letters that only one of the languages uses.
int MarkerLanguage(char32_t c) {
    switch (c) {
        case 0xF1:
            return kEs;  // ñ
        case 0xE3:
        case 0xF5:
            return kPt;  // ã õ
        case 0xDF:
            return kDe;  // ß
        case 0x142:
        case 0x105:
        case 0x119:
        case 0x15B:
        case 0x17A:  // ł ą ę ś ź
        case 0x17C:
        case 0x144:
            return kPl;  // ż ń
        case 0x159:
        case 0x11B:
        case 0x16F:
            return kCs;  // ř ě ů
        default:
            return -1;
    }
}

struct ScriptCounts {
    std::size_t latin = 0, cyrillic = 0, greek = 0, kana = 0, han = 0, hangul = 0, arabic = 0,
                hebrew = 0;
    std::size_t russianOnly = 0, ukrainianOnly = 0;
    std::size_t Total() const {
        return latin + cyrillic + greek + kana + han + hangul + arabic + hebrew;
    }
};

void CountScript(char32_t c, ScriptCounts& n) {
    if (c < 0x250) {
        n.latin += 1;
    } else if (c >= 0x1E00 && c <= 0x1EFF) {
        n.latin += 1;
    } else if (c >= 0x370 && c <= 0x3FF) {
        n.greek += 1;
    } else if (c >= 0x400 && c <= 0x52F) {
        n.cyrillic += 1;
        n.russianOnly += (c == 0x44B || c == 0x44D || c == 0x44A || c == 0x451) ? 1 : 0;
        n.ukrainianOnly += (c == 0x456 || c == 0x457 || c == 0x454 || c == 0x491) ? 1 : 0;
    } else if (c >= 0x5D0 && c <= 0x5EA) {
        n.hebrew += 1;
    } else if (c >= 0x620 && c <= 0x64A) {
        n.arabic += 1;
    } else if (c >= 0x3041 && c <= 0x30FF) {
        n.kana += 1;
    } else if ((c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)) {
        n.han += 1;
    } else if (c >= 0xAC00 && c <= 0xD7AF) {
        n.hangul += 1;
    }
}

std::string LatinLanguage(const std::array<double, kLatinCount>& score, std::size_t words) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < kLatinCount; ++i) {
        best = score[i] > score[best] ? i : best;
    }
    double second = 0;
    for (std::size_t i = 0; i < kLatinCount; ++i) {
        second = i != best ? std::max(second, score[i]) : second;
    }
    // Enough common words, a tenth of the text at least, and a clear lead.
    const bool clear = score[best] >= 6 && score[best] * 10 >= static_cast<double>(words) &&
                       score[best] >= second * 1.5;
    return clear ? std::string(kLatinTags[best]) : std::string();
}

}  // namespace

std::string DetectLanguage(std::string_view text) {
    const WordTable table = BuildWordTable();
    ScriptCounts scripts;
    std::array<double, kLatinCount> score{};
    std::size_t latinWords = 0;
    std::string word;
    std::string folded;
    auto finishWord = [&]() {
        if (word.empty()) {
            return;
        }
        utf8::FoldCaseInto(word, folded);
        word.clear();
        ++latinWords;
        const auto it =
            std::lower_bound(table.begin(), table.end(), std::string_view(folded),
                             [](const auto& entry, std::string_view w) { return entry.first < w; });
        if (it != table.end() && it->first == folded) {
            for (std::size_t lang = 0; lang < kLatinCount; ++lang) {
                score[lang] += (it->second >> lang) & 1u;
            }
        }
    };
    for (std::size_t i = 0; i < text.size();) {
        const utf8::CodePoint cp = utf8::DecodeAt(text, i);
        if (utf8::IsLetter(cp.value)) {
            CountScript(cp.value, scripts);
            const bool latin = cp.value < 0x250 || (cp.value >= 0x1E00 && cp.value <= 0x1EFF);
            if (latin) {
                if (word.size() < 16) {
                    word.append(text.substr(i, cp.length));
                }
                const int marker = MarkerLanguage(utf8::FoldCase(cp.value));
                if (marker >= 0) {
                    score[static_cast<std::size_t>(marker)] += 1;
                }
            } else {
                finishWord();
            }
        } else {
            finishWord();
        }
        i += cp.length;
    }
    finishWord();

    const std::size_t letters = scripts.Total();
    if (letters < 20) {
        return {};
    }
    auto share = [letters](std::size_t n) { return n * 2 >= letters; };
    if (scripts.kana * 10 >= letters && scripts.kana + scripts.han >= letters / 2) {
        return "ja";
    }
    if (share(scripts.hangul)) {
        return "ko";
    }
    if (share(scripts.han)) {
        return "zh";
    }
    if (share(scripts.cyrillic)) {
        if (scripts.ukrainianOnly > 2 * scripts.russianOnly) {
            return "uk";
        }
        if (scripts.russianOnly > 2 * scripts.ukrainianOnly) {
            return "ru";
        }
        return {};
    }
    if (share(scripts.greek)) {
        return "el";
    }
    if (share(scripts.arabic)) {
        return "ar";
    }
    if (share(scripts.hebrew)) {
        return "he";
    }
    if (share(scripts.latin)) {
        return LatinLanguage(score, latinWords);
    }
    return {};
}

std::string DetectDocumentLanguage(const Document& doc) {
    constexpr std::size_t kHead = 64 * 1024;
    constexpr std::size_t kWindows = 16;
    constexpr std::size_t kWindow = 4 * 1024;
    const std::string_view text = doc.text;
    if (text.size() <= kHead + kWindows * kWindow) {
        return DetectLanguage(text);
    }
    std::string sample(text.substr(0, kHead));
    const std::size_t stride = (text.size() - kHead) / kWindows;
    for (std::size_t w = 0; w < kWindows; ++w) {
        std::size_t at = kHead + w * stride;
        // Start on a character, not inside one.
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
            ++at;
        }
        sample.push_back(' ');
        sample.append(text.substr(at, kWindow));
    }
    return DetectLanguage(sample);
}

}  // namespace Tessaly::Docs
