#include "ui/qt/BrowseField.h"

#include <QFileDialog>

#include "ui/ControlTable.h"
#include "ui/qt/QtText.h"

BrowseField::BrowseField(QWidget* parent)
    : QWidget(parent), m_path(new QLineEdit(this)), m_browse(new QToolButton(this)) {
    m_path->setObjectName("browsePath");
    m_path->setReadOnly(true);
    m_browse->setObjectName("browseButton");
    m_browse->setText(QStringLiteral("…"));
    m_browse->setFocusPolicy(Qt::NoFocus);
    m_browse->setAccessibleName(ToQString(kBrowseButtonName));
    // Queued: a press through assistive technology returns before the modal dialog runs.
    connect(m_browse, &QToolButton::clicked, this, &BrowseField::Browse, Qt::QueuedConnection);
    connect(m_path, &QLineEdit::textChanged, this, &BrowseField::textChanged);
}

void BrowseField::resizeEvent(QResizeEvent*) {
    const int buttonWidth = height() + height() / 2;
    m_path->setGeometry(0, 0, width() - buttonWidth, height());
    m_browse->setGeometry(width() - buttonWidth, 0, buttonWidth, height());
}

void BrowseField::Browse() {
    const QString path = QFileDialog::getOpenFileName(this);
    if (!path.isEmpty()) {
        setText(QDir::toNativeSeparators(path));
    }
}
