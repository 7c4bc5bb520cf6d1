#include "doclib/rtf/LanguageTally.h"

#include "doclib/rtf/LanguageTags.h"

namespace Tessaly::Docs::Rtf {

void LanguageTally::Count(std::int32_t lcid, std::size_t bytes) {
    if (lcid != runLanguage_) {
        if (runBytes_ > 0) {
            bytes_[runLanguage_] += runBytes_;
        }
        runLanguage_ = lcid;
        runBytes_ = 0;
    }
    runBytes_ += bytes;
}

std::string LanguageTally::MostUsedTag() const {
    std::uint64_t best = 0;
    std::int32_t bestLcid = 0;
    std::string_view bestTag;
    const auto consider = [&](std::int32_t lcid, std::uint64_t bytes) {
        const std::string_view tag = LanguageTag(lcid);
        if (!tag.empty() && (bytes > best || (bytes == best && lcid < bestLcid))) {
            best = bytes;
            bestLcid = lcid;
            bestTag = tag;
        }
    };
    for (const auto& [lcid, bytes] : bytes_) {
        consider(lcid, lcid == runLanguage_ ? bytes + runBytes_ : bytes);
    }
    if (runBytes_ > 0 && !bytes_.contains(runLanguage_)) {
        consider(runLanguage_, runBytes_);
    }
    return std::string(bestTag.empty() ? LanguageTag(defaultLanguage_) : bestTag);
}

}  // namespace Tessaly::Docs::Rtf
