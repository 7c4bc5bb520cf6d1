#include "app/ArialFont.h"

namespace quillane {

QStringList ArialFamilies() {
    return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
}

QFont ArialBold(double points) {
    QFont font;
    // Every family is looked up by name in the font configuration, in this order; the first one
    // installed wins. Only without any of them does the generic sans serif hint apply.
    font.setFamilies(ArialFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

}  // namespace quillane
