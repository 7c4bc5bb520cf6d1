#pragma once
// Images beside a Markdown source that may go into its book. A reference is followed only when
// it is a relative path that stays inside the source's folder (no absolute path, no ".." or
// symbolic link leading out of it), names a regular file of bounded size, and the file's own
// bytes say it is a PNG, JPEG, GIF or a self-contained SVG image. Anything else is left out
// and the reader shows the image's alternative text instead.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "doclib/Document.h"

namespace Tessaly::Docs {

// The canonical path of the file `reference` names inside `folder` (itself absolute), or
// nothing when the reference is not a local path inside it. Percent-escapes are decoded; a
// query or fragment after the path is ignored.
std::optional<std::string> ResolveLocalImage(const std::string& folder, std::string_view reference);

// The image at `path` when its bytes are an image a book may carry and it is no larger than
// `sizeLimit`.
std::optional<Image> ReadLocalImage(const std::string& path, std::uint64_t sizeLimit);

// The media type of image bytes, by their signature; empty when they are none of ours.
std::string ImageMediaType(std::string_view bytes);

}  // namespace Tessaly::Docs
