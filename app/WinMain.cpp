#include <windows.h>

#include <objbase.h>

#include <filesystem>

#include "jobs/TallowDlg.h"
#include "process/AutoRunOutcome.h"
#include "storage/WorkingFolders.h"
#include "ui/win32/Win32Toolkit.h"
#include "ui/win32/Win32Window.h"

namespace {

// The help file beside the executable.
std::wstring HelpFile(const std::filesystem::path& executable) {
    return (executable.parent_path() / L"README.md").wstring();
}

}  // namespace

// The command line is never read. The exit status is the automatic run's outcome, 0 for an
// interactive session and 1 when the window cannot be created.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // OLE, for files dropped on the window.
    OleInitialize(nullptr);
    int status = 0;
    {
        Win32Window window(instance);
        Win32Toolkit toolkit(window);
        const std::filesystem::path workingFolder = ProductFolder(toolkit.DocumentsFolder());
        window.SetLinks(workingFolder.wstring(), HelpFile(toolkit.ExecutablePath()));
        CTallowDlg dialog(toolkit);
        if (window.Start(dialog)) {
            window.Run();
        } else {
            status = ReportAutomaticRun(dialog.AutomaticOutcome());
        }
    }
    OleUninitialize();
    return status;
}
