#include "ui/TallowDlg.h"

// Handlers whose jobs are not built yet.
void CTallowDlg::OnBnClickedLoadFile() {}
void CTallowDlg::OnBnClickedConvertFile() {}
void CTallowDlg::OnBnClickedCancel() {}
void CTallowDlg::OnBnClickedSave() {}
void CTallowDlg::OnBnClickedPause() {}
std::intptr_t CTallowDlg::OnConvertDone(std::uintptr_t, std::intptr_t) {
    return 0;
}
