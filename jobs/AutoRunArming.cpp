#include "jobs/Messages.h"
#include "jobs/TallowDlg.h"
#include "process/ProcessState.h"
#include "storage/FileHelpers.h"
#include "storage/WorkingFolders.h"

// Ticking arms the automatic mode: the AutoFile folder makes the next start convert its input
// unattended. The folder stays until an Exit finds the mode disarmed, and then goes only when
// this window made it.
void CTallowDlg::OnBnClickedAutoRun() {
    g_autoFileDir = AutoFileFolder(g_documentsDir);
    if (!m_checkAutoRun.IsChecked()) {
        g_autoRunArmed = 0;
        m_checkShowMessages.Hide();
        return;
    }
    g_autoRunArmed = 1;
    const std::filesystem::path makerFolder = MakerFolder(g_documentsDir);
    if (CreateFolder(g_autoFileDir)) {
        g_autoFileDirMadeHere = true;
        m_toolkit.ShowMessage(message::kAutoFileFolderCreated, MessageIcon::Information);
    } else if (DirectoryExists(g_autoFileDir)) {
        m_toolkit.ShowMessage(message::kAutoFileFolderNotCreated, MessageIcon::Error);
    } else if (!DirectoryExists(makerFolder)) {
        // Only an installer makes the maker folder: the user is told which one to make.
        m_toolkit.ShowMessage(
            std::u16string(message::kMakerFolderMissing) + makerFolder.u16string(),
            MessageIcon::Error);
    } else {
        m_toolkit.ShowMessage(std::u16string(message::kAutoFileFolderFailed) +
                                  g_autoFileDir.parent_path().u16string(),
                              MessageIcon::Error);
    }
    m_checkShowMessages.Show();
}
