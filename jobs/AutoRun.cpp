#include <chrono>
#include <thread>

#include "jobs/Messages.h"
#include "process/ProcessState.h"
#include "storage/FileHelpers.h"
#include "storage/NumberFileConversion.h"
#include "ui/TallowDlg.h"

namespace fs = std::filesystem;

void CTallowDlg::RunAutomatic() {
    const fs::path input = JoinPath(g_autoFileDir, "Radix10Kan.tbin");
    if (FileExists(input) == 0) {
        AbortAutoRun(AutoRunOutcome::InputMissing, message::kAutoInputMissing);
        return;
    }
    std::error_code error;
    const std::uintmax_t size = fs::file_size(input, error);
    if (error) {
        AbortAutoRun(AutoRunOutcome::InputUnreadable, message::kAutoInputUnreadable);
        return;
    }
    if (size == 0) {
        AbortAutoRun(AutoRunOutcome::InputEmpty, message::kAutoInputEmpty);
        return;
    }
    RunAutoConversion(JoinPath(g_resultDir, "Radix2Result.tbin"), input);
}

// Nothing on disk changes: the input and the AutoFile folder stay, and no result is written.
void CTallowDlg::AbortAutoRun(AutoRunOutcome outcome, std::u16string_view message) {
    m_btnPause.Hide();
    m_btnCancel.Hide();
    m_editProgress.Hide();
    m_progress.Hide();
    if (MessageGateOpen()) {
        m_toolkit.ShowMessage(message, MessageIcon::Error);
    }
    m_btnExit.Enable();
    HideProgress();
    m_toolkit.EndWaitCursor();
    m_autoRunOutcome = outcome;
    m_toolkit.EndDialog(-1);
}

void CTallowDlg::EndAutoRun(AutoRunOutcome outcome, std::u16string_view message, MessageIcon icon) {
    if (MessageGateOpen()) {
        m_toolkit.ShowMessage(message, icon);
    }
    m_toolkit.EndWaitCursor();
    m_autoRunOutcome = outcome;
    m_toolkit.EndDialog(-1);
}

// The input is read, checked and converted in one pass over blocks, so that no input is too large
// to convert and memory stays flat; the result file is replaced only when all of it converted.
void CTallowDlg::RunAutoConversion(fs::path resultFile, fs::path inputFile) {
    g_lineIndex = 0;
    g_numbers.clear();
    if (!m_checkAutoRun.IsChecked()) {
        m_checkAutoRun.SetChecked(true);
    }
    m_toolkit.BeginWaitCursor();
    switch (ConvertNumberFile(inputFile, resultFile)) {
        case FileConversion::Unreadable:
            AbortAutoRun(AutoRunOutcome::InputUnreadable, message::kAutoInputUnreadable);
            return;
        case FileConversion::NotDigits:
            AbortAutoRun(AutoRunOutcome::NotDigits, message::kAutoInputNotDigits);
            return;
        case FileConversion::TooLarge:
            EndAutoRun(AutoRunOutcome::TooLarge, message::kTooLargeInList, MessageIcon::Error);
            return;
        case FileConversion::NotWritten:
            EndAutoRun(AutoRunOutcome::ResultNotWritten, message::kAutoResultNotWritten,
                       MessageIcon::Error);
            return;
        case FileConversion::Converted:
            break;
    }
    const bool inputDeleted = DeleteFile(inputFile);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    m_checkAutoRun.SetChecked(false);
    m_toolkit.Beep();
    if (inputDeleted) {
        EndAutoRun(AutoRunOutcome::Converted, message::kDone, MessageIcon::Information);
    } else {
        EndAutoRun(AutoRunOutcome::InputNotDeleted, message::kAutoInputNotDeleted,
                   MessageIcon::Error);
    }
}
