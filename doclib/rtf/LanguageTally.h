#pragma once
// Which language a document's text is in, as its writer marked it: the bytes of body text
// under each language identifier (\langN), and the document's default (\deflangN) for a text
// that marks none.

#include <cstdint>
#include <string>
#include <unordered_map>

namespace Tessaly::Docs::Rtf {

class LanguageTally {
  public:
    void SetDefaultLanguage(std::int32_t lcid) { defaultLanguage_ = lcid; }
    std::int32_t defaultLanguage() const { return defaultLanguage_; }

    // `bytes` more of body text marked as `lcid`.
    void Count(std::int32_t lcid, std::size_t bytes);

    // The BCP 47 tag of the language most of the counted text is marked with (of equal shares,
    // the lower identifier), among the identifiers that have a tag; else the default
    // language's tag, which may be empty.
    std::string MostUsedTag() const;

  private:
    std::int32_t defaultLanguage_ = 0;
    std::unordered_map<std::int32_t, std::uint64_t> bytes_;
    // Text comes in short runs of one language: the current run is added up apart.
    std::int32_t runLanguage_ = 0;
    std::uint64_t runBytes_ = 0;
};

}  // namespace Tessaly::Docs::Rtf
