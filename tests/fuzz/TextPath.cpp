#include "tests/fuzz/TextPath.h"

#include "doclib/rtf/RtfReader.h"
#include "doclib/structure/Refine.h"
#include "text/StagingRtf.h"
#include "text/TextDecoder.h"

namespace quillane::fuzz {

TextSource ReadTextSource(std::string bytes, std::string_view title) {
    TextSource source;
    source.text = text::DecodeText(std::move(bytes)).utf8;
    source.document = Tessaly::Docs::ReadRtf(text::StagingRtf(source.text, title));
    Tessaly::Docs::RefineForReading(source.document);
    return source;
}

}  // namespace quillane::fuzz
