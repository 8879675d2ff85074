// The window's side of a file run: what the worker posts becomes steps, carried out in order on
// the window's thread, and held while the run is paused.
#include "jobs/ConversionWorker.h"
#include "jobs/Messages.h"
#include "jobs/TallowDlg.h"
#include "process/ProcessState.h"

void CTallowDlg::StartConversionWorker() {
    m_runEndReceived = false;
    const RunPost post = [this, &toolkit = m_toolkit](RunUpdate update) {
        toolkit.Post(
            [this, update = std::move(update)]() mutable { QueueRunSteps(std::move(update)); });
    };
    if (!m_toolkit.BeginThread([text = g_fileText, post] { ConversionWorker(text, post).Run(); })) {
        m_toolkit.ShowMessage(message::kWorkerNotStarted, MessageIcon::Error);
        OnConvertDone();
    }
}

void CTallowDlg::QueueRunSteps(RunUpdate update) {
    std::visit(
        [this](auto& shown) {
            using Shown = std::decay_t<decltype(shown)>;
            if constexpr (std::is_same_v<Shown, RunStarted>) {
                QueueRunStep([this] {
                    if (!m_checkAutoRun.IsChecked()) {
                        m_checkAutoRun.SetChecked(true);
                    }
                });
                QueueRunStep([this] {
                    m_btnPause.Show();
                    m_btnCancel.Show();
                    m_btnExit.Disable();
                    m_editProgress.Show();
                    m_progress.Show();
                    m_toolkit.BeginWaitCursor();
                });
            } else if constexpr (std::is_same_v<Shown, BarRange>) {
                QueueRunStep([this, shown] { m_progress.SetRange(shown.maximum); });
            } else if constexpr (std::is_same_v<Shown, BarPosition>) {
                QueueRunStep([this, shown] { m_progress.SetPosition(shown.position); });
            } else if constexpr (std::is_same_v<Shown, ProgressLine>) {
                QueueRunStep([this, shown] { m_editProgress.SetText(shown.text); });
            } else if constexpr (std::is_same_v<Shown, ResultText>) {
                QueueRunStep([this, shown] { m_editResult.SetText(shown.text, shown.index); });
            } else {
                m_runEndReceived = true;
                QueueRunEnd(shown);
            }
        },
        update);
    ApplyRunSteps();
}

void CTallowDlg::QueueRunStep(std::function<void()> step) {
    m_runSteps.push_back(std::move(step));
}

// One step at a time, each once the one before has returned (a message box included), and none
// while the run is paused: Resume applies what waited.
void CTallowDlg::ApplyRunSteps() {
    if (m_applyingRunSteps) {
        return;
    }
    m_applyingRunSteps = true;
    while (!m_runSteps.empty() && !g_workerThread.IsSuspended()) {
        const std::function<void()> step = std::move(m_runSteps.front());
        m_runSteps.pop_front();
        step();
    }
    m_applyingRunSteps = false;
}

void CTallowDlg::QueueRunEnd(RunEnd end) {
    const auto message = [this](std::u16string_view text, MessageIcon icon) {
        QueueRunStep([this, text, icon] {
            if (MessageGateOpen()) {
                m_toolkit.ShowMessage(text, icon);
            }
        });
    };
    switch (end) {
        case RunEnd::Done:
            QueueRunStep([this] { m_btnExit.Enable(); });
            QueueRunStep([this] { HideProgress(); });
            QueueRunStep([this] { m_toolkit.Beep(); });
            message(message::kDone, MessageIcon::Information);
            break;
        case RunEnd::TooLarge:
            message(message::kTooLargeInList, MessageIcon::Error);
            QueueRunStep([this] { m_browseFile.Enable(); });
            QueueRunStep([this] { m_btnPause.Hide(); });
            QueueRunStep([this] { m_btnCancel.Hide(); });
            QueueRunStep([this] { m_btnExit.Enable(); });
            QueueRunStep([this] { HideProgress(); });
            break;
        case RunEnd::OutOfMemory:
            QueueRunStep(
                [this] { m_toolkit.ShowMessage(message::kOutOfMemory, MessageIcon::Error); });
            QueueRunStep([this] { m_btnExit.Enable(); });
            QueueRunStep([this] { HideProgress(); });
            break;
        case RunEnd::Cancelled:
            QueueRunStep([this] { m_progress.SetPosition(0); });
            QueueRunStep([this] { m_editProgress.SetText(u"進捗率 0 %"); });
            break;
    }
    QueueRunStep([this] { m_toolkit.EndWaitCursor(); });
    QueueRunStep([this] { OnConvertDone(); });
}
