#include "doclib/structure/HeaderFields.h"

#include <array>

#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::size_t kMaxFieldNameBytes = 32;
constexpr std::size_t kMaxNameBytes = 120;
constexpr std::size_t kMaxEbookLineBytes = 600;

struct FieldName {
    std::string_view name;  // folded
    HeaderField field;
};

constexpr std::array kFieldNames = {
    FieldName{"title", HeaderField::Title},
    FieldName{"author", HeaderField::Author},
    FieldName{"authors", HeaderField::Author},
    FieldName{"translator", HeaderField::Translator},
    FieldName{"translators", HeaderField::Translator},
    FieldName{"translated by", HeaderField::Translator},
    FieldName{"editor", HeaderField::Editor},
    FieldName{"editors", HeaderField::Editor},
    FieldName{"edited by", HeaderField::Editor},
    FieldName{"illustrator", HeaderField::Illustrator},
    FieldName{"illustrators", HeaderField::Illustrator},
    FieldName{"illustrated by", HeaderField::Illustrator},
    FieldName{"language", HeaderField::Language},
};

std::string_view TrimmedOf(std::string_view text) {
    return utf8::Trim(text);
}

// Life dates or a year: "(1850-1910)", "1850-1910", "fl. 1850".
bool HasDigit(std::string_view text) {
    return text.find_first_of("0123456789") != std::string_view::npos;
}

std::string_view WithoutLifeDates(std::string_view name) {
    const std::size_t open = name.find(" (");
    if (open != std::string_view::npos && HasDigit(name.substr(open))) {
        name = name.substr(0, open);
    }
    return TrimmedOf(name);
}

bool IsNameSuffix(std::string_view piece) {
    static constexpr std::array<std::string_view, 8> kSuffixes = {"Jr.", "Jr",  "Sr.", "Sr",
                                                                  "II",  "III", "IV",  "Esq."};
    for (std::string_view suffix : kSuffixes) {
        if (piece == suffix) {
            return true;
        }
    }
    return false;
}

// Folds the start of `text` (enough for the prefixes looked for) into `out`.
std::string_view FoldedHead(std::string_view text, std::size_t bytes, std::string& out) {
    utf8::FoldCaseInto(text.substr(0, std::min(text.size(), bytes)), out);
    return out;
}

}  // namespace

std::optional<FieldLine> MatchHeaderField(std::string_view trimmed) {
    const std::size_t colon = trimmed.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > kMaxFieldNameBytes) {
        return std::nullopt;
    }
    const std::string_view name = TrimmedOf(trimmed.substr(0, colon));
    int words = 1;
    for (char c : name) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ' ' ||
                            c == '-' || c == '(' || c == ')';
        if (!letter) {
            return std::nullopt;
        }
        words += c == ' ' ? 1 : 0;
    }
    // A field's name opens with a capital ("Release date"); "note: ..." in prose does not.
    if (name.empty() || words > 4 || name[0] < 'A' || name[0] > 'Z') {
        return std::nullopt;
    }
    std::string folded;
    utf8::FoldCaseInto(name, folded);
    FieldLine line;
    for (const FieldName& entry : kFieldNames) {
        if (folded == entry.name) {
            line.field = entry.field;
        }
    }
    line.value = TrimmedOf(trimmed.substr(colon + 1));
    return line;
}

std::vector<std::string> SplitNames(std::string_view value) {
    std::vector<std::string> names;
    std::string_view rest = TrimmedOf(value);
    while (!rest.empty()) {
        // The earliest separator: ", ", "; ", " and ", " & ".
        std::size_t cut = std::string_view::npos;
        std::size_t skip = 0;
        for (std::string_view separator : {", ", "; ", " and ", " & "}) {
            const std::size_t at = rest.find(separator);
            if (at < cut) {
                cut = at;
                skip = separator.size();
            }
        }
        std::string_view piece = TrimmedOf(rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + skip);
        // "A, B, and C": the serial comma leaves "and C".
        if (piece.starts_with("and ")) {
            piece = TrimmedOf(piece.substr(4));
        }
        piece = WithoutLifeDates(piece);
        // Dates standing alone ("1850-1910") name nobody.
        if (piece.empty() || HasDigit(piece) || piece.size() > kMaxNameBytes) {
            continue;
        }
        if (IsNameSuffix(piece) && !names.empty()) {
            names.back().append(", ").append(piece);
            continue;
        }
        names.emplace_back(piece);
    }
    return names;
}

std::optional<EbookLine> MatchEbookLine(std::string_view trimmed) {
    if (trimmed.size() > kMaxEbookLineBytes) {
        return std::nullopt;
    }
    std::string_view line = trimmed;
    while (!line.empty() && (line.front() == '*' || utf8::IsBlankByte(line.front()))) {
        line.remove_prefix(1);
    }
    while (!line.empty() && (line.back() == '*' || utf8::IsBlankByte(line.back()))) {
        line.remove_suffix(1);
    }
    // The library names itself in every era; what follows its name differs.
    static constexpr std::array<std::string_view, 9> kOpenings = {
        "the project gutenberg ebook of ",
        "the project gutenberg e-book of ",
        "the project gutenberg etext of ",
        "the project gutenberg e-text of ",
        "the project gutenberg ebook, ",
        "the project gutenberg etext, ",
        "project gutenberg's ebook of ",
        "project gutenberg's etext of ",
        "project gutenberg's ",
    };
    std::string folded;
    const std::string_view head = FoldedHead(line, 40, folded);
    std::size_t at = std::string_view::npos;
    for (std::string_view opening : kOpenings) {
        if (head.starts_with(opening)) {
            at = opening.size();
            break;
        }
    }
    // The typographic apostrophe of the newer files.
    if (at == std::string_view::npos && head.starts_with("project gutenberg\u2019s ")) {
        at = std::string_view("project gutenberg\u2019s ").size();
    }
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = TrimmedOf(line.substr(at));
    EbookLine ebook;
    const std::size_t by = rest.rfind(", by ");
    const std::size_t byCapital = rest.rfind(", By ");
    const std::size_t cut =
        by == std::string_view::npos
            ? byCapital
            : (byCapital == std::string_view::npos ? by : std::max(by, byCapital));
    if (cut != std::string_view::npos) {
        std::string_view author = TrimmedOf(rest.substr(cut + 5));
        // "…, by A. Writer, Illustrated by B. Painter": the illustrator is no author.
        for (std::string_view credit : {", Illustrated", ", illustrated", ", Translated",
                                        ", translated", ", Edited", ", edited"}) {
            author = author.substr(0, author.find(credit));
        }
        ebook.author = std::string(TrimmedOf(author));
        rest = TrimmedOf(rest.substr(0, cut));
    }
    if (rest.empty()) {
        return std::nullopt;
    }
    ebook.title = std::string(rest);
    return ebook;
}

}  // namespace Tessaly::Docs
