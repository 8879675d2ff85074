#include "tests/ui/ModalWatchdog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

ModalWatchdog::ModalWatchdog() {
    connect(&m_timer, &QTimer::timeout, this, &ModalWatchdog::CloseModal);
    m_timer.start(20);
}

ModalWatchdog::~ModalWatchdog() {
    EXPECT_EQ(m_allowed, 0) << "a dialog that was allowed for never opened";
}

void ModalWatchdog::CloseModal() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
        return;
    }
    // A file dialog is given its answer until it shows it (the dialog loads folders in the
    // background, and may reset the name meanwhile), then accepted.
    auto* files = qobject_cast<QFileDialog*>(dialog);
    if (files != nullptr && !m_fileAnswer.isEmpty()) {
        if (files->selectedFiles().value(0) != m_fileAnswer && ++m_fileAttempts < 100) {
            // Typed, as a user would: selectFile leaves a focused name field alone.
            const QFileInfo answer(m_fileAnswer);
            files->setDirectory(answer.path());
            if (auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
                name->setText(answer.fileName());
            }
            return;
        }
        m_fileAttempts = 0;
        m_fileAnswer.clear();
        m_closed << QStringLiteral("fileDialog");
        --m_allowed;
        static_cast<QDialog*>(files)->accept();
        return;
    }
    QString record = dialog->objectName();
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        record += QStringLiteral(":") + box->text();
    }
    m_closed << record;
    if (m_allowed-- <= 0) {
        ADD_FAILURE() << "unexpected modal dialog " << record.toStdString();
        m_allowed = 0;
    }
    dialog->reject();
}
