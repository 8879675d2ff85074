// Steps that the file run, the worker and the automatic run all take.
#include "jobs/TallowDlg.h"
#include "process/ProcessState.h"

bool CTallowDlg::MessageGateOpen() const {
    return m_checkShowMessages.IsChecked() && g_settings[1] != u"0";
}

void CTallowDlg::HideProgress() const {
    m_editProgress.SetText(u"");
    m_editProgress.Hide();
    m_progress.SetPosition(0);
    m_progress.Hide();
}
