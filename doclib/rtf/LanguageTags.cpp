#include "doclib/rtf/LanguageTags.h"

#include <algorithm>
#include <array>
#include <utility>

namespace Tessaly::Docs::Rtf {

namespace {

using LanguageEntry = std::pair<int, std::string_view>;

// Sorted by identifier. The common languages of books; others are left to detection.
constexpr std::array kLanguages = {
    LanguageEntry{1025, "ar-SA"},    LanguageEntry{1026, "bg-BG"},   LanguageEntry{1027, "ca-ES"},
    LanguageEntry{1028, "zh-TW"},    LanguageEntry{1029, "cs-CZ"},   LanguageEntry{1030, "da-DK"},
    LanguageEntry{1031, "de-DE"},    LanguageEntry{1032, "el-GR"},   LanguageEntry{1033, "en-US"},
    LanguageEntry{1034, "es-ES"},    LanguageEntry{1035, "fi-FI"},   LanguageEntry{1036, "fr-FR"},
    LanguageEntry{1037, "he-IL"},    LanguageEntry{1038, "hu-HU"},   LanguageEntry{1039, "is-IS"},
    LanguageEntry{1040, "it-IT"},    LanguageEntry{1041, "ja-JP"},   LanguageEntry{1042, "ko-KR"},
    LanguageEntry{1043, "nl-NL"},    LanguageEntry{1044, "nb-NO"},   LanguageEntry{1045, "pl-PL"},
    LanguageEntry{1046, "pt-BR"},    LanguageEntry{1048, "ro-RO"},   LanguageEntry{1049, "ru-RU"},
    LanguageEntry{1050, "hr-HR"},    LanguageEntry{1051, "sk-SK"},   LanguageEntry{1052, "sq-AL"},
    LanguageEntry{1053, "sv-SE"},    LanguageEntry{1054, "th-TH"},   LanguageEntry{1055, "tr-TR"},
    LanguageEntry{1056, "ur-PK"},    LanguageEntry{1057, "id-ID"},   LanguageEntry{1058, "uk-UA"},
    LanguageEntry{1059, "be-BY"},    LanguageEntry{1060, "sl-SI"},   LanguageEntry{1061, "et-EE"},
    LanguageEntry{1062, "lv-LV"},    LanguageEntry{1063, "lt-LT"},   LanguageEntry{1065, "fa-IR"},
    LanguageEntry{1066, "vi-VN"},    LanguageEntry{1067, "hy-AM"},   LanguageEntry{1069, "eu-ES"},
    LanguageEntry{1071, "mk-MK"},    LanguageEntry{1078, "af-ZA"},   LanguageEntry{1079, "ka-GE"},
    LanguageEntry{1081, "hi-IN"},    LanguageEntry{1086, "ms-MY"},   LanguageEntry{1087, "kk-KZ"},
    LanguageEntry{1089, "sw-KE"},    LanguageEntry{1093, "bn-IN"},   LanguageEntry{1097, "ta-IN"},
    LanguageEntry{1106, "cy-GB"},    LanguageEntry{1110, "gl-ES"},   LanguageEntry{1124, "fil-PH"},
    LanguageEntry{2052, "zh-CN"},    LanguageEntry{2055, "de-CH"},   LanguageEntry{2057, "en-GB"},
    LanguageEntry{2058, "es-MX"},    LanguageEntry{2060, "fr-BE"},   LanguageEntry{2064, "it-CH"},
    LanguageEntry{2067, "nl-BE"},    LanguageEntry{2068, "nn-NO"},   LanguageEntry{2070, "pt-PT"},
    LanguageEntry{2074, "sr-Latn"},  LanguageEntry{2108, "ga-IE"},   LanguageEntry{3076, "zh-HK"},
    LanguageEntry{3079, "de-AT"},    LanguageEntry{3081, "en-AU"},   LanguageEntry{3082, "es-ES"},
    LanguageEntry{3084, "fr-CA"},    LanguageEntry{3098, "sr-Cyrl"}, LanguageEntry{4100, "zh-SG"},
    LanguageEntry{4105, "en-CA"},    LanguageEntry{4108, "fr-CH"},   LanguageEntry{5129, "en-NZ"},
    LanguageEntry{6153, "en-IE"},    LanguageEntry{7177, "en-ZA"},   LanguageEntry{9242, "sr-Latn"},
    LanguageEntry{10266, "sr-Cyrl"}, LanguageEntry{11274, "es-AR"},
};

static_assert(std::is_sorted(kLanguages.begin(), kLanguages.end()),
              "language identifiers must stay sorted");

}  // namespace

std::string_view LanguageTag(int lcid) {
    const auto it = std::lower_bound(kLanguages.begin(), kLanguages.end(), lcid,
                                     [](const LanguageEntry& e, int id) { return e.first < id; });
    return it != kLanguages.end() && it->first == lcid ? it->second : std::string_view();
}

}  // namespace Tessaly::Docs::Rtf
