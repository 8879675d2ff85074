#include <chrono>
#include <future>
#include <new>
#include <system_error>
#include <thread>

#include "jobs/Messages.h"
#include "jobs/TallowDlg.h"
#include "process/ProcessState.h"
#include "storage/FileHelpers.h"
#include "storage/NumberFileConversion.h"
#include "storage/ProcessLock.h"
#include "storage/TemporaryFiles.h"
#include "storage/WorkingFolders.h"

namespace fs = std::filesystem;

namespace {

// Missing means no such entry, or a folder; an entry that cannot be looked at is not missing.
bool IsMissing(const fs::path& input) {
    std::error_code error;
    const fs::file_status status = fs::status(input, error);
    return status.type() == fs::file_type::not_found || fs::is_directory(status);
}

}  // namespace

// The files are done, and the run's lock let go, before any message box can keep a user waiting.
void CTallowDlg::RunAutomatic() {
    const ConversionOutcome outcome = ConvertAutoFile();
    switch (outcome) {
        case ConversionOutcome::InputMissing:
            return AbortAutoRun(outcome, message::kAutoInputMissing);
        case ConversionOutcome::InputEmpty:
            return AbortAutoRun(outcome, message::kAutoInputEmpty);
        case ConversionOutcome::NotDigits:
            return AbortAutoRun(outcome, message::kAutoInputNotDigits);
        case ConversionOutcome::InputUnreadable:
            return AbortAutoRun(outcome, message::kAutoInputUnreadable);
        case ConversionOutcome::TooLarge:
            return EndAutoRun(outcome, message::kTooLargeInList, MessageIcon::Error);
        case ConversionOutcome::ResultNotWritten:
            return EndAutoRun(outcome, message::kAutoResultNotWritten, MessageIcon::Error);
        case ConversionOutcome::Converted:
        case ConversionOutcome::InputNotDeleted:
            break;
    }
    m_checkAutoRun.SetChecked(false);
    m_toolkit.Beep();
    if (outcome == ConversionOutcome::Converted) {
        EndAutoRun(outcome, message::kDone, MessageIcon::Information);
    } else {
        EndAutoRun(outcome, message::kAutoInputNotDeleted, MessageIcon::Error);
    }
}

ConversionOutcome CTallowDlg::ConvertAutoFile() {
    // One run at a time: a second waits for the first, then finds the input as that one left it.
    const ProcessLock oneRunAtATime(g_tempDir / "AutoRun.lock");
    // Whatever this run's outcome, what killed writers left is not kept for a later one to find.
    RemoveAbandonedTemporaries(g_resultDir);
    RemoveAbandonedTemporaries(g_tempDir);
    const fs::path input = g_autoFileDir / kAutoInputName;
    if (IsMissing(input)) {
        return ConversionOutcome::InputMissing;
    }
    FileSource source(input, FileSource::Use::ReadThenDelete);
    if (!source.IsOpen()) {
        return ConversionOutcome::InputUnreadable;
    }
    if (source.Size() == 0) {
        return ConversionOutcome::InputEmpty;
    }
    return RunAutoConversion(g_resultDir / "Radix2Result.tbin", input, source);
}

// Nothing on disk changes: the input and the AutoFile folder stay, and no result is written.
void CTallowDlg::AbortAutoRun(ConversionOutcome outcome, std::u16string_view message) {
    Hide(m_runControls);
    if (MessageGateOpen()) {
        m_toolkit.ShowMessage(message, MessageIcon::Error);
    }
    m_btnExit.Enable();
    HideProgress();
    m_toolkit.EndWaitCursor();
    m_autoRunOutcome = outcome;
    m_toolkit.EndDialog();
}

void CTallowDlg::EndAutoRun(ConversionOutcome outcome, std::u16string_view message,
                            MessageIcon icon) {
    if (MessageGateOpen()) {
        m_toolkit.ShowMessage(message, icon);
    }
    m_toolkit.EndWaitCursor();
    m_autoRunOutcome = outcome;
    m_toolkit.EndDialog();
}

// The input is read, checked and converted in one pass over blocks, so that no input is too large
// to convert and memory stays flat; the result file is replaced only when all of it converted.
ConversionOutcome CTallowDlg::RunAutoConversion(const fs::path& resultFile,
                                                const fs::path& inputFile, FileSource& input) {
    if (!m_checkAutoRun.IsChecked()) {
        m_checkAutoRun.SetChecked(true);
    }
    m_toolkit.BeginWaitCursor();
    FileSource oldResult(resultFile, FileSource::Use::HoldSpace);
    ConversionOutcome conversion = ConversionOutcome::InputUnreadable;
    try {
        conversion = ConvertNumberFile(input, resultFile);
    } catch (const std::bad_alloc&) {
        // What cannot be held cannot be read: nothing is written and the input stays.
    } catch (const std::system_error&) {
        // Nor without a thread to write the result on.
    }
    switch (conversion) {
        case ConversionOutcome::Converted:
            break;
        case ConversionOutcome::NotDigits:
        case ConversionOutcome::TooLarge:
        case ConversionOutcome::ResultNotWritten:
            return conversion;
        default:
            // Whatever else stopped the conversion left the input unread.
            return ConversionOutcome::InputUnreadable;
    }
    // Only the job converted goes: one written in its place or over it since is kept.
    const bool inputDeleted = input.DeleteName(inputFile) == FileSource::Deletion::Deleted;
    // The space of the input and of the result replaced is freed during the pause.
    // Without a thread to spare, the space is freed at the end.
    std::future<void> freed = std::async(std::launch::async | std::launch::deferred, [&] {
        input.Close();
        oldResult.Close();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    freed.get();
    return inputDeleted ? ConversionOutcome::Converted : ConversionOutcome::InputNotDeleted;
}
