#pragma once
// Refines a freshly read document for reading: the paragraph shape of plain text, scene
// breaks, chapter headings, title, author and language.

#include "doclib/Document.h"

namespace Tessaly::Docs {

void RefineForReading(Document& doc);

}  // namespace Tessaly::Docs
