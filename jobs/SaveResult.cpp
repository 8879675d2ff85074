#include "core/TextEncoding.h"
#include "jobs/Messages.h"
#include "storage/FileHelpers.h"
#include "ui/TallowDlg.h"

void CTallowDlg::OnBnClickedSave() {
    if (m_editResult.Text()->empty()) {
        m_toolkit.ShowMessage(message::kNothingToSave, MessageIcon::Error);
        return;
    }
    const std::optional<std::filesystem::path> path =
        m_toolkit.AskSavePath({.filterName = u"全て(*.*)", .filterPattern = u"*.*"});
    if (path && WriteBytesFile(*path, Utf16ToUtf8(*m_editResult.Text())) != 0) {
        m_toolkit.ShowMessage(message::kSaved, MessageIcon::Information);
    } else {
        m_toolkit.ShowMessage(message::kSaveFailed, MessageIcon::Error);
    }
}
