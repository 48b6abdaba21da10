// IconPainter: draws the icon and cursor symbols named in resource scripts.
#pragma once

#include <QImage>
#include <string>

class IconPainter {
public:
    // A size x size image of the symbol; a framed question mark for an unknown name.
    static QImage paint(const std::string& symbol, int size = 32);
};
