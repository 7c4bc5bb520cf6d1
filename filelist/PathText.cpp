#include "filelist/PathText.h"

#include "filelist/NameCharacters.h"

namespace quillane {

namespace {
constexpr char16_t kStrayByteBase = 0xDC00;
}  // namespace

QString PathToText(const std::string& path) {
    QString text;
    text.reserve(qsizetype(path.size()));
    for (std::size_t pos = 0; pos < path.size();) {
        const NameCharacter c = ReadCharacter(path, pos);
        pos += c.length;
        if (!c.valid) {
            text += QChar(char16_t(kStrayByteBase + c.codePoint));
        } else if (c.codePoint > 0xFFFF) {
            text += QChar(QChar::highSurrogate(c.codePoint));
            text += QChar(QChar::lowSurrogate(c.codePoint));
        } else {
            text += QChar(char16_t(c.codePoint));
        }
    }
    return text;
}

std::string TextToPath(const QString& text) {
    std::string path;
    path.reserve(std::size_t(text.size()));
    auto encode = [&path](char32_t cp) {
        if (cp < 0x80) {
            path += static_cast<char>(cp);
        } else if (cp < 0x800) {
            path += static_cast<char>(0xC0 | (cp >> 6));
            path += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            path += static_cast<char>(0xE0 | (cp >> 12));
            path += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            path += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            path += static_cast<char>(0xF0 | (cp >> 18));
            path += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            path += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            path += static_cast<char>(0x80 | (cp & 0x3F));
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            encode(QChar::surrogateToUcs4(unit, text[++i].unicode()));
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            path += static_cast<char>(unit - kStrayByteBase);
        } else if (QChar::isSurrogate(unit)) {
            encode(0xFFFD);
        } else {
            encode(unit);
        }
    }
    return path;
}

}  // namespace quillane
