#include "jobs/Messages.h"
#include "process/ProcessState.h"
#include "storage/WorkingFolders.h"
#include "ui/TallowDlg.h"

// Ticking arms the automatic mode: the AutoFile folder makes the next start convert its input
// unattended. The folder stays until an Exit finds the mode disarmed.
void CTallowDlg::OnBnClickedAutoRun() {
    g_autoFileDir = AutoFileFolder(g_documentsDir);
    if (!m_checkAutoRun.IsChecked()) {
        g_autoRunArmed = 0;
        m_checkShowMessages.Hide();
        return;
    }
    g_autoRunArmed = 1;
    if (CreateFolder(g_autoFileDir)) {
        m_toolkit.ShowMessage(message::kAutoFileFolderCreated, MessageIcon::Information);
    } else {
        m_toolkit.ShowMessage(message::kAutoFileFolderNotCreated, MessageIcon::Error);
    }
    m_checkShowMessages.Show();
}
