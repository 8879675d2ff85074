#include "ui/qt/LinkLabel.h"

#include <QDesktopServices>
#include <QUrl>

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(this, &QLabel::linkActivated, this, &LinkLabel::Open);
}

void LinkLabel::SetTarget(const QString& target) {
    m_target = target;
    const QString url = QUrl::fromLocalFile(target).toString();
    setText(
        QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), target.toHtmlEscaped()));
}

void LinkLabel::Open() const {
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_target));
}
