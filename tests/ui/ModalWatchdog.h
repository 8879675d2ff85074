#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

// Closes every modal dialog that opens while it lives, so that none can hang a test. Each one is
// recorded; more than the test allowed for is a failure.
class ModalWatchdog : public QObject {
    Q_OBJECT
  public:
    ModalWatchdog();
    ~ModalWatchdog() override;

    void Allow(int dialogs) { m_allowed += dialogs; }
    // The next file dialog is answered with path instead of being closed.
    void AnswerFileDialog(const QString& path) {
        Allow(1);
        m_fileAnswer = path;
    }
    // Object names of the closed dialogs, with a message box's text after a colon.
    const QStringList& Closed() const { return m_closed; }

  private:
    void CloseModal();

    QTimer m_timer;
    int m_allowed = 0;
    QStringList m_closed;
    QString m_fileAnswer;
    int m_fileAttempts = 0;
};
