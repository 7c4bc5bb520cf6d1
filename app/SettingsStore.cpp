#include "app/SettingsStore.h"

#include <QSettings>
#include <charconv>
#include <cmath>

#include "text/AsciiCase.h"
#include "text/Utf8.h"
#include "util/AppError.h"
#include "util/PathText.h"

namespace quillane {

std::string SettingsStore::Read(const std::string& key, const std::string& defaultValue) const {
    QSettings settings(QStringLiteral("Kelvardy"), QStringLiteral("Quillane"));
    const QVariant value = settings.value(Utf8ToQt(key));
    if (!value.isValid()) {
        return defaultValue;
    }
    // A value edited by hand into a comma list still reads as the text it shows.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QStringLiteral(", ")).toStdString();
    }
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        return std::string(bytes.constData(), std::size_t(bytes.size()));
    }
    return value.toString().toStdString();
}

void SettingsStore::Write(const std::string& key, const std::string& value) {
    QSettings settings(QStringLiteral("Kelvardy"), QStringLiteral("Quillane"));
    // A path whose name is not valid UTF-8 (written by an older system) is stored as its bytes,
    // which the store keeps exactly; every other value is stored as text.
    if (text::utf8::IsValidUtf8(value)) {
        settings.setValue(Utf8ToQt(key), Utf8ToQt(value));
    } else {
        settings.setValue(Utf8ToQt(key), QByteArray(value.data(), qsizetype(value.size())));
    }
    // A write that did not reach the store is a failure, not a silent loss of the choice.
    settings.sync();
    if (settings.status() == QSettings::AccessError) {
        Raise(errc::kPermissionDenied);
    }
    if (settings.status() != QSettings::NoError) {
        Raise(errc::kDeviceIo);
    }
}

std::string BooleanText(bool value) {
    return value ? "True" : "False";
}

bool ToBoolean(const std::string& text) {
    std::string t = text;
    // Surrounding blanks are allowed around a Boolean word or a number.
    const auto first = t.find_first_not_of(" \t");
    const auto last = t.find_last_not_of(" \t");
    t = first == std::string::npos ? std::string() : t.substr(first, last - first + 1);
    if (text::EqualsNoCase(t, "true")) {
        return true;
    }
    if (text::EqualsNoCase(t, "false")) {
        return false;
    }
    double number = 0;
    const char* begin = t.data();
    const char* end = t.data() + t.size();
    if (!t.empty() && *begin == '+') {
        ++begin;
    }
    const auto [ptr, ec] = std::from_chars(begin, end, number);
    // "nan" and "inf" parse as numbers but are no Boolean text.
    if (t.empty() || ec != std::errc() || ptr != end || !std::isfinite(number)) {
        Raise(errc::kTypeMismatch);
    }
    return number != 0;
}

}  // namespace quillane
