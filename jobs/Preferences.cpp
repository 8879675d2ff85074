#include "jobs/Messages.h"
#include "jobs/TallowDlg.h"
#include "process/ProcessState.h"
#include "storage/FileHelpers.h"
#include "storage/SettingsFile.h"
#include "storage/WorkingFolders.h"

void CTallowDlg::ApplySettingsFile() {
    const std::optional<WideString> text =
        ReadSettingsText(g_tempDir / kSettingsFileName, g_settingsBuffer);
    if (!text) {
        return;
    }
    ParseSettingsText(*text, g_settings);
    if (g_settings[0] == u"0") {
        m_checkAutoRun.SetChecked(false);
        m_checkShowMessages.Hide();
        return;
    }
    m_checkAutoRun.SetChecked(true);
    m_checkShowMessages.Show();
    if (g_settings[1] != u"0") {
        m_checkShowMessages.SetChecked(true);
    }
}

// An input waiting there is a caller's job: neither it nor the folder that makes it run goes.
void CTallowDlg::RemoveAutoFileFolder() {
    if (FileExists(g_autoFileDir / kAutoInputName) != 0) {
        m_toolkit.ShowMessage(message::kAutoInputWaiting, MessageIcon::Information);
        return;
    }
    DeleteDirectoryTree(g_autoFileDir);
}

void CTallowDlg::OnBnClickedExit() {
    g_autoFileDir = AutoFileFolder(g_documentsDir);
    if (g_autoRunArmed == 0 && g_autoFileDirMadeHere) {
        RemoveAutoFileFolder();
    }
    g_documentsDir = m_toolkit.DocumentsFolder();
    g_tempDir = TempFolder(g_documentsDir);
    if (DirectoryExists(g_tempDir) != 0 || CreateFolder(g_tempDir)) {
        const bool autoRunTicked = m_checkAutoRun.IsChecked();
        const bool showMessagesWasVisible = m_checkShowMessages.Show();
        const bool showMessagesTicked = showMessagesWasVisible && m_checkShowMessages.IsChecked();
        WriteBytesFile(g_tempDir / kSettingsFileName,
                       SettingsBytes(autoRunTicked, showMessagesTicked));
    }
    // Pressed as a run starts, before the run has disabled it, it cancels the run first.
    EndOnceIdle();
}
