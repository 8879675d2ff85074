#include "ui/qt/LinkLabel.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QUrl>

#include "ui/TextFit.h"
#include "ui/qt/QtText.h"

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(this, &QLabel::linkActivated, this, &LinkLabel::Open);
}

void LinkLabel::SetTarget(const QString& target) {
    m_target = target;
    setToolTip(target);
    ShowTarget();
}

void LinkLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    ShowTarget();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Open();
        return;
    }
    QLabel::keyPressEvent(event);
}

// The focus shows around the link, as a focused link shows on Windows.
void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QStylePainter painter(this);
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void LinkLabel::ShowTarget() {
    const QFontMetrics metrics(font());
    const QString shown = ToQString(ElideMiddle(
        m_target.toStdU16String(), contentsRect().width(),
        [&](std::u16string_view text) { return metrics.horizontalAdvance(ToQString(text)); }));
    const QString url = QUrl::fromLocalFile(m_target).toString();
    setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), shown.toHtmlEscaped()));
}

void LinkLabel::Open() const {
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_target));
}
