#include "ui/qt/DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace {

int MulDiv(int value, int numerator, int denominator) {
    return static_cast<int>((static_cast<long long>(value) * numerator + denominator / 2) /
                            denominator);
}

int AverageCharacterWidth(const QFontMetrics& metrics) {
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : m_baseX(AverageCharacterWidth(QFontMetrics(font))), m_baseY(QFontMetrics(font).height()) {}

int DialogUnits::ToPixelsX(int units) const {
    return MulDiv(units, m_baseX, 4);
}

int DialogUnits::ToPixelsY(int units) const {
    return MulDiv(units, m_baseY, 8);
}

// Edges are converted, not sizes, so that neighbours that touch in dialog units still touch.
QRect DialogUnits::ToPixels(const DialogRect& rect) const {
    const int left = ToPixelsX(rect.x);
    const int top = ToPixelsY(rect.y);
    return QRect(left, top, ToPixelsX(rect.x + rect.width) - left,
                 ToPixelsY(rect.y + rect.height) - top);
}

QSize DialogUnits::ToPixels(int width, int height) const {
    return QSize(ToPixelsX(width), ToPixelsY(height));
}

QFont DialogFont(const DialogTemplate& dialog) {
    const QString own = QString::fromStdU16String(std::u16string(dialog.fontFamily));
    QFont font(QFontDatabase::hasFamily(own) ? own : QStringLiteral("Noto Sans CJK JP"));
    font.setPointSize(dialog.fontPointSize);
    return font;
}
