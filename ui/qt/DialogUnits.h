#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

#include "ui/ControlTable.h"

// Converts dialog units to pixels the way the Windows dialog manager does: a horizontal unit is
// a quarter of the font's average character width, a vertical unit an eighth of its height.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(const DialogRect& rect) const;
    QSize ToPixels(int width, int height) const;

  private:
    int m_baseX;
    int m_baseY;
};

// The dialog's font: its own family where installed, otherwise the system's Japanese UI font.
QFont DialogFont(const DialogTemplate& dialog);
