#include <new>

#include "jobs/TallowDlg.h"
#include "process/ProcessState.h"

void CTallowDlg::SetRunControlsEnabled(bool enabled) const {
    SetEnabled(m_startControls, enabled);
    SetEnabled(std::array{&m_btnExit}, enabled);
}

void CTallowDlg::RunFileTask(std::function<void()> task, std::u16string_view outOfMemory) {
    SetRunControlsEnabled(false);
    m_toolkit.BeginWaitCursor();
    m_fileTaskRunning = true;
    // Memory running out ends the task with its error, not the program.
    const auto guarded = [this, task = std::move(task), outOfMemory] {
        try {
            task();
        } catch (const std::bad_alloc&) {
            m_toolkit.ShowMessage(outOfMemory, MessageIcon::Error);
        }
    };
    const auto run = [this, guarded] {
        guarded();
        m_toolkit.CallOnWindowThread([this] { OnFileTaskDone(); });
    };
    // Without a thread the work is done here: slower for the window, but done.
    if (!m_toolkit.BeginThread(run)) {
        guarded();
        OnFileTaskDone();
    }
}

void CTallowDlg::OnFileTaskDone() {
    m_fileTaskRunning = false;
    m_toolkit.EndWaitCursor();
    SetRunControlsEnabled(true);
    if (m_closeRequested) {
        m_toolkit.EndDialog();
    }
}

void CTallowDlg::OnConvertDone() {
    SetRunControlsEnabled(true);
    Hide(m_runControls);
    if (!m_editResult.Text().Empty()) {
        m_btnSave.Show();
    }
    // A Pause pressed after the worker's last step finds the run over: nothing is left to hold.
    if (g_workerThread.IsSuspended()) {
        g_workerThread.Resume();
        m_btnPause.SetText(u"一時停止");
    }
    g_workerThread.MarkFinished();
    if (m_closeRequested) {
        m_toolkit.EndDialog();
    }
}
