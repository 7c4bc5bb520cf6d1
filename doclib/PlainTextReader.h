#pragma once
// Plain text read straight into the document model, the very document the reader makes of the
// text's staging RTF (text/StagingRtf.h): the same lines (text/PlainTextLines.h) go through
// the same paragraph builder, with the characters an RTF document cannot carry left out as
// the RTF reader leaves them out. Only the writing and parsing of the RTF in between is saved.

#include <string_view>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// `utf8` is the decoded text; `title` (the file's name) becomes the document's title.
Document ReadPlainTextDocument(std::string_view utf8, std::string_view title);

}  // namespace Tessaly::Docs
