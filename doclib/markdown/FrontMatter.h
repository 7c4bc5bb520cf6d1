#pragma once
// A YAML front-matter block: a "---" line at the very top of a Markdown file, up to a closing
// "---" or "..." line. Site generators and note-taking programs keep a document's title,
// authors and language there; it is read, not shown. Only those plain keys are read (a scalar,
// a quoted scalar, a "[a, b]" list or a "- item" list); anything else in the block is ignored.

#include <cstddef>
#include <string>
#include <string_view>

namespace Tessaly::Docs {

struct FrontMatter {
    // Bytes the block takes at the start of the text, its closing line included; 0 when the
    // text has no front matter.
    std::size_t length = 0;
    std::string title;
    std::string author;  // several authors joined by ", "
    std::string language;
};

FrontMatter ReadFrontMatter(std::string_view text);

}  // namespace Tessaly::Docs
