#include <chrono>
#include <thread>

#include "core/NumberText.h"
#include "jobs/Messages.h"
#include "jobs/ProcessState.h"
#include "storage/FileHelpers.h"
#include "storage/TextFile.h"
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
    std::optional<WideString> text = ReadTextFile(input);
    if (!text) {
        AbortAutoRun(AutoRunOutcome::InputUnreadable, message::kAutoInputUnreadable);
        return;
    }
    g_fileText = std::move(*text);
    if (!CheckNumberText(g_fileText)) {
        AbortAutoRun(AutoRunOutcome::NotDigits, message::kAutoInputNotDigits);
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

void CTallowDlg::RunAutoConversion(fs::path resultFile, fs::path inputFile) {
    g_lineIndex = 0;
    g_numbers.clear();
    if (!m_checkAutoRun.IsChecked()) {
        m_checkAutoRun.SetChecked(true);
    }
    m_toolkit.BeginWaitCursor();
    SplitNumberLines(g_fileText, g_numbers, g_lineIndex, kNeverStop);
    if (ScanRange(g_numbers, g_maxValue, kNeverStop) == RangeCheck::TooLarge) {
        EndAutoRun(AutoRunOutcome::TooLarge, message::kTooLargeInList, MessageIcon::Error);
        return;
    }
    // The result is digits and line breaks only, so it is built straight into the file's bytes.
    ByteString result;
    BuildResultText(g_numbers, result, kNeverStop);
    if (WriteBytesFile(resultFile, result) == 0) {
        EndAutoRun(AutoRunOutcome::ResultNotWritten, message::kAutoResultNotWritten,
                   MessageIcon::Error);
        return;
    }
    result = {};
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
