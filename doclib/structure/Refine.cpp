#include "doclib/structure/Refine.h"

namespace Tessaly::Docs {
void RefineForReading(Document&) {}
}  // namespace Tessaly::Docs
