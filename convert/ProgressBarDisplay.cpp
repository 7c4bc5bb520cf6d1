#include "convert/ProgressBarDisplay.h"

#include <algorithm>
#include <cmath>

namespace quillane {

namespace {
// The bar's format expands %p, %v and %m and has no escape for them; an invisible word joiner
// after the "%" keeps a file name such as "100%p.txt" as it is.
const QChar kWordJoiner(0x2060);
}  // namespace

ProgressBarDisplay::ProgressBarDisplay(QProgressBar& bar) : bar_(&bar), value_(bar.value()) {
    QString format = bar.format();
    text_ = format.replace(QStringLiteral("%") + kWordJoiner, QStringLiteral("%")).toStdString();
}

void ProgressBarDisplay::SetValue(double value) {
    value_ = value;
    if (bar_) {
        const double shown =
            std::clamp(std::round(value), double(bar_->minimum()), double(bar_->maximum()));
        bar_->setValue(static_cast<int>(shown));
    }
}

void ProgressBarDisplay::SetText(const std::string& text) {
    text_ = text;
    if (bar_) {
        QString format = QString::fromStdString(text);
        format.replace(QLatin1Char('%'), QStringLiteral("%") + kWordJoiner);
        bar_->setFormat(format);
    }
}

}  // namespace quillane
