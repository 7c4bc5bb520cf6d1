#pragma once
// The window's typeface. The twips layout was drawn for Arial's metrics, so where Arial itself is
// not installed the window asks for a font drawn to the same metrics, never for whatever sans
// serif the machine happens to prefer.

#include <QFont>
#include <QStringList>

namespace quillane {

// Arial first, then the metric-compatible families the package depends on (fonts-liberation2
// gives Liberation Sans, fonts-croscore gives Arimo).
QStringList ArialFamilies();

// Bold Arial (or its metric twin) at `points`.
QFont ArialBold(double points);

}  // namespace quillane
