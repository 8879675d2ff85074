#include "jobs/TallowDlg.h"

bool CTallowDlg::AcceptsDrop(std::span<const std::filesystem::path> files) {
    std::error_code error;
    return files.size() == 1 && !std::filesystem::is_directory(files.front(), error) &&
           m_toolkit.IsUsable(ControlId::BrowseFile) && m_toolkit.IsUsable(ControlId::LoadFile);
}

void CTallowDlg::OnDrop(std::span<const std::filesystem::path> files) {
    if (AcceptsDrop(files)) {
        m_browseFile.SetText(files.front().u16string());
        OnClicked(ControlId::LoadFile);
    }
}
