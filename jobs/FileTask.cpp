#include <new>

#include "jobs/TallowDlg.h"
#include "process/ProcessState.h"

void CTallowDlg::SetRunControlsEnabled(bool enabled) const {
    SetEnabled(m_startControls, enabled);
    SetEnabled(std::array{&m_btnExit}, enabled);
}

void CTallowDlg::RunFileTask(FileWork work, std::u16string_view outOfMemory) {
    SetRunControlsEnabled(false);
    m_toolkit.BeginWaitCursor();
    m_fileTaskRunning = true;
    // Memory running out ends the task with its error, not the program.
    const auto guarded = [this, work = std::move(work), outOfMemory]() -> std::function<void()> {
        try {
            return work();
        } catch (const std::bad_alloc&) {
            return [this, outOfMemory] { m_toolkit.ShowMessage(outOfMemory, MessageIcon::Error); };
        }
    };
    const auto run = [this, &toolkit = m_toolkit, guarded] {
        toolkit.Post([this, finish = guarded()] {
            finish();
            OnFileTaskDone();
        });
    };
    // Without a thread the work is done here: slower for the window, but done.
    if (!m_toolkit.BeginThread(run)) {
        guarded()();
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
    g_workerThread.MarkFinished();
    if (m_closeRequested) {
        m_toolkit.EndDialog();
    }
}
