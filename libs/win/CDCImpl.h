// CDCImpl: the drawing side of a CDC, a painter on a window's picture.
#pragma once

#include "win/WinDefs.h"

#include <QFont>
#include <QPainter>
#include <QPointer>
#include <memory>

class CWndImpl;

class CDCImpl {
public:
    std::unique_ptr<QPainter> painter;
    QPointer<CWndImpl> window; // whose picture the painter draws on
    QFont font;
    QFont windowFont;   // the window's own font, which text scales start from
    double scale = 1.0; // of the window font's size
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;

    static QColor color(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
};
