#include "tests/fuzz/TextPath.h"

#include "convert/StagingRtf.h"
#include "convert/TextDecoder.h"
#include "doclib/rtf/RtfReader.h"
#include "doclib/structure/Refine.h"

namespace quillane::fuzz {

TextSource ReadTextSource(std::string bytes, std::string_view title) {
    TextSource source;
    source.text = DecodeText(std::move(bytes)).utf8;
    source.document = Tessaly::Docs::ReadRtf(StagingRtf(source.text, title));
    Tessaly::Docs::RefineForReading(source.document);
    return source;
}

}  // namespace quillane::fuzz
