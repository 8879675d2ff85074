#include <future>
#include <utility>

#include "core/NumberText.h"
#include "jobs/Messages.h"
#include "jobs/TallowDlg.h"
#include "process/ProcessState.h"
#include "storage/TextFile.h"
#include "ui/ReleaseOffThread.h"

void CTallowDlg::OnBnClickedLoadFile() {
    const SharedText path = m_browseFile.Text();
    if (path.Empty()) {
        m_toolkit.ShowMessage(message::kNoFileChosen, MessageIcon::Error);
        return;
    }
    // A file of millions of lines takes a moment to read and to index for its box.
    // What was loaded before stays until the new text is shown.
    RunFileTask(
        [this, file = std::filesystem::path(path.Wide())]() -> std::function<void()> {
            std::optional<WideString> text = ReadTextFile(file);
            if (!text) {
                return
                    [this] { m_toolkit.ShowMessage(message::kFileUnreadable, MessageIcon::Error); };
            }
            auto loaded = std::make_shared<const WideString>(std::move(*text));
            // The check runs on the other core while the box's index is made, or after it
            // without a thread to spare.
            std::future<bool> numberList =
                std::async(std::launch::async | std::launch::deferred,
                           [loaded] { return CheckNumberText(*loaded); });
            auto index = std::make_shared<const LineIndex>(SharedText(loaded));
            return [this, loaded, index, isNumberList = numberList.get()] {
                m_editFileContents.SetText(loaded, index);
                g_fileTextIsNumberList = isNumberList;
                ReleaseOffThread(std::exchange(g_fileText, loaded));
                if (!g_fileText->empty()) {
                    m_btnConvertFile.Show();
                }
            };
        },
        message::kFileUnreadable);
}

void CTallowDlg::OnBnClickedConvertFile() {
    const SharedText shown = m_editFileContents.Text();
    if (shown.Empty()) {
        m_toolkit.ShowMessage(message::kNothingLoaded, MessageIcon::Error);
        return;
    }
    if (shown == u"\r\n" || shown == u"\n") {
        m_toolkit.ShowMessage(message::kOnlyLineBreaks, MessageIcon::Error);
        return;
    }
    const bool numberList =
        shown.Shares(g_fileText) ? g_fileTextIsNumberList : CheckNumberText(shown.Wide());
    if (!numberList) {
        m_toolkit.ShowMessage(message::kNotDigits, MessageIcon::Error);
        return;
    }
    SetEnabled(m_startControls, false);
    m_btnPause.Show();
    m_btnCancel.Show();
    m_progress.Show();
    g_cancelRequested = 0;
    g_workerThread.Resume();
    g_workerThread.MarkRunning();
    StartConversionWorker();
}

void CTallowDlg::OnBnClickedCancel() {
    g_cancelRequested = 1;
}

void CTallowDlg::OnBnClickedPause() {
    m_btnConvertFile.Disable();
    m_btnPause.Enable();
    m_btnCancel.Disable();
    m_btnExit.Disable();
    const bool pausing = m_btnPause.Text() == u"一時停止";
    m_btnPause.SetText(pausing ? u"再開" : u"一時停止");
    if (!pausing) {
        m_btnCancel.Enable();
    }
    SetEnabled(std::span(m_startControls).first(4), !pausing);
    m_btnLoadFile.Disable();
    m_browseFile.Disable();
    if (g_workerThread.IsRunning()) {
        if (pausing) {
            g_workerThread.Suspend();
        } else {
            g_workerThread.Resume();
            ApplyRunSteps();
        }
    }
}

void CTallowDlg::OnCancel() {
    EndOnceIdle();
}

// A run that has posted its end is over, even while its last steps (a message box) are shown.
void CTallowDlg::EndOnceIdle() {
    const bool runUnderWay = g_workerThread.IsRunning() && !m_runEndReceived;
    if (!runUnderWay && !m_fileTaskRunning) {
        m_toolkit.EndDialog();
        return;
    }
    m_closeRequested = true;
    if (runUnderWay) {
        g_cancelRequested = 1;
        g_workerThread.Resume();
        ApplyRunSteps();
    }
}
