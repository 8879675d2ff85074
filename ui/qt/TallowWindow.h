#pragma once

#include <QDialog>
#include <functional>
#include <map>

#include "ui/ControlId.h"
#include "ui/ControlTable.h"

class DialogEvents;
class QPlainTextEdit;

// The main window, built from the control table. It forwards every notification to the dialog's
// message map and keeps the dialog manager's keyboard handling away: Enter, Escape, Tab and the
// arrow keys reach only the focused control. Alt and a control's access key reach that control;
// a file dropped anywhere on the window goes to the dialog.
class TallowWindow : public QDialog {
    Q_OBJECT
  public:
    TallowWindow();

    // The two links: the working folder and the help file.
    void SetLinks(const QString& workingFolder, const QString& helpFile);

    QWidget* Control(ControlId id) const { return m_controls.at(id); }
    // Binds the controls to the dialog and initialises it; false when that already ended it.
    bool Start(DialogEvents& dialog);
    void EndDialog();
    bool Ended() const { return m_ended; }
    // Runs write as the program's own change of a field, which a field no user can reach takes.
    void WriteAsProgram(const std::function<void()>& write);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QWidget* CreateControl(const ControlTemplate& item);
    void KeepTextWhileUnusable(QPlainTextEdit* box);
    void BindAccessKeys();
    // Whether the files dragged or dropped load; sets the event's answer.
    bool TakeDrop(QDropEvent* event);

    std::map<ControlId, QWidget*> m_controls;
    DialogEvents* m_dialog = nullptr;
    bool m_ended = false;
    bool m_programWrites = false;
};
