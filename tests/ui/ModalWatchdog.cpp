#include "tests/ui/ModalWatchdog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
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
    QString record = dialog->objectName();
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        record += QStringLiteral(":") + box->text();
    }
    m_closed << record;
    if (m_allowed-- <= 0) {
        ADD_FAILURE() << "unexpected modal dialog " << record.toStdString();
        m_allowed = 0;
    }
    auto* files = qobject_cast<QFileDialog*>(dialog);
    if (files != nullptr && !m_fileAnswer.isEmpty()) {
        files->selectFile(std::exchange(m_fileAnswer, QString()));
        static_cast<QDialog*>(files)->accept();
        return;
    }
    dialog->reject();
}
