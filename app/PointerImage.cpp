#include "app/PointerImage.h"

#include <QImage>
#include <QPixmap>

#include "app/CursorHotspot.h"
#include "util/AppError.h"
#include "util/FileBytes.h"

namespace quillane {

namespace {

// A cursor or icon of the largest size (256 x 256, 32 bits) is about 270 KB.
constexpr std::uint64_t kPointerImageLimit = 4 * 1024 * 1024;

}  // namespace

std::unique_ptr<QCursor> LoadPointerImage(const std::string& path) {
    const std::string bytes = ReadSmallFile(path, kPointerImageLimit);
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                            static_cast<int>(bytes.size()))) {
        Raise(errc::kInvalidPicture);
    }
    const QPixmap pixmap = QPixmap::fromImage(image);
    if (pixmap.isNull()) {
        Raise(errc::kInvalidPicture);
    }
    if (const auto hotspot = CursorHotspot(bytes);
        hotspot && hotspot->x < pixmap.width() && hotspot->y < pixmap.height()) {
        return std::make_unique<QCursor>(pixmap, hotspot->x, hotspot->y);
    }
    return std::make_unique<QCursor>(pixmap);
}

}  // namespace quillane
