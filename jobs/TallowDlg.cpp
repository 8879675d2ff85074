#include "jobs/TallowDlg.h"

#include <algorithm>
#include <iterator>

#include "process/ProcessState.h"
#include "storage/FileHelpers.h"
#include "storage/WorkingFolders.h"

const CTallowDlg::MessageMapEntry CTallowDlg::kMessageMap[] = {
    {Notification::Clicked, ControlId::About, &CTallowDlg::OnBnClickedAbout},
    {Notification::Clicked, ControlId::Convert, &CTallowDlg::OnBnClickedConvert},
    {Notification::Clicked, ControlId::AutoRun, &CTallowDlg::OnBnClickedAutoRun},
    {Notification::Clicked, ControlId::ShowMessages, &CTallowDlg::OnBnClickedShowMessages},
    {Notification::Clicked, ControlId::LoadFile, &CTallowDlg::OnBnClickedLoadFile},
    {Notification::Changed, ControlId::BrowseFile, &CTallowDlg::OnEnChangeBrowseFile},
    {Notification::Clicked, ControlId::ConvertFile, &CTallowDlg::OnBnClickedConvertFile},
    {Notification::Clicked, ControlId::Cancel, &CTallowDlg::OnBnClickedCancel},
    {Notification::Clicked, ControlId::Save, &CTallowDlg::OnBnClickedSave},
    {Notification::Clicked, ControlId::Exit, &CTallowDlg::OnBnClickedExit},
    {Notification::Clicked, ControlId::Pause, &CTallowDlg::OnBnClickedPause},
};

CTallowDlg::CTallowDlg(Toolkit& toolkit) : m_toolkit(toolkit) {}

// Assistive technology and other programs can press a control that is hidden or disabled: such a
// command would start what no user could, as a Pause with no run under way.
void CTallowDlg::OnCommand(ControlId control, Notification notification) {
    if (!m_toolkit.IsUsable(control)) {
        return;
    }
    const auto* entry = std::find_if(
        std::begin(kMessageMap), std::end(kMessageMap),
        [&](const auto& e) { return e.control == control && e.notification == notification; });
    if (entry != std::end(kMessageMap)) {
        (this->*entry->handler)();
    }
}

std::intptr_t CTallowDlg::WindowProc(unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
    switch (message) {
        case WM_CONVERT_DONE:
            return OnConvertDone(wParam, lParam);
        case WM_FILE_TASK_DONE:
            return OnFileTaskDone(wParam, lParam);
        default:
            return 0;
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
