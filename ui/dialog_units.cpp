#include "ui/dialog_units.h"

#include <QFontMetrics>

namespace varnex::ui {

namespace {
// MulDiv: a · b / c rounded half away from zero (all operands are non-negative here).
int mulDiv(int a, int b, int c) {
    return (a * b + c / 2) / c;
}
}  // namespace

DialogUnits DialogUnits::forFont(const QFont& font) {
    QFontMetrics metrics(font);
    int width =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogUnits units;
    units.baseX = std::max(1, (width / 26 + 1) / 2);
    units.baseY = std::max(1, metrics.height());
    return units;
}

int DialogUnits::x(int dlu) const {
    return mulDiv(dlu, baseX, 4);
}

int DialogUnits::y(int dlu) const {
    return mulDiv(dlu, baseY, 8);
}

int DialogUnits::scaled(int pixels) const {
    return mulDiv(pixels, baseX, 6);
}

}  // namespace varnex::ui
