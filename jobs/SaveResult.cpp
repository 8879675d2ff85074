#include "jobs/Messages.h"
#include "jobs/TallowDlg.h"
#include "storage/TextFile.h"

void CTallowDlg::OnBnClickedSave() {
    const SharedText result = m_editResult.Text();
    if (result.Empty()) {
        m_toolkit.ShowMessage(message::kNothingToSave, MessageIcon::Error);
        return;
    }
    const std::optional<std::filesystem::path> path =
        m_toolkit.AskSavePath({.filterName = u"全て(*.*)", .filterPattern = u"*.*"});
    if (!path) {
        m_toolkit.ShowMessage(message::kSaveFailed, MessageIcon::Error);
        return;
    }
    // Ten million results are hundreds of megabytes to write.
    RunFileTask(
        [this, result, file = *path]() -> std::function<void()> {
            if (WriteTextFile(file, result) != 0) {
                return [this] { m_toolkit.ShowMessage(message::kSaved, MessageIcon::Information); };
            }
            return [this] { m_toolkit.ShowMessage(message::kSaveFailed, MessageIcon::Error); };
        },
        message::kSaveFailed);
}
