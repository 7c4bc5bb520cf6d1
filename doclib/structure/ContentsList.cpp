#include "doclib/structure/ContentsList.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "doclib/structure/BlockTextReader.h"
#include "doclib/structure/ListMarker.h"
#include "doclib/structure/PageHeader.h"
#include "doclib/structure/TextLine.h"
#include "text/Utf8Text.h"

namespace Tessaly::Docs {

namespace {

constexpr std::uint32_t kMaxEntryColumns = 120;
// The longest contents title we know ("πίνακας περιεχομένων") with room for a colon.
constexpr std::uint32_t kMaxEntryTitleColumns = 28;
constexpr std::size_t kMaxTitleBytes = 64;

// A list with no "Contents" over it is one when its entries come back later, in its order,
// as lines of their own: the sections it names. Only the first few lists of items are tried,
// so a text of many lists costs one pass.
constexpr std::size_t kMaxUntitledTries = 4;
constexpr std::size_t kMinUntitledEntries = 3;
constexpr std::uint16_t kMaxEntryWords = 12;
constexpr std::uint16_t kMaxNumberedEntryWords = 24;
constexpr std::size_t kMinEntryCodePoints = 3;
// The line by which a contents list of one paragraph an entry has begun.
constexpr std::size_t kMaxSpacedListStart = 60;
constexpr std::size_t kMaxPlainRuns = 2;
// An entry's line this long the width may have cut.
constexpr std::uint32_t kMinCutEntryColumns = 64;

}  // namespace

bool IsContentsTitle(std::string_view trimmed) {
    // "İçindekiler" is listed as written: its capital İ has no one-letter lower case outside
    // Turkish.
    static constexpr std::array<std::string_view, 43> kTitles = {"contents",
                                                                 "table of contents",
                                                                 "inhalt",
                                                                 "inhaltsverzeichnis",
                                                                 "sommaire",
                                                                 "table des matières",
                                                                 "índice",
                                                                 "indice",
                                                                 "índice general",
                                                                 "tabla de contenidos",
                                                                 "tabla de contenido",
                                                                 "contenido",
                                                                 "contenidos",
                                                                 "sumário",
                                                                 "sumario",
                                                                 "conteúdo",
                                                                 "sommario",
                                                                 "inhoud",
                                                                 "inhoudsopgave",
                                                                 "spis treści",
                                                                 "obsah",
                                                                 "содержание",
                                                                 "оглавление",
                                                                 "зміст",
                                                                 "目录",
                                                                 "目次",
                                                                 "もくじ",
                                                                 "目錄",
                                                                 "内容目录",
                                                                 "內容目錄",
                                                                 "차례",
                                                                 "목차",
                                                                 "daftar isi",
                                                                 "innehåll",
                                                                 "innhold",
                                                                 "indholdsfortegnelse",
                                                                 "sisällys",
                                                                 "içindekiler",
                                                                 "\u0130çindekiler",
                                                                 "tartalom",
                                                                 "cuprins",
                                                                 "mục lục",
                                                                 "πίνακας περιεχομένων"};
    if (trimmed.size() > kMaxTitleBytes) {
        return false;
    }
    std::string spaced;
    std::string_view plain = utf8::Trim(WithPlainSpaces(trimmed, spaced));
    // Markdown sets the title in bold ("**Table of Contents**").
    for (const std::string_view mark : {"**", "__", "*", "_"}) {
        if (plain.size() > 2 * mark.size() && plain.starts_with(mark) && plain.ends_with(mark)) {
            plain = plain.substr(mark.size(), plain.size() - 2 * mark.size());
            break;
        }
    }
    std::string lower;
    utf8::FoldCaseInto(plain, lower);
    while (!lower.empty() && (lower.back() == ':' || lower.back() == '.')) {
        lower.pop_back();
    }
    return std::find(kTitles.begin(), kTitles.end(), lower) != kTitles.end();
}

std::string ContentsKey(std::string_view text) {
    std::string spaced;
    std::string_view plain = utf8::Trim(WithPlainSpaces(text, spaced));
    // A linked entry's number closed by an underscore ("3._Getting_it") is a number as the
    // heading's "3. Getting it" is.
    std::string unlinked;
    if (const std::size_t digits = plain.find_first_not_of("0123456789");
        digits > 0 && digits != std::string_view::npos && plain.substr(digits).starts_with("._")) {
        unlinked.assign(plain);
        unlinked[digits + 1] = ' ';
        plain = unlinked;
    }
    // "- Introduction" and "3. Introduction" list the heading "Introduction".
    if (const std::optional<ListMarker> marker = ParseListMarker(plain)) {
        const std::size_t bulletBytes = utf8::DecodeAt(plain, 0).length - 1;
        plain = plain.substr(marker->columns + bulletBytes);
    }
    // "[4]Introduction" (a renderer's link number) and "[Introduction](#introduction)" (a
    // link of Markdown) list it too.
    if (plain.starts_with('[')) {
        const std::size_t close = plain.find(']');
        if (close != std::string_view::npos && close > 1 &&
            plain.find_first_not_of("0123456789", 1) == close && close + 1 < plain.size()) {
            plain = plain.substr(close + 1);
        } else if (close != std::string_view::npos && plain.substr(close).starts_with("](") &&
                   plain.ends_with(')')) {
            plain = plain.substr(1, close - 1);
        }
    }
    std::string key;
    key.reserve(plain.size());
    // Some renders write the spaces of a linked entry as underscores ("2.1._Installing_it").
    for (char c : plain) {
        if (c == ' ' || c == '\t' || c == '_') {
            if (!key.empty() && key.back() != ' ') {
                key.push_back(' ');
            }
        } else {
            key.push_back(c);
        }
    }
    // "Installing ........ 12", "Installing . . . 12" and "Installing   12": the leaders and
    // the page go.
    std::size_t end = key.size();
    while (end > 0 && utf8::IsAsciiDigit(key[end - 1])) {
        --end;
    }
    std::size_t leaders = end;
    std::size_t dots = 0;
    while (leaders > 0 && (key[leaders - 1] == '.' || key[leaders - 1] == ' ')) {
        dots += key[leaders - 1] == '.' ? 1 : 0;
        --leaders;
    }
    if (end < key.size() && leaders > 0 && leaders < end) {
        // A page number after leader dots, or after a wide gap in the source; a number
        // after a single space belongs to the title ("Task 2").
        const bool gap = dots == 0 && plain.find("  ") != std::string_view::npos &&
                         plain.substr(plain.find_last_not_of("0123456789") - 1, 2) == "  ";
        if (dots >= 2 || gap) {
            key.resize(leaders);
        }
    } else if (end == key.size() && dots >= 3 && leaders > 0) {
        key.resize(leaders);  // leaders without a page number
    }
    // A heading set in capitals ("INSTALLING THE PROGRAM") is the entry it was listed as.
    std::string folded;
    utf8::FoldCaseInto(key, folded);
    return folded;
}

namespace {

// One link, its spaces written as underscores: "Customizing_the_package_hierarchy", a numbered
// section of one word ("12.1.2._LVM"), or among such links one of two words ("Leaving_port").
bool IsLinkedEntry(std::string_view text, bool amongLinks) {
    if (text.find(' ') != std::string_view::npos) {
        return false;
    }
    const std::size_t number = text.find_first_not_of("0123456789.");
    return IsLinkLine(text) || (amongLinks && text.find('_') != std::string_view::npos) ||
           (number > 0 && number != std::string_view::npos &&
            text.substr(number - 1).starts_with("._"));
}

// A link of two words ("Asetustiedoston_muoto") opens a run of links where the line under it,
// at its indentation, is one too. Both open with a capital and hold nothing but words: names
// in a program's code ("smtpd_tls_key_file=", "reject_unlisted_sender,") are no titles.
bool OpensLinkRun(const Document& doc, const LineScan& scan, std::size_t at,
                  std::string_view text) {
    const auto titleLink = [&](std::size_t i, std::string_view link) {
        return scan.lines[i].Has(kLineStartsUpper) && IsLinkedEntry(link, true) &&
               link.find_first_of("=,./:;`|*()[]<>{}\\\"'") == std::string_view::npos &&
               !link.starts_with('_') && !link.ends_with('_');
    };
    if (text.find('_') == std::string_view::npos || at + 1 >= scan.lines.size() ||
        !scan.lines[at + 1].IsText() || scan.lines[at + 1].indent != scan.lines[at].indent ||
        !titleLink(at, text)) {
        return false;
    }
    BlockTextReader reader(doc);
    return titleLink(at + 1, utf8::Trim(reader.Text(doc.blocks[at + 1])));
}

// The runs of list items (nested ones among them) that could name sections: short entries
// that end no sentence. A render that sets neither bullets nor links writes them as plain
// lines, one a paragraph or all in one block; only at the page's top are such lines taken.
std::vector<ContentsList> ItemRuns(const Document& doc, const LineScan& scan) {
    BlockTextReader reader(doc);
    std::vector<ContentsList> runs;
    std::size_t itemRuns = 0;
    std::size_t plainRuns = 0;  // each is read again over the whole text: a few at most
    const std::size_t n = scan.lines.size();
    const auto plainEntry = [&](std::size_t j) {
        return scan.lines[j].IsPlainText() && !scan.lines[j].Has(kLineListItem);
    };
    for (std::size_t i = 0; i < n && itemRuns < kMaxUntitledTries; ++i) {
        ContentsList list;
        list.heading = static_cast<std::uint32_t>(i);
        bool plain = false;
        std::unordered_set<std::string> listed;  // a plain run ends where the body starts over
        std::size_t at = i;
        for (; at < n; ++at) {
            if (scan.lines[at].Has(kLineBlank)) {
                // Blank lines between groups of entries: the list goes on where an entry
                // follows them.
                std::size_t next = at;
                while (next < n && scan.lines[next].Has(kLineBlank)) {
                    ++next;
                }
                if (list.entries.empty() || next >= n ||
                    !(scan.lines[next].Has(kLineListItem) || (plain && plainEntry(next)))) {
                    break;
                }
                at = next - 1;
                continue;
            }
            if (!scan.lines[at].IsText() || scan.lines[at].words > kMaxEntryWords) {
                break;
            }
            std::string_view text = utf8::Trim(reader.Text(doc.blocks[at]));
            // Renders mark nested entries with letters and signs of their own ("o Design
            // goals" under "* Introduction"); only there is a lone "o" a bullet.
            const bool nested =
                !list.entries.empty() && scan.lines[at].indent > list.entries.front().indent &&
                (text.starts_with("o ") || text.starts_with("+ ") || text.starts_with("# "));
            // A renderer that sets no bullets writes each entry as one link, its spaces as
            // underscores ("Customizing_the_package_hierarchy").
            if (nested) {
                text = utf8::Trim(text.substr(2));
            } else if (plain ||
                       (list.entries.empty() && !scan.lines[at].Has(kLineListItem) &&
                        !IsLinkedEntry(text, false) && !OpensLinkRun(doc, scan, at, text))) {
                const bool opens =
                    at <= kMaxSpacedListStart && (at == 0 || scan.lines[at - 1].Has(kLineBlank));
                if (!plainEntry(at) || (!plain && (!opens || plainRuns >= kMaxPlainRuns))) {
                    break;
                }
                plain = true;
            } else if (!scan.lines[at].Has(kLineListItem) && !IsLinkedEntry(text, true)) {
                break;
            }
            // A directive standing alone (".. container:: note") is markup, not an entry.
            if (EndsLikeSentence(text, false) || (plain && IsMarkupLine(text))) {
                break;
            }
            std::string key = ContentsKey(text);
            // "- I", "- V": keys of a table; "- ``get(name)``": names of a program's parts,
            // which a definition list explains further on. Neither titles a section.
            if (utf8::CountCodePoints(key) < kMinEntryCodePoints ||
                key.find_first_of("`=$\\{}<>|;@") != std::string::npos ||
                (plain && !listed.insert(key).second)) {
                break;
            }
            list.entries.push_back(ContentsEntry{static_cast<std::uint32_t>(at), 1,
                                                 scan.lines[at].indent, std::move(key)});
        }
        if (list.entries.size() >= kMinUntitledEntries) {
            list.end = list.entries.back().line + 1;
            list.plain = plain;
            itemRuns += plain ? 0 : 1;
            plainRuns += plain ? 1 : 0;
            runs.push_back(std::move(list));
        }
        i = std::max(i, at);
    }
    return runs;
}

// Plain lines are a list only when every one comes back further down as a line of its own, in
// order; the first may be the page's heading over them, which the list does not name. A line
// is read for its words only where it is as wide as the entry it may be.
bool PlainRunComesBack(const Document& doc, const LineScan& scan, ContentsList& run) {
    BlockTextReader reader(doc);
    const auto columns = [&](std::size_t i) { return scan.lines[i].length - scan.lines[i].indent; };
    // An entry may carry its renderer's link number ("[7]Leaving port"); the heading does not.
    std::vector<std::uint32_t> widths;
    for (const ContentsEntry& entry : run.entries) {
        const std::string_view text = utf8::Trim(reader.Text(doc.blocks[entry.line]));
        const std::size_t close = text.find(']');
        const bool numbered = text.starts_with('[') && close != std::string_view::npos &&
                              close > 1 && text.find_first_not_of("0123456789", 1) == close;
        widths.push_back(columns(entry.line) -
                         (numbered ? static_cast<std::uint32_t>(close + 1) : 0));
    }
    const auto is = [&](std::size_t i, std::size_t k) {
        return columns(i) == widths[k] &&
               ContentsKey(reader.Text(doc.blocks[i])) == run.entries[k].key;
    };
    std::size_t next = 1;
    bool headingCameBack = false;
    for (std::size_t i = run.end; i < scan.lines.size() && next < run.entries.size(); ++i) {
        if (!scan.lines[i].IsText()) {
            continue;
        }
        if (is(i, next)) {
            ++next;
        } else if (next == 1 && !headingCameBack) {
            headingCameBack = is(i, 0);
        }
    }
    if (next < run.entries.size()) {
        return false;
    }
    if (!headingCameBack) {
        run.entries.erase(run.entries.begin());
    }
    return run.entries.size() >= kMinUntitledEntries;
}

}  // namespace

std::optional<ContentsList> FindUntitledList(const Document& doc, const LineScan& scan) {
    std::vector<ContentsList> runs = ItemRuns(doc, scan);
    if (runs.empty()) {
        return std::nullopt;
    }
    // Every line of its own after the first run of items, by its words: one pass for all
    // the runs of items.
    BlockTextReader reader(doc);
    std::unordered_map<std::string, std::vector<std::uint32_t>> places;
    std::unordered_set<std::string> keys;
    std::optional<std::uint32_t> firstEnd;
    for (const ContentsList& run : runs) {
        if (!run.plain) {
            firstEnd = firstEnd ? std::min(*firstEnd, run.end) : run.end;
            for (const ContentsEntry& entry : run.entries) {
                keys.insert(entry.key);
            }
        }
    }
    for (std::size_t i = firstEnd.value_or(scan.lines.size()); i < scan.lines.size(); ++i) {
        const LineFacts& line = scan.lines[i];
        if (!line.IsText() || line.Has(kLineListItem) || line.words > kMaxEntryWords ||
            line.length > kMaxEntryColumns) {
            continue;
        }
        std::string key = ContentsKey(reader.Text(doc.blocks[i]));
        if (keys.contains(key)) {
            places[std::move(key)].push_back(static_cast<std::uint32_t>(i));
        }
    }
    for (ContentsList& run : runs) {
        if (run.plain) {
            if (PlainRunComesBack(doc, scan, run)) {
                run.heading = run.entries.front().line;
                return std::move(run);
            }
            continue;
        }
        // The entries found again after the run, each after the one before it; and how many
        // of its first entries are (a page that holds only the first of the sections its list
        // names).
        std::size_t found = 0;
        std::size_t leading = 0;
        bool unbroken = true;
        std::uint32_t from = run.end;
        for (const ContentsEntry& entry : run.entries) {
            const auto at = places.find(entry.key);
            bool hit = false;
            if (at != places.end()) {
                const auto next = std::lower_bound(at->second.begin(), at->second.end(), from);
                if (next != at->second.end()) {
                    hit = true;
                    from = *next + 1;
                }
            }
            unbroken = unbroken && hit;
            found += hit ? 1 : 0;
            leading += unbroken ? 1 : 0;
        }
        if (found >= kMinUntitledEntries &&
            (found * 2 >= run.entries.size() || leading >= kMinUntitledEntries)) {
            // The list has no title line: its first entry stands for it.
            run.heading = run.entries.front().line;
            return std::move(run);
        }
    }
    return std::nullopt;
}

namespace {

// After entry line `at` and the blank lines under it stands another entry: a short line that
// ends no sentence and names no section the list named already (where the body starts over
// with the first section, the list has ended).
bool SpacedEntryAfter(const Document& doc, const LineScan& scan, std::size_t at,
                      const std::unordered_set<std::string>& listed) {
    std::size_t next = at + 1;
    if (next >= scan.lines.size() || !scan.lines[next].Has(kLineBlank)) {
        return false;
    }
    while (next < scan.lines.size() && scan.lines[next].Has(kLineBlank)) {
        ++next;
    }
    if (next >= scan.lines.size()) {
        return false;
    }
    const LineFacts& line = scan.lines[next];
    BlockTextReader reader(doc);
    const std::string_view text = utf8::Trim(reader.Text(doc.blocks[next]));
    // A numbered entry may take the words of a long title in a wordy language.
    const std::uint16_t words =
        !text.empty() && utf8::IsAsciiDigit(text.front()) ? kMaxNumberedEntryWords : kMaxEntryWords;
    if (!line.IsPlainText() || line.length > kMaxEntryColumns || line.words > words) {
        return false;
    }
    if (EndsLikeSentence(text, false)) {
        return false;
    }
    return !listed.contains(ContentsKey(text));
}

}  // namespace

// "17.1.3._Adding", "A.2. Tides": a section's number, not a title's first word ("32_bit").
bool OpensWithSectionNumber(std::string_view trimmed) {
    std::size_t at = 0;
    if (!trimmed.empty() && trimmed[0] >= 'A' && trimmed[0] <= 'Z') {
        ++at;
    }
    while (at < trimmed.size() && (utf8::IsAsciiDigit(trimmed[at]) || trimmed[at] == '.')) {
        ++at;
    }
    return at > 0 && trimmed[at - 1] == '.' && (at == 1 || trimmed[at - 2] != '.');
}

std::vector<ContentsList> FindContentsLists(const Document& doc, const LineScan& scan) {
    std::vector<ContentsList> lists;
    BlockTextReader reader(doc);
    const std::size_t n = scan.lines.size();
    for (std::size_t i = 0; i < n; ++i) {
        const LineFacts& line = scan.lines[i];
        if (!line.IsText() || line.length - line.indent > kMaxEntryTitleColumns ||
            !IsContentsTitle(utf8::Trim(reader.Text(doc.blocks[i])))) {
            continue;
        }
        std::size_t at = i + 1;
        while (at < n && scan.lines[at].Has(kLineBlank)) {
            ++at;
        }
        ContentsList list;
        list.heading = static_cast<std::uint32_t>(i);
        bool spaced = false;
        std::unordered_set<std::string> listed;  // the keys of the entries, for a spaced list
        for (; at < n && scan.lines[at].IsText() && scan.lines[at].length <= kMaxEntryColumns;
             ++at) {
            const LineFacts& entry = scan.lines[at];
            // A render without blank lines sets its entries in from the text: the first line
            // back at the margin is the body's.
            if (!list.entries.empty() && entry.indent < list.entries.front().indent) {
                break;
            }
            const std::string_view text = reader.Text(doc.blocks[at]);
            // A deeper line that goes on in lowercase is the wrapped end of the entry above;
            // under a numbered entry, one at its indentation is too. Where blank lines space
            // the entries, any line right under one that opens with no number goes on with it
            // ("Installation from a stick instead of a" over "Blu-ray.").
            const bool numberedAbove =
                !list.entries.empty() &&
                utf8::IsAsciiDigit(
                    utf8::Trim(reader.Text(doc.blocks[list.entries.back().line])).front());
            const bool underEntry = spaced && !list.entries.empty() &&
                                    at == list.entries.back().line + list.entries.back().lines &&
                                    entry.indent >= list.entries.back().indent &&
                                    !entry.Has(kLineListItem) &&
                                    !utf8::IsAsciiDigit(utf8::Trim(text).front());
            // Under a numbered entry the width cut, a line at its indentation that opens with
            // no number ("32_bit", "PXE") is its end.
            const bool cutAbove = numberedAbove &&
                                  at == list.entries.back().line + list.entries.back().lines &&
                                  entry.indent == list.entries.back().indent &&
                                  scan.lines[at - 1].length >= kMinCutEntryColumns &&
                                  !OpensWithSectionNumber(utf8::Trim(text));
            if (!list.entries.empty() &&
                ((entry.Has(kLineStartsLower) &&
                  (entry.indent > list.entries.back().indent ||
                   (entry.indent == list.entries.back().indent && numberedAbove))) ||
                 (underEntry && numberedAbove) || cutAbove)) {
                ContentsEntry& last = list.entries.back();
                ++last.lines;
                last.key = ContentsKey(last.key + " " + std::string(text));
                // The first entry's wrapped end may be what blank lines space from the next.
                if (spaced || list.entries.size() == 1) {
                    listed.insert(last.key);
                    if (SpacedEntryAfter(doc, scan, at, listed)) {
                        spaced = true;
                        while (at + 1 < n && scan.lines[at + 1].Has(kLineBlank)) {
                            ++at;
                        }
                    }
                }
                continue;
            }
            list.entries.push_back(
                ContentsEntry{static_cast<std::uint32_t>(at), 1, entry.indent, ContentsKey(text)});
            // A list that spaces its first two entries by blank lines goes on over them,
            // from entry to entry.
            if (list.entries.size() == 1 || spaced) {
                listed.insert(list.entries.back().key);
            }
            if ((list.entries.size() == 1 || spaced) && SpacedEntryAfter(doc, scan, at, listed)) {
                spaced = true;
                while (at + 1 < n && scan.lines[at + 1].Has(kLineBlank)) {
                    ++at;
                }
            }
        }
        if (list.entries.size() >= 2) {
            list.end = list.entries.back().line + list.entries.back().lines;
            i = at - 1;
            lists.push_back(std::move(list));
        }
    }
    if (lists.empty()) {
        if (std::optional<ContentsList> untitled = FindUntitledList(doc, scan)) {
            lists.push_back(std::move(*untitled));
        }
    }
    return lists;
}

}  // namespace Tessaly::Docs
