#pragma once
// Dialog units: the sizes of the dialog templates are given in quarters of the average
// character width and eighths of the character height of the dialog's font.

#include <QFontMetrics>
#include <QSize>
#include <QWidget>

namespace corvane {

inline int DialogUnitsX(const QWidget& widget, int units) {
    return units * QFontMetrics(widget.font()).averageCharWidth() / 4;
}

inline int DialogUnitsY(const QWidget& widget, int units) {
    return units * QFontMetrics(widget.font()).height() / 8;
}

inline QSize DialogUnits(const QWidget& widget, int x, int y) {
    return {DialogUnitsX(widget, x), DialogUnitsY(widget, y)};
}

}  // namespace corvane
