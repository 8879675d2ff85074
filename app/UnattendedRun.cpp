#include "app/UnattendedRun.h"

#include <cstdlib>
#include <string_view>

#include "jobs/TallowDlg.h"
#include "process/AutoRunOutcome.h"
#include "process/ProcessState.h"
#include "storage/FileHelpers.h"
#include "storage/WorkingFolders.h"

namespace {

bool Named(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

std::optional<int> RunUnattended(HeadlessToolkit& toolkit) {
    if (DirectoryExists(AutoFileFolder(toolkit.DocumentsFolder())) == 0) {
        return std::nullopt;
    }
    CTallowDlg dialog(toolkit);
    dialog.OnInitDialog();
    // The folder may have gone meanwhile: then the window opens after all.
    if (!dialog.AutomaticOutcome()) {
        return std::nullopt;
    }
    return ReportAutomaticRun(dialog.AutomaticOutcome());
}

// The settings are read as the run reads them, through a dialog of their own.
bool AutomaticRunShowsBoxes(const std::filesystem::path& documents) {
    const std::string_view platform =
        Named("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    if (!Named("DISPLAY") && !Named("WAYLAND_DISPLAY") && platform.empty()) {
        return false;
    }
    HeadlessToolkit settings(documents, {});
    CTallowDlg dialog(settings);
    g_tempDir = TempFolder(documents);
    dialog.ApplySettingsFile();
    return dialog.MessageGateOpen();
}
