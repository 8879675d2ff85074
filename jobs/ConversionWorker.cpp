#include "jobs/ConversionWorker.h"

#include <new>

#include "core/NumberText.h"
#include "jobs/Messages.h"
#include "jobs/Progress.h"
#include "process/ProcessState.h"
#include "ui/TallowDlg.h"

namespace {

enum class RunEnd { Done, TooLarge, Cancelled, OutOfMemory };

// Past the last poll a run still has steps to make; each waits out a pause first, so that a paused
// run never moves on, and never ends, until it is resumed.
template <typename... Steps>
void RunSteps(Steps&&... steps) {
    ((g_workerThread.WaitWhileSuspended(), steps()), ...);
}

// A poll point: a paused run waits here, a cancelled one stops.
bool KeepGoing() {
    g_workerThread.WaitWhileSuspended();
    return g_cancelRequested.load(std::memory_order_relaxed) == 0;
}

RunEnd ConvertFileText(const CTallowDlg& dialog, ProgressReporter& progress, std::int64_t slots,
                       ByteString& result) {
    const auto afterCharacter = [&](std::int64_t i) {
        progress.Report(i);
        return KeepGoing();
    };
    if (!SplitNumberLines(*g_fileText, g_numbers, g_lineIndex, afterCharacter) || !KeepGoing()) {
        return RunEnd::Cancelled;
    }
    const RangeCheck range =
        ScanRange(g_numbers, g_maxValue, [](std::int64_t) { return KeepGoing(); });
    if (range == RangeCheck::Stopped || !KeepGoing()) {
        return RunEnd::Cancelled;
    }
    if (range == RangeCheck::TooLarge) {
        return RunEnd::TooLarge;
    }
    const std::int64_t lines = g_lineIndex;
    dialog.m_progress.SetPosition(0);
    progress.SetRange(lines + slots + 2);
    const auto afterLine = [&](std::int64_t j) {
        progress.Report(slots + j);
        return KeepGoing();
    };
    if (!BuildResultText(g_numbers, result, afterLine) || (lines == 0 && !KeepGoing())) {
        return RunEnd::Cancelled;
    }
    return RunEnd::Done;
}

void FinishDone(CTallowDlg& dialog, ProgressReporter& progress, std::int64_t slots,
                ByteString result) {
    const std::int64_t lines = g_lineIndex;
    RunSteps([&] { progress.Report(slots + lines); },
             [&] {
                 dialog.m_editResult.SetText(
                     SharedText::FromAscii(std::make_shared<const ByteString>(std::move(result))));
             },
             [&] { progress.Report(slots + lines + 1); },
             [&] { progress.Report(slots + lines + 2); }, [&] { dialog.m_btnExit.Enable(); },
             [&] { dialog.HideProgress(); }, [&] { dialog.m_toolkit.Beep(); },
             [&] {
                 if (dialog.MessageGateOpen()) {
                     dialog.m_toolkit.ShowMessage(message::kDone, MessageIcon::Information);
                 }
             });
}

void FinishTooLarge(CTallowDlg& dialog) {
    RunSteps(
        [&] {
            if (dialog.MessageGateOpen()) {
                dialog.m_toolkit.ShowMessage(message::kTooLargeInList, MessageIcon::Error);
            }
        },
        [&] { dialog.m_browseFile.Enable(); }, [&] { dialog.m_btnPause.Hide(); },
        [&] { dialog.m_btnCancel.Hide(); }, [&] { dialog.m_btnExit.Enable(); },
        [&] { dialog.HideProgress(); });
}

// The loaded text and the result shown before stay; the numbers collected so far go.
void FinishOutOfMemory(CTallowDlg& dialog) {
    g_numbers = {};
    RunSteps([&] { dialog.m_toolkit.ShowMessage(message::kOutOfMemory, MessageIcon::Error); },
             [&] { dialog.m_btnExit.Enable(); }, [&] { dialog.HideProgress(); });
}

void FinishCancelled(const CTallowDlg& dialog) {
    RunSteps([&] { dialog.m_progress.SetPosition(0); },
             [&] { dialog.m_editProgress.SetText(u"進捗率 0 %"); });
}

}  // namespace

unsigned ConvertThreadProc(CTallowDlg& dialog) {
    g_lineIndex = 0;
    g_numbers.clear();
    if (!dialog.m_checkAutoRun.IsChecked()) {
        dialog.m_checkAutoRun.SetChecked(true);
    }
    dialog.m_btnPause.Show();
    dialog.m_btnCancel.Show();
    dialog.m_btnExit.Disable();
    dialog.m_editProgress.Show();
    dialog.m_progress.Show();
    dialog.m_toolkit.BeginWaitCursor();

    // One slot per character and one more: the progress scale of the line split.
    const std::int64_t slots = static_cast<std::int64_t>(g_fileText->size()) + 1;
    ProgressReporter progress(dialog.m_progress, dialog.m_editProgress);
    progress.SetRange(3 * slots);
    RunEnd end = RunEnd::OutOfMemory;
    try {
        // Binary digits and line breaks: one byte each.
        ByteString result;
        end = ConvertFileText(dialog, progress, slots, result);
        if (end == RunEnd::Done) {
            FinishDone(dialog, progress, slots, std::move(result));
        }
    } catch (const std::bad_alloc&) {
        end = RunEnd::OutOfMemory;
    }
    switch (end) {
        case RunEnd::Done:
            break;
        case RunEnd::OutOfMemory:
            FinishOutOfMemory(dialog);
            break;
        case RunEnd::TooLarge:
            FinishTooLarge(dialog);
            break;
        case RunEnd::Cancelled:
            FinishCancelled(dialog);
            break;
    }
    RunSteps([&] { dialog.m_toolkit.EndWaitCursor(); },
             [&] { dialog.m_toolkit.SendDialogMessage(dialog, WM_CONVERT_DONE); });
    return 0;
}
