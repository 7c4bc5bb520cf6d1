#pragma once
// The one bridge between a path's bytes and the QString a widget shows, and back, without loss.
// Valid UTF-8 reads as itself; a byte that is not valid UTF-8 (a name written by an older system)
// is held as one lone surrogate U+DC80..U+DCFF, which no valid UTF-8 text can contain, so the row
// still gives back the file's real path.

#include <QString>
#include <string>

namespace quillane {

QString PathToText(const std::string& path);
std::string TextToPath(const QString& text);

// Text that is UTF-8 by nature (a style sheet, a settings key), not a name on disk.
inline QString Utf8ToQt(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace quillane
