#include "doclib/rtf/LanguageTags.h"

#include <algorithm>
#include <array>
#include <utility>

namespace Tessaly::Docs::Rtf {

namespace {

using Entry = std::pair<int, std::string_view>;

// Sorted by identifier. The common languages of books; others are left to detection.
constexpr std::array kLanguages = {
    Entry{1025, "ar-SA"}, Entry{1026, "bg-BG"},   Entry{1027, "ca-ES"},    Entry{1028, "zh-TW"},
    Entry{1029, "cs-CZ"}, Entry{1030, "da-DK"},   Entry{1031, "de-DE"},    Entry{1032, "el-GR"},
    Entry{1033, "en-US"}, Entry{1034, "es-ES"},   Entry{1035, "fi-FI"},    Entry{1036, "fr-FR"},
    Entry{1037, "he-IL"}, Entry{1038, "hu-HU"},   Entry{1039, "is-IS"},    Entry{1040, "it-IT"},
    Entry{1041, "ja-JP"}, Entry{1042, "ko-KR"},   Entry{1043, "nl-NL"},    Entry{1044, "nb-NO"},
    Entry{1045, "pl-PL"}, Entry{1046, "pt-BR"},   Entry{1048, "ro-RO"},    Entry{1049, "ru-RU"},
    Entry{1050, "hr-HR"}, Entry{1051, "sk-SK"},   Entry{1052, "sq-AL"},    Entry{1053, "sv-SE"},
    Entry{1054, "th-TH"}, Entry{1055, "tr-TR"},   Entry{1056, "ur-PK"},    Entry{1057, "id-ID"},
    Entry{1058, "uk-UA"}, Entry{1059, "be-BY"},   Entry{1060, "sl-SI"},    Entry{1061, "et-EE"},
    Entry{1062, "lv-LV"}, Entry{1063, "lt-LT"},   Entry{1065, "fa-IR"},    Entry{1066, "vi-VN"},
    Entry{1067, "hy-AM"}, Entry{1069, "eu-ES"},   Entry{1071, "mk-MK"},    Entry{1078, "af-ZA"},
    Entry{1079, "ka-GE"}, Entry{1081, "hi-IN"},   Entry{1086, "ms-MY"},    Entry{1087, "kk-KZ"},
    Entry{1089, "sw-KE"}, Entry{1093, "bn-IN"},   Entry{1097, "ta-IN"},    Entry{1106, "cy-GB"},
    Entry{1110, "gl-ES"}, Entry{1124, "fil-PH"},  Entry{2052, "zh-CN"},    Entry{2055, "de-CH"},
    Entry{2057, "en-GB"}, Entry{2058, "es-MX"},   Entry{2060, "fr-BE"},    Entry{2064, "it-CH"},
    Entry{2067, "nl-BE"}, Entry{2068, "nn-NO"},   Entry{2070, "pt-PT"},    Entry{2074, "sr-Latn"},
    Entry{2108, "ga-IE"}, Entry{3076, "zh-HK"},   Entry{3079, "de-AT"},    Entry{3081, "en-AU"},
    Entry{3082, "es-ES"}, Entry{3084, "fr-CA"},   Entry{3098, "sr-Cyrl"},  Entry{4100, "zh-SG"},
    Entry{4105, "en-CA"}, Entry{4108, "fr-CH"},   Entry{5129, "en-NZ"},    Entry{6153, "en-IE"},
    Entry{7177, "en-ZA"}, Entry{9242, "sr-Latn"}, Entry{10266, "sr-Cyrl"}, Entry{11274, "es-AR"},
};

static_assert(std::is_sorted(kLanguages.begin(), kLanguages.end()),
              "language identifiers must stay sorted");

}  // namespace

std::string_view LanguageTag(int lcid) {
    const auto it = std::lower_bound(kLanguages.begin(), kLanguages.end(), lcid,
                                     [](const Entry& e, int id) { return e.first < id; });
    return it != kLanguages.end() && it->first == lcid ? it->second : std::string_view();
}

}  // namespace Tessaly::Docs::Rtf
