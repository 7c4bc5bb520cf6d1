#include "doclib/structure/ChapterLine.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "text/AsciiCase.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

struct DivisionWord {
    std::string_view word;  // lowercase
    DivisionKind kind;
};

// The words that open a division, in the common European languages. Volume, Book, Part and
// Chapter need a number after them; the others stand alone or take one.
constexpr std::array kDivisionWords = {
    DivisionWord{"volume", DivisionKind::Volume},
    DivisionWord{"vol.", DivisionKind::Volume},
    DivisionWord{"band", DivisionKind::Volume},
    DivisionWord{"tome", DivisionKind::Volume},
    DivisionWord{"tomo", DivisionKind::Volume},
    DivisionWord{"volumen", DivisionKind::Volume},
    DivisionWord{"том", DivisionKind::Volume},
    DivisionWord{"svazek", DivisionKind::Volume},

    DivisionWord{"book", DivisionKind::Book},
    DivisionWord{"buch", DivisionKind::Book},
    DivisionWord{"livre", DivisionKind::Book},
    DivisionWord{"libro", DivisionKind::Book},
    DivisionWord{"livro", DivisionKind::Book},
    DivisionWord{"boek", DivisionKind::Book},
    DivisionWord{"книга", DivisionKind::Book},
    DivisionWord{"księga", DivisionKind::Book},
    DivisionWord{"kniha", DivisionKind::Book},

    DivisionWord{"part", DivisionKind::Part},
    DivisionWord{"teil", DivisionKind::Part},
    DivisionWord{"partie", DivisionKind::Part},
    DivisionWord{"parte", DivisionKind::Part},
    DivisionWord{"deel", DivisionKind::Part},
    DivisionWord{"часть", DivisionKind::Part},
    DivisionWord{"частина", DivisionKind::Part},
    DivisionWord{"część", DivisionKind::Part},
    DivisionWord{"část", DivisionKind::Part},

    DivisionWord{"chapter", DivisionKind::Chapter},
    DivisionWord{"kapitel", DivisionKind::Chapter},
    DivisionWord{"chapitre", DivisionKind::Chapter},
    DivisionWord{"capítulo", DivisionKind::Chapter},
    DivisionWord{"capitulo", DivisionKind::Chapter},
    DivisionWord{"capitolo", DivisionKind::Chapter},
    DivisionWord{"hoofdstuk", DivisionKind::Chapter},
    DivisionWord{"глава", DivisionKind::Chapter},
    DivisionWord{"розділ", DivisionKind::Chapter},
    DivisionWord{"rozdział", DivisionKind::Chapter},
    DivisionWord{"rozdzial", DivisionKind::Chapter},
    DivisionWord{"kapitola", DivisionKind::Chapter},
    DivisionWord{"kapittel", DivisionKind::Chapter},
    DivisionWord{"bab", DivisionKind::Chapter},
    DivisionWord{"luku", DivisionKind::Chapter},
    DivisionWord{"poglavlje", DivisionKind::Chapter},
    DivisionWord{"poglavje", DivisionKind::Chapter},
    DivisionWord{"capitolul", DivisionKind::Chapter},
    DivisionWord{"capítol", DivisionKind::Chapter},
    DivisionWord{"cap.", DivisionKind::Chapter},
    DivisionWord{"chương", DivisionKind::Chapter},
    DivisionWord{"kafli", DivisionKind::Chapter},
    DivisionWord{"κεφάλαιο", DivisionKind::Chapter},
    DivisionWord{"kapitulli", DivisionKind::Chapter},
    DivisionWord{"bölüm", DivisionKind::Chapter},
    DivisionWord{"ĉapitro", DivisionKind::Chapter},
    DivisionWord{"kirja", DivisionKind::Book},
    DivisionWord{"osa", DivisionKind::Part},

    DivisionWord{"prologue", DivisionKind::FrontMatter},
    DivisionWord{"prolog", DivisionKind::FrontMatter},
    DivisionWord{"prólogo", DivisionKind::FrontMatter},
    DivisionWord{"prologo", DivisionKind::FrontMatter},
    DivisionWord{"proloog", DivisionKind::FrontMatter},
    DivisionWord{"пролог", DivisionKind::FrontMatter},
    DivisionWord{"preface", DivisionKind::FrontMatter},
    DivisionWord{"préface", DivisionKind::FrontMatter},
    DivisionWord{"prefacio", DivisionKind::FrontMatter},
    DivisionWord{"prefazione", DivisionKind::FrontMatter},
    DivisionWord{"prefácio", DivisionKind::FrontMatter},
    DivisionWord{"vorwort", DivisionKind::FrontMatter},
    DivisionWord{"voorwoord", DivisionKind::FrontMatter},
    DivisionWord{"przedmowa", DivisionKind::FrontMatter},
    DivisionWord{"předmluva", DivisionKind::FrontMatter},
    DivisionWord{"предисловие", DivisionKind::FrontMatter},
    DivisionWord{"foreword", DivisionKind::FrontMatter},
    DivisionWord{"avant-propos", DivisionKind::FrontMatter},
    DivisionWord{"introduction", DivisionKind::FrontMatter},
    DivisionWord{"einleitung", DivisionKind::FrontMatter},
    DivisionWord{"introducción", DivisionKind::FrontMatter},
    DivisionWord{"introduzione", DivisionKind::FrontMatter},
    DivisionWord{"introdução", DivisionKind::FrontMatter},
    DivisionWord{"inleiding", DivisionKind::FrontMatter},
    DivisionWord{"wstęp", DivisionKind::FrontMatter},
    DivisionWord{"úvod", DivisionKind::FrontMatter},
    DivisionWord{"введение", DivisionKind::FrontMatter},

    DivisionWord{"epilogue", DivisionKind::BackMatter},
    DivisionWord{"epilog", DivisionKind::BackMatter},
    DivisionWord{"épilogue", DivisionKind::BackMatter},
    DivisionWord{"epílogo", DivisionKind::BackMatter},
    DivisionWord{"epilogo", DivisionKind::BackMatter},
    DivisionWord{"epiloog", DivisionKind::BackMatter},
    DivisionWord{"эпилог", DivisionKind::BackMatter},
    DivisionWord{"afterword", DivisionKind::BackMatter},
    DivisionWord{"nachwort", DivisionKind::BackMatter},
    DivisionWord{"postface", DivisionKind::BackMatter},
    DivisionWord{"nawoord", DivisionKind::BackMatter},
    DivisionWord{"posłowie", DivisionKind::BackMatter},
    DivisionWord{"doslov", DivisionKind::BackMatter},
    DivisionWord{"послесловие", DivisionKind::BackMatter},
    DivisionWord{"appendix", DivisionKind::BackMatter},
    DivisionWord{"anhang", DivisionKind::BackMatter},
    DivisionWord{"annexe", DivisionKind::BackMatter},
    DivisionWord{"apéndice", DivisionKind::BackMatter},
    DivisionWord{"appendice", DivisionKind::BackMatter},
    DivisionWord{"apêndice", DivisionKind::BackMatter},
    DivisionWord{"bijlage", DivisionKind::BackMatter},
    DivisionWord{"příloha", DivisionKind::BackMatter},
    DivisionWord{"приложение", DivisionKind::BackMatter},
    DivisionWord{"postscript", DivisionKind::BackMatter},
    DivisionWord{"lampiran", DivisionKind::BackMatter},

    DivisionWord{"interlude", DivisionKind::Interlude},
    DivisionWord{"zwischenspiel", DivisionKind::Interlude},
    DivisionWord{"intermède", DivisionKind::Interlude},
    DivisionWord{"interludio", DivisionKind::Interlude},
    DivisionWord{"intermezzo", DivisionKind::Interlude},
};

// For each length of a first word, the first letters of the division words of that length (a
// trailing "." not counted): most lines of prose are ruled out by one look-up.
struct FirstWordStarts {
    bool any = false;
    std::array<bool, 256> first{};
};
constexpr std::array<FirstWordStarts, 48> kFirstWordStarts = [] {
    std::array<FirstWordStarts, 48> starts{};
    for (const DivisionWord& w : kDivisionWords) {
        const std::size_t length = w.word.back() == '.' ? w.word.size() - 1 : w.word.size();
        if (length < starts.size()) {
            starts[length].any = true;
            starts[length].first[static_cast<unsigned char>(w.word[0])] = true;
        }
    }
    return starts;
}();

struct NumberWord {
    std::string_view word;
    int value;
};

// Number words as chapter numbers are written out ("Chapter Twelve", "Part the First" is left
// to the ordinals, "Kapitel Drei", "Глава первая").
constexpr std::array kUnitWords = {
    NumberWord{"one", 1},       NumberWord{"two", 2},        NumberWord{"three", 3},
    NumberWord{"four", 4},      NumberWord{"five", 5},       NumberWord{"six", 6},
    NumberWord{"seven", 7},     NumberWord{"eight", 8},      NumberWord{"nine", 9},
    NumberWord{"ten", 10},      NumberWord{"eleven", 11},    NumberWord{"twelve", 12},
    NumberWord{"thirteen", 13}, NumberWord{"fourteen", 14},  NumberWord{"fifteen", 15},
    NumberWord{"sixteen", 16},  NumberWord{"seventeen", 17}, NumberWord{"eighteen", 18},
    NumberWord{"nineteen", 19}, NumberWord{"first", 1},      NumberWord{"second", 2},
    NumberWord{"third", 3},     NumberWord{"fourth", 4},     NumberWord{"fifth", 5},
    NumberWord{"sixth", 6},     NumberWord{"seventh", 7},    NumberWord{"eighth", 8},
    NumberWord{"ninth", 9},     NumberWord{"tenth", 10},     NumberWord{"eleventh", 11},
    NumberWord{"twelfth", 12},  NumberWord{"eins", 1},       NumberWord{"zwei", 2},
    NumberWord{"drei", 3},      NumberWord{"vier", 4},       NumberWord{"fünf", 5},
    NumberWord{"sechs", 6},     NumberWord{"sieben", 7},     NumberWord{"acht", 8},
    NumberWord{"neun", 9},      NumberWord{"zehn", 10},      NumberWord{"elf", 11},
    NumberWord{"zwölf", 12},    NumberWord{"un", 1},         NumberWord{"une", 1},
    NumberWord{"deux", 2},      NumberWord{"trois", 3},      NumberWord{"quatre", 4},
    NumberWord{"cinq", 5},      NumberWord{"premier", 1},    NumberWord{"première", 1},
    NumberWord{"uno", 1},       NumberWord{"dos", 2},        NumberWord{"tres", 3},
    NumberWord{"cuatro", 4},    NumberWord{"cinco", 5},      NumberWord{"primero", 1},
    NumberWord{"due", 2},       NumberWord{"tre", 3},        NumberWord{"quattro", 4},
    NumberWord{"primo", 1},     NumberWord{"een", 1},        NumberWord{"twee", 2},
    NumberWord{"drie", 3},      NumberWord{"первая", 1},     NumberWord{"вторая", 2},
    NumberWord{"третья", 3},    NumberWord{"четвёртая", 4},  NumberWord{"четвертая", 4},
    NumberWord{"пятая", 5},     NumberWord{"шестая", 6},     NumberWord{"седьмая", 7},
    NumberWord{"восьмая", 8},   NumberWord{"девятая", 9},    NumberWord{"десятая", 10},
};

constexpr std::array kTensWords = {
    NumberWord{"twenty", 20}, NumberWord{"thirty", 30}, NumberWord{"forty", 40},
    NumberWord{"fifty", 50},  NumberWord{"sixty", 60},  NumberWord{"seventy", 70},
    NumberWord{"eighty", 80}, NumberWord{"ninety", 90},
};

constexpr int kNoNumber = -1;

bool IsBoundary(std::string_view s, std::size_t at) {
    if (at >= s.size()) {
        return true;
    }
    const char c = s[at];
    return c == ' ' || c == '\t' || c == ':' || c == '.' || c == ',' || c == '-' || c == ')' ||
           s.substr(at).starts_with("\u2013") || s.substr(at).starts_with("\u2014");
}

// A word from `table` at `at` that ends on a boundary: its value, `at` moved past it.
int TakeWord(std::string_view s, std::size_t& at, const auto& table) {
    for (const NumberWord& entry : table) {
        if (s.substr(at).starts_with(entry.word) && IsBoundary(s, at + entry.word.size())) {
            at += entry.word.size();
            return entry.value;
        }
    }
    return kNoNumber;
}

// `lettered`: a single letter is a number too, before any Roman numeral ("Appendix C").
int TakeNumber(std::string_view s, std::size_t& at, bool lettered) {
    if (lettered && at < s.size() && s[at] >= 'a' && s[at] <= 'z' && IsBoundary(s, at + 1)) {
        const int letter = s[at] - 'a' + 1;
        at += 1;
        return letter;
    }
    std::size_t end = at;
    while (end < s.size() && end - at < 5 && s[end] >= '0' && s[end] <= '9') {
        ++end;
    }
    if (end > at && end - at <= 4 && IsBoundary(s, end)) {
        int value = 0;
        for (std::size_t i = at; i < end; ++i) {
            value = value * 10 + (s[i] - '0');
        }
        at = end;
        return value;
    }
    end = at;
    while (end < s.size() && std::string_view("ivxlcdm").find(s[end]) != std::string_view::npos) {
        ++end;
    }
    if (end > at && IsBoundary(s, end)) {
        const int value = ParseRomanNumeral(s.substr(at, end - at));
        if (value > 0) {
            at = end;
            return value;
        }
    }
    std::size_t next = at;
    int value = TakeWord(s, next, kTensWords);
    if (value != kNoNumber) {
        // "twenty-one", "twenty one"
        std::size_t unit = next + 1;
        if (next < s.size() && (s[next] == '-' || s[next] == ' ')) {
            const int ones = TakeWord(s, unit, kUnitWords);
            if (ones >= 1 && ones <= 9) {
                next = unit;
                value += ones;
            }
        }
        at = next;
        return value;
    }
    value = TakeWord(s, next, kUnitWords);
    if (value != kNoNumber) {
        at = next;
    }
    return value;
}

std::size_t SkipBlanks(std::string_view s, std::size_t at) {
    while (at < s.size() && utf8::IsBlankByte(s[at])) {
        ++at;
    }
    return at;
}

// The division words by their first byte, each list in the table's order: a line is held
// only against the words that begin as it does.
struct DivisionWordIndex {
    std::array<std::uint8_t, 257> start{};  // words of first byte b: order[start[b], start[b + 1])
    std::array<std::uint8_t, kDivisionWords.size()> order{};
};
constexpr DivisionWordIndex kDivisionWordIndex = [] {
    static_assert(kDivisionWords.size() < 256);
    DivisionWordIndex index;
    for (const DivisionWord& w : kDivisionWords) {
        ++index.start[static_cast<unsigned char>(w.word[0]) + 1];
    }
    for (std::size_t b = 1; b < index.start.size(); ++b) {
        index.start[b] = static_cast<std::uint8_t>(index.start[b] + index.start[b - 1]);
    }
    std::array<std::uint8_t, 256> filled{};
    for (std::size_t i = 0; i < kDivisionWords.size(); ++i) {
        const auto b = static_cast<unsigned char>(kDivisionWords[i].word[0]);
        index.order[index.start[b] + filled[b]++] = static_cast<std::uint8_t>(i);
    }
    return index;
}();

// A blank, a colon, a full stop, a comma, a closing bracket or the lead byte of a dash.
bool EndsFirstWord(char c) {
    return c == ' ' || c == '\t' || c == ':' || c == '.' || c == ',' || c == ')' || c == '\xE2';
}

// The division word that opens `folded` and ends on a boundary (an abbreviation ends in its
// full stop), the first of the table; null when none does.
const DivisionWord* OpeningDivisionWord(std::string_view folded) {
    if (folded.empty()) {
        return nullptr;
    }
    const auto b = static_cast<unsigned char>(folded[0]);
    for (std::size_t k = kDivisionWordIndex.start[b]; k < kDivisionWordIndex.start[b + 1]; ++k) {
        const DivisionWord& entry = kDivisionWords[kDivisionWordIndex.order[k]];
        if (folded.substr(0, entry.word.size()) == entry.word &&
            (entry.word.back() == '.' || IsBoundary(folded, entry.word.size()))) {
            return &entry;
        }
    }
    return nullptr;
}

// The bytes OpeningDivisionWord reads: the longest division word and a dash after it. Every
// word that opens a longer text opens its first kDivisionWordReach bytes alike.
constexpr std::size_t kDivisionWordReach = [] {
    std::size_t longest = 0;
    for (const DivisionWord& w : kDivisionWords) {
        longest = std::max(longest, w.word.size());
    }
    return longest + std::string_view("\u2014").size();
}();

// A separator before a title: ':', '.', or a dash, with its following blanks; npos when none.
std::size_t TakeTitleSeparator(std::string_view s, std::size_t at) {
    const std::size_t start = SkipBlanks(s, at);
    std::size_t after = std::string_view::npos;
    if (start < s.size() && (s[start] == ':' || s[start] == '.')) {
        after = start + 1;
    } else if (start < s.size() && s[start] == '-') {
        after = start + 1;
        while (after < s.size() && s[after] == '-') {
            ++after;
        }
        // A hyphen joins words ("MIX-UP"); as a separator it has a space beside it.
        if (start == at && (after == s.size() || !utf8::IsBlankByte(s[after]))) {
            return std::string_view::npos;
        }
    } else if (s.substr(start).starts_with("\u2013") || s.substr(start).starts_with("\u2014")) {
        after = start + 3;
    }
    return after == std::string_view::npos ? after : SkipBlanks(s, after);
}

// Long enough for a title that lists what the chapter covers ("Network Services: Postfix,
// Apache, NFS, Samba, Squid, LDAP, SIP, XMPP, TURN").
constexpr std::size_t kMaxChapterTitleCodePoints = 100;

// A chapter title is a short phrase: no sentence or clause ending, no leader dots of a table
// of contents.
bool IsChapterTitle(std::string_view title) {
    if (title.empty() || utf8::CountCodePoints(title) > kMaxChapterTitleCodePoints ||
        title.find("..") != std::string_view::npos) {
        return false;
    }
    bool letter = false;
    for (std::size_t i = 0; i < title.size() && !letter;) {
        const utf8::CodePoint cp = utf8::DecodeAt(title, i);
        letter = utf8::IsLetter(cp.value);
        i += cp.length;
    }
    const char last = title.back();
    return letter && last != '.' && last != ',' && last != ';' && last != ':';
}

// What follows the number (or a stand-alone division word): nothing, a closing '.', or a
// separator and a title. Anything else ("Chapter 3 was the hardest") is prose.
std::optional<bool> ReadTail(std::string_view folded, std::string_view original, std::size_t at) {
    const std::size_t rest = SkipBlanks(folded, at);
    if (rest == folded.size()) {
        return false;
    }
    if (folded[rest] == '.' && SkipBlanks(folded, rest + 1) == folded.size()) {
        return false;
    }
    const std::size_t title = TakeTitleSeparator(folded, at);
    if (title != std::string_view::npos && title < folded.size() &&
        IsChapterTitle(original.substr(title))) {
        return true;
    }
    return std::nullopt;
}

bool IsCjkNumeral(char32_t c) {
    return std::u32string_view(U"〇零一二三四五六七八九十百千两兩").find(c) !=
               std::u32string_view::npos ||
           utf8::IsDigit(c);
}

int CjkNumeralValue(std::u32string_view digits) {
    int total = 0;
    int section = 0;
    int current = 0;
    bool arabic = !digits.empty();
    for (char32_t c : digits) {
        arabic = arabic && utf8::IsDigit(c);
    }
    if (arabic) {
        for (char32_t c : digits) {
            total = total * 10 + static_cast<int>(c >= 0xFF10 ? c - 0xFF10 : c - '0');
        }
        return total;
    }
    const std::u32string_view units = U"零一二三四五六七八九";
    for (char32_t c : digits) {
        const std::size_t unit = units.find(c);
        if (unit != std::u32string_view::npos) {
            current = static_cast<int>(unit);
        } else if (c == U'〇') {
            current = 0;
        } else if (c == U'两' || c == U'兩') {
            current = 2;
        } else if (c == U'十' || c == U'百' || c == U'千') {
            const int scale = c == U'十' ? 10 : c == U'百' ? 100 : 1000;
            section += (current == 0 ? 1 : current) * scale;
            current = 0;
        }
    }
    total = section + current;
    return total;
}

// A web novel's side story: "番外　星夜", "番外篇 星夜", "番外二：归途", "外传 旧事".
std::optional<ChapterLineMatch> MatchSideStoryLine(std::string_view line) {
    for (std::string_view word : {"番外篇", "番外", "外传", "外傳"}) {
        if (!line.starts_with(word)) {
            continue;
        }
        std::size_t at = word.size();
        std::u32string digits;
        while (at < line.size() && digits.size() < 8) {
            const utf8::CodePoint cp = utf8::DecodeAt(line, at);
            if (!IsCjkNumeral(cp.value)) {
                break;
            }
            digits.push_back(cp.value);
            at += cp.length;
        }
        const std::size_t titleAt = at;
        while (at < line.size()) {
            const utf8::CodePoint cp = utf8::DecodeAt(line, at);
            if (cp.value != ' ' && cp.value != 0x3000 && cp.value != ':' && cp.value != 0xFF1A &&
                cp.value != U'·' && cp.value != U'・') {
                break;
            }
            at += cp.length;
        }
        // "番外的故事" is a sentence: the word stands apart from what follows.
        if (at < line.size() && at == titleAt && digits.empty()) {
            return std::nullopt;
        }
        ChapterLineMatch match;
        match.kind = DivisionKind::Interlude;
        match.number = digits.empty() ? -1 : CjkNumeralValue(digits);
        if (at < line.size()) {
            const std::string_view title = line.substr(at);
            const char32_t last = utf8::DecodeBefore(title, title.size()).value;
            if (utf8::CountCodePoints(title) > 40 || last == U'。' || last == U'，' ||
                last == '.' || last == ',') {
                return std::nullopt;
            }
            match.titled = true;
        }
        return match;
    }
    return std::nullopt;
}

// 第十二章, 第3回, 第一部 and the Korean 제3장.
std::optional<ChapterLineMatch> MatchCjkLine(std::string_view line) {
    if (const std::optional<ChapterLineMatch> side = MatchSideStoryLine(line)) {
        return side;
    }
    for (std::string_view appendix : {"附录", "附錄", "付録"}) {
        // "附录 A. 标题": an appendix with its letter.
        if (line.starts_with(appendix)) {
            std::size_t at = appendix.size();
            while (at < line.size() && utf8::IsBlankByte(line[at])) {
                ++at;
            }
            if (at > appendix.size() && at < line.size() && line[at] >= 'A' && line[at] <= 'Z' &&
                (at + 1 == line.size() || line[at + 1] == '.' || utf8::IsBlankByte(line[at + 1]))) {
                ChapterLineMatch match;
                match.kind = DivisionKind::BackMatter;
                match.number = line[at] - 'A' + 1;
                match.titled = at + 2 < line.size();
                return match;
            }
            return std::nullopt;
        }
    }
    utf8::CodePoint cp = utf8::DecodeAt(line, 0);
    if (cp.value == U'章') {
        // "章 3. 標題": the word before a Western number, as some translations set it.
        std::size_t at = cp.length;
        while (at < line.size() && utf8::IsBlankByte(line[at])) {
            ++at;
        }
        std::size_t end = at;
        int number = 0;
        while (end < line.size() && end - at < 4 && line[end] >= '0' && line[end] <= '9') {
            number = number * 10 + (line[end] - '0');
            ++end;
        }
        if (end == at || at == cp.length ||
            (end < line.size() && line[end] != '.' && !utf8::IsBlankByte(line[end]))) {
            return std::nullopt;
        }
        ChapterLineMatch match;
        match.number = number;
        match.titled = end + 1 < line.size();
        return match;
    }
    const bool korean = cp.value == U'제';
    if (cp.value != U'第' && !korean) {
        return std::nullopt;
    }
    std::size_t at = cp.length;
    // "第 1 章": a number in Western digits often stands between spaces.
    const auto skipSpaces = [&line](std::size_t from) {
        while (from < line.size() && utf8::IsBlankByte(line[from])) {
            ++from;
        }
        return from;
    };
    at = skipSpaces(at);
    std::u32string digits;
    while (at < line.size() && digits.size() < 8) {
        cp = utf8::DecodeAt(line, at);
        if (!IsCjkNumeral(cp.value) || (korean && !utf8::IsDigit(cp.value))) {
            break;
        }
        digits.push_back(cp.value);
        at += cp.length;
    }
    at = skipSpaces(at);
    if (digits.empty() || at >= line.size()) {
        return std::nullopt;
    }
    cp = utf8::DecodeAt(line, at);
    ChapterLineMatch match;
    switch (cp.value) {
        case U'章':
        case U'回':
        case U'장':
            match.kind = DivisionKind::Chapter;
            break;
        case U'节':
        case U'節':
        case U'절':
            match.kind = DivisionKind::Chapter;
            match.section = true;
            break;
        case U'部':
        case U'篇':
        case U'부':
            match.kind = DivisionKind::Part;
            break;
        case U'卷':
        case U'권':
            match.kind = DivisionKind::Volume;
            break;
        default:
            return std::nullopt;
    }
    at += cp.length;
    match.number = CjkNumeralValue(digits);
    // The rest is a title after a space, an ideographic space or a colon.
    while (at < line.size()) {
        cp = utf8::DecodeAt(line, at);
        if (cp.value != ' ' && cp.value != 0x3000 && cp.value != ':' && cp.value != 0xFF1A) {
            break;
        }
        at += cp.length;
    }
    if (at < line.size()) {
        const std::string_view title = line.substr(at);
        const char32_t last = utf8::DecodeBefore(title, title.size()).value;
        if (utf8::CountCodePoints(title) > 40 || last == U'。' || last == U'，' || last == '.' ||
            last == ',') {
            return std::nullopt;
        }
        match.titled = true;
    }
    return match;
}

constexpr int kMaxBareNumeral = 150;

// The chapter words of languages that write the number first ("I LUKU", "2. fejezet").
constexpr std::array<std::string_view, 8> kWordsAfterNumber = {
    "luku", "fejezet", "kapitola", "nodaļa", "peatükk", "skyrius", "bölüm", "kapitel"};

bool IsUpperRomanDigit(char c) {
    return std::string_view("IVXLCDM").find(c) != std::string_view::npos;
}

// "IV.", "XII", "IV. THE STORM", "I LUKU", "3. luku".
std::optional<ChapterLineMatch> MatchNumeralFirstLine(std::string_view trimmed,
                                                      std::string& scratch) {
    const bool roman = IsUpperRomanDigit(trimmed[0]);
    if (!roman && !utf8::IsAsciiDigit(trimmed[0])) {
        return std::nullopt;
    }
    std::size_t end = 0;
    while (end < trimmed.size() && end < 9 &&
           (roman ? IsUpperRomanDigit(trimmed[end]) : utf8::IsAsciiDigit(trimmed[end]))) {
        ++end;
    }
    int number = kNoNumber;
    if (roman) {
        std::string lower(trimmed.substr(0, end));
        for (char& c : lower) {
            c = static_cast<char>(c + ('a' - 'A'));
        }
        number = ParseRomanNumeral(lower);
        // Books run to a few score chapters; "MIX", "CD" or "DC" are words and initials.
        if (number > kMaxBareNumeral) {
            return std::nullopt;
        }
    } else if (end <= 3) {
        number = 0;
        for (std::size_t i = 0; i < end; ++i) {
            number = number * 10 + (trimmed[i] - '0');
        }
    }
    if (number <= 0 || (end < trimmed.size() && trimmed[end] != '.' && trimmed[end] != ' ')) {
        return std::nullopt;
    }
    const bool dotted = end < trimmed.size() && trimmed[end] == '.';
    const std::size_t at = SkipBlanks(trimmed, end + (dotted ? 1 : 0));
    ChapterLineMatch match;
    match.number = number;
    if (at == trimmed.size()) {
        match.bareNumeral = true;
        // A numeral alone is a chapter; a number alone is a page or a count.
        return roman ? std::optional(match) : std::nullopt;
    }
    utf8::FoldCaseInto(trimmed.substr(at), scratch);
    for (std::string_view word : kWordsAfterNumber) {
        if (std::string_view(scratch).starts_with(word) && IsBoundary(scratch, word.size())) {
            const std::optional<bool> titled = ReadTail(scratch, trimmed.substr(at), word.size());
            if (!titled) {
                return std::nullopt;
            }
            match.titled = *titled;
            return match;
        }
    }
    // "IV. THE STORM": a Roman numeral, its full stop and a title in capitals or title case.
    const std::string_view title = trimmed.substr(at);
    if (roman && dotted && IsChapterTitle(title) && utf8::IsUpper(utf8::DecodeAt(title, 0).value)) {
        match.titled = true;
        match.bareNumeral = true;
        return match;
    }
    return std::nullopt;
}

}  // namespace

int ParseRomanNumeral(std::string_view lower) {
    if (lower.empty() || lower.size() > 15) {
        return -1;
    }
    auto value = [](char c) {
        switch (c) {
            case 'i':
                return 1;
            case 'v':
                return 5;
            case 'x':
                return 10;
            case 'l':
                return 50;
            case 'c':
                return 100;
            case 'd':
                return 500;
            case 'm':
                return 1000;
            default:
                return 0;
        }
    };
    int total = 0;
    for (std::size_t i = 0; i < lower.size(); ++i) {
        const int v = value(lower[i]);
        if (v == 0) {
            return -1;
        }
        const int next = i + 1 < lower.size() ? value(lower[i + 1]) : 0;
        total += v < next ? -v : v;
    }
    // Only the canonical spelling counts, so "iiii", "vx" or "mix" (a word) are no numbers.
    static constexpr std::array<std::string_view, 10> kOnes = {"",  "i",  "ii",  "iii",  "iv",
                                                               "v", "vi", "vii", "viii", "ix"};
    static constexpr std::array<std::string_view, 10> kTens = {"",  "x",  "xx",  "xxx",  "xl",
                                                               "l", "lx", "lxx", "lxxx", "xc"};
    static constexpr std::array<std::string_view, 10> kHundreds = {"",  "c",  "cc",  "ccc",  "cd",
                                                                   "d", "dc", "dcc", "dccc", "cm"};
    if (total <= 0 || total >= 4000) {
        return -1;
    }
    std::string canonical(static_cast<std::size_t>(total / 1000), 'm');
    canonical.append(kHundreds[(total / 100) % 10]);
    canonical.append(kTens[(total / 10) % 10]);
    canonical.append(kOnes[total % 10]);
    return canonical == lower ? total : -1;
}

std::optional<ChapterLineMatch> MatchChapterLine(std::string_view trimmed, std::string& scratch) {
    constexpr std::size_t kMaxBytes = 400;
    if (trimmed.empty() || trimmed.size() > kMaxBytes) {
        return std::nullopt;
    }
    if (static_cast<unsigned char>(trimmed[0]) >= 0xE0) {
        return MatchCjkLine(trimmed);
    }
    if (const std::optional<ChapterLineMatch> numeral = MatchNumeralFirstLine(trimmed, scratch)) {
        return numeral;
    }
    // Most lines of prose begin with a word that is no division word: compare the first
    // word's length and first letter before folding anything.
    std::size_t wordEnd = 0;
    while (wordEnd < trimmed.size() && !EndsFirstWord(trimmed[wordEnd])) {
        ++wordEnd;
    }
    const auto lead = static_cast<unsigned char>(trimmed[0]);
    const auto first = static_cast<unsigned char>(text::ToLowerAscii(trimmed[0]));
    // Uppercase and lowercase Cyrillic may differ in their lead byte.
    const bool maybe =
        wordEnd < kFirstWordStarts.size() &&
        (lead >= 0xC0 ? kFirstWordStarts[wordEnd].any : kFirstWordStarts[wordEnd].first[first]);
    if (!maybe) {
        return std::nullopt;
    }
    // Most lines that pass open with no division word either: the start of the line is
    // folded to find one, and the whole line only once one is found.
    utf8::FoldCasePrefixInto(trimmed, kDivisionWordReach, scratch);
    const DivisionWord* opening = OpeningDivisionWord(scratch);
    if (opening == nullptr) {
        return std::nullopt;
    }
    if (scratch.size() < trimmed.size()) {
        utf8::FoldCaseInto(trimmed, scratch);
    }
    const std::string_view folded = scratch;
    const DivisionWord& entry = *opening;
    const std::size_t at = entry.word.size();
    const bool abbreviated = entry.word.back() == '.';
    ChapterLineMatch match;
    match.kind = entry.kind;
    const bool needsNumber = entry.kind == DivisionKind::Volume ||
                             entry.kind == DivisionKind::Book || entry.kind == DivisionKind::Part ||
                             entry.kind == DivisionKind::Chapter;
    const std::size_t numberAt = SkipBlanks(folded, at);
    std::size_t afterNumber = numberAt;
    if (numberAt > at || abbreviated) {
        match.number = TakeNumber(folded, afterNumber, entry.kind == DivisionKind::BackMatter);
    }
    if (match.number == kNoNumber) {
        if (needsNumber) {
            return std::nullopt;
        }
        afterNumber = at;
    }
    const std::optional<bool> titled = ReadTail(folded, trimmed, afterNumber);
    if (!titled) {
        return std::nullopt;
    }
    match.titled = *titled;
    return match;
}

}  // namespace Tessaly::Docs
