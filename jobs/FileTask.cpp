#include "ui/TallowDlg.h"

void CTallowDlg::SetRunControlsEnabled(bool enabled) const {
    SetEnabled({&m_checkAutoRun, &m_checkShowMessages, &m_btnAbout, &m_btnConvert, &m_btnLoadFile,
                &m_btnConvertFile, &m_btnSave, &m_btnExit, &m_editDecimal, &m_browseFile},
               enabled);
}

void CTallowDlg::RunFileTask(std::function<void()> task) {
    SetRunControlsEnabled(false);
    m_toolkit.BeginWaitCursor();
    m_fileTaskRunning = true;
    const auto run = [this, task] {
        task();
        m_toolkit.SendDialogMessage(*this, WM_FILE_TASK_DONE);
    };
    // Without a thread the work is done here: slower for the window, but done.
    if (!m_toolkit.BeginThread(run)) {
        task();
        OnFileTaskDone(0, 0);
    }
}

std::intptr_t CTallowDlg::OnFileTaskDone(std::uintptr_t, std::intptr_t) {
    m_fileTaskRunning = false;
    m_toolkit.EndWaitCursor();
    SetRunControlsEnabled(true);
    if (m_closeRequested) {
        m_toolkit.EndDialog(IDCANCEL);
    }
    return 0;
}
