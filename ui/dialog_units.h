#pragma once
// Converts dialog units to pixels from the dialog font, as the Windows dialog manager does, so
// that the window keeps the proportions of its template whatever font the desktop uses.

#include <QFont>

namespace varnex::ui {

/// The base units of a dialog font: average character width and character height in pixels.
struct DialogUnits {
    int baseX = 6;
    int baseY = 12;

    /// Base units of a font: the average width of "A"…"Z""a"…"z" (rounded) and the line height.
    static DialogUnits forFont(const QFont& font);

    /// Horizontal dialog units to pixels (x · baseX / 4, rounded).
    int x(int dlu) const;
    /// Vertical dialog units to pixels (y · baseY / 8, rounded).
    int y(int dlu) const;
    /// A size given in pixels for the 6-pixel dialog font the layout was drawn with, scaled to
    /// this font (column widths, status-bar panes).
    int scaled(int pixels) const;
};

}  // namespace varnex::ui
