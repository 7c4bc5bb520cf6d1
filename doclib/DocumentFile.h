#pragma once
// Opening a document from a file and saving one to a file: the only place where the document
// library's readers, its structure refinement and its writers meet.

#include <string>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// Loads the document at `path`, recognising its format from the content (RTF, or plain text
// in any encoding text/TextDecoder.h reads; a binary file is refused as "not a text file"),
// and refines its
// structure for reading (paragraph shape, scene breaks, chapters, title and language).
// A source named as Markdown (text/MarkdownName.h) is decoded as plain text and read as
// Markdown, its images looked up beside it; so is the RTF document the program stages such a
// source as (text/StagingMarkdown.h), with its images looked up beside the source.
// Throws DocumentError when the file cannot be read or its format is unknown.
Document OpenDocument(const std::string& path);

// Saves `doc` at `path`; the extension chooses the format (".epub", in any letter case). Any
// other extension throws DocumentError. The file is written atomically: on a failure an
// existing file at `path` is left untouched and no partial file remains.
void SaveDocument(const Document& doc, const std::string& path);

}  // namespace Tessaly::Docs
