#include "jobs/TallowDlg.h"

#include <algorithm>
#include <iterator>

#include "process/ProcessState.h"
#include "storage/FileHelpers.h"
#include "storage/WorkingFolders.h"

CTallowDlg::CTallowDlg(Toolkit& toolkit) : m_toolkit(toolkit) {}

// Assistive technology and other programs can press a control that is hidden or disabled: such a
// command would start what no user could, as a Pause with no run under way.
void CTallowDlg::OnClicked(ControlId control) {
    if (!m_toolkit.IsUsable(control)) {
        return;
    }
    switch (control) {
        case ControlId::About:
            return OnBnClickedAbout();
        case ControlId::Convert:
            return OnBnClickedConvert();
        case ControlId::AutoRun:
            return OnBnClickedAutoRun();
        case ControlId::LoadFile:
            return OnBnClickedLoadFile();
        case ControlId::ConvertFile:
            return OnBnClickedConvertFile();
        case ControlId::Cancel:
            return OnBnClickedCancel();
        case ControlId::Save:
            return OnBnClickedSave();
        case ControlId::Exit:
            return OnBnClickedExit();
        case ControlId::Pause:
            return OnBnClickedPause();
        default:
            return;
    }
}

bool CTallowDlg::OnInitDialog() {
    const std::filesystem::path executable = m_toolkit.ExecutablePath();
    if (!executable.empty()) {
        m_editModulePath.SetText(executable.u16string());
    }
    g_documentsDir = m_toolkit.DocumentsFolder();
    m_btnConvertFile.Hide();
    m_btnSave.Hide();
    const WorkingFolders folders = CreateWorkingFolders(g_documentsDir);
    g_resultDir = folders.result;
    g_tempDir = folders.temp;
    ApplySettingsFile();
    g_autoFileDir = AutoFileFolder(g_documentsDir);
    if (DirectoryExists(g_autoFileDir) != 0) {
        RunAutomatic();
        return true;
    }
    Hide(m_runControls);
    if (m_checkAutoRun.IsChecked()) {
        m_checkAutoRun.SetChecked(false);
    }
    m_checkShowMessages.Hide();
    return true;
}

void CTallowDlg::OnBnClickedAbout() {
    m_toolkit.ShowAboutBox();
}
