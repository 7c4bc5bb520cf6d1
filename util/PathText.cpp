#include "util/PathText.h"

#include "text/Utf8.h"

namespace quillane {

namespace {
constexpr char16_t kStrayByteBase = 0xDC00;
}  // namespace

QString PathToText(const std::string& path) {
    QString text;
    text.reserve(qsizetype(path.size()));
    for (std::size_t pos = 0; pos < path.size();) {
        const text::utf8::CodePoint c = text::utf8::DecodeAt(path, pos);
        if (!text::utf8::IsWellFormed(path, pos, c)) {
            text += QChar(char16_t(kStrayByteBase + static_cast<unsigned char>(path[pos])));
        } else if (c.value > 0xFFFF) {
            text += QChar(QChar::highSurrogate(c.value));
            text += QChar(QChar::lowSurrogate(c.value));
        } else {
            text += QChar(char16_t(c.value));
        }
        pos += c.length;
    }
    return text;
}

std::string TextToPath(const QString& text) {
    std::string path;
    path.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            text::utf8::Append(path, QChar::surrogateToUcs4(unit, text[++i].unicode()));
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            path += static_cast<char>(unit - kStrayByteBase);
        } else if (QChar::isSurrogate(unit)) {
            text::utf8::Append(path, 0xFFFD);
        } else {
            text::utf8::Append(path, unit);
        }
    }
    return path;
}

}  // namespace quillane
