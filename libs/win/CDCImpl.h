// CDCImpl: the drawing side of a CDC, a painter on a window's picture.
#pragma once

#include "win/WinDefs.h"

#include <QFont>
#include <QPainter>
#include <memory>

class CDCImpl {
public:
    std::unique_ptr<QPainter> painter;
    QFont font;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;

    static QColor color(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
};
