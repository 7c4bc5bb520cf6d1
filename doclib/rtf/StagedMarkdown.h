#pragma once
// The Markdown source a staged document carries beside its paragraphs (text/StagingMarkdown.h).
// Only the program's staging writes it; any other RTF document has none and is read as RTF.

#include <optional>
#include <string>
#include <string_view>

namespace Tessaly::Docs {

struct StagedMarkdown {
    // The source's text as valid UTF-8 (stray bytes of a hostile document are read by
    // text/Utf8.h's one policy for them).
    std::string text;
    // The source's path as the list held it: bytes, whatever their encoding.
    std::string sourcePath;
};

// Looks at the document's own group up to its first body text, so a document of any size
// costs only its header; both destinations must be there. Linear in the bytes it looks at.
std::optional<StagedMarkdown> FindStagedMarkdown(std::string_view rtf);

}  // namespace Tessaly::Docs
