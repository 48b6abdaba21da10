// DialogBuilder: makes a dialog's window and controls from its template.
#pragma once

#include "ResourceScript.h"

#include <QFont>

class CDialog;
class QWidget;

class DialogBuilder {
public:
    // Builds frame, client and controls, attaches them to dlg; false without an application.
    static bool build(CDialog* dlg, const DialogTemplate& t);
    // The font that stands in for a template's font face and size.
    static QFont templateFont(const std::string& face, int pointSize);
    // Windows' dialog base units of a font: average character width and height in pixels.
    static void baseUnits(const QFont& font, int& baseX, int& baseY);
};
