#pragma once

// The program's only window, as the logic sees it: its controls, the binding of each
// notification to its handler, and the handlers themselves, each job in a file of its own here.

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>

#include "jobs/RunUpdate.h"
#include "process/AutoRunOutcome.h"
#include "storage/FileSource.h"
#include "ui/Controls.h"
#include "ui/DialogEvents.h"
#include "ui/Toolkit.h"

class CTallowDlg final : public DialogEvents {
  public:
    explicit CTallowDlg(Toolkit& toolkit);

    bool OnInitDialog() override;
    void OnClicked(ControlId control) override;
    void OnCancel() override;
    // One file, not a folder, while 「…」 and 「ファイル読込」 are usable: it loads as if chosen
    // with 「…」 and loaded with 「ファイル読込」.
    bool AcceptsDrop(std::span<const std::filesystem::path> files) override;
    void OnDrop(std::span<const std::filesystem::path> files) override;
    // Sets the two check boxes from the settings file.
    void ApplySettingsFile();
    // Whether a run's end messages may be shown: the show-messages box is ticked and its stored
    // setting is not "0".
    bool MessageGateOpen() const;
    // How the automatic run ended; nothing when the dialog started interactively.
    std::optional<ConversionOutcome> AutomaticOutcome() const { return m_autoRunOutcome; }

  private:
    void OnBnClickedAbout();
    void OnBnClickedConvert();
    void OnBnClickedAutoRun();
    void OnBnClickedLoadFile();
    void OnBnClickedConvertFile();
    void OnBnClickedCancel();
    void OnBnClickedSave();
    void OnBnClickedExit();
    void OnBnClickedPause();
    // On the window's thread, once the worker's run, or a load's or a save's file work, has ended.
    void OnConvertDone();
    void OnFileTaskDone();

    // The unattended conversion of AutoFile/Radix10Kan.tbin, which ends the dialog.
    void RunAutomatic();
    // Its file work, with every file closed and the run's lock let go on return.
    ConversionOutcome ConvertAutoFile();
    ConversionOutcome RunAutoConversion(const std::filesystem::path& resultFile,
                                        const std::filesystem::path& inputFile, FileSource& input);
    // Starts the worker on the loaded text; its updates come back as steps.
    void StartConversionWorker();
    // On the window's thread: the steps that show update, then whatever steps a pause let wait.
    void QueueRunSteps(RunUpdate update);
    void QueueRunStep(std::function<void()> step);
    void QueueRunEnd(RunEnd end);
    void ApplyRunSteps();
    // Empties and hides the progress text, and zeroes and hides the bar, as every run ends.
    void HideProgress() const;
    // Runs work (a load's reading, a save's writing) off the window's thread, with the controls
    // that could start or change a run disabled and the wait cursor shown until it has ended;
    // what work returns is then carried out on the window's thread. Memory running out ends it
    // with the message outOfMemory.
    using FileWork = std::function<std::function<void()>()>;
    void RunFileTask(FileWork work, std::u16string_view outOfMemory);
    void SetRunControlsEnabled(bool enabled) const;
    // Ends the dialog now, or, while a run or a file task is under way, cancels the run and ends
    // the dialog once it has stopped.
    void EndOnceIdle();
    // Disarms the automatic mode this window armed, unless an input waits in its folder.
    void RemoveAutoFileFolder();
    void AbortAutoRun(ConversionOutcome outcome, std::u16string_view message);
    void EndAutoRun(ConversionOutcome outcome, std::u16string_view message, MessageIcon icon);

    Toolkit& m_toolkit;
    const CheckBox m_checkAutoRun{m_toolkit, ControlId::AutoRun};
    const CheckBox m_checkShowMessages{m_toolkit, ControlId::ShowMessages};
    const Control m_editDecimal{m_toolkit, ControlId::Decimal};
    const Control m_btnConvert{m_toolkit, ControlId::Convert};
    const Control m_btnAbout{m_toolkit, ControlId::About};
    const Control m_editBinary{m_toolkit, ControlId::Binary};
    const Control m_browseFile{m_toolkit, ControlId::BrowseFile};
    const Control m_btnLoadFile{m_toolkit, ControlId::LoadFile};
    const Control m_btnConvertFile{m_toolkit, ControlId::ConvertFile};
    const ProgressBar m_progress{m_toolkit, ControlId::Progress};
    const Control m_btnCancel{m_toolkit, ControlId::Cancel};
    const Control m_editProgress{m_toolkit, ControlId::ProgressText};
    const Control m_editFileContents{m_toolkit, ControlId::FileContents};
    const Control m_editResult{m_toolkit, ControlId::Result};
    const Control m_btnSave{m_toolkit, ControlId::Save};
    const Control m_btnExit{m_toolkit, ControlId::Exit};
    const Control m_btnPause{m_toolkit, ControlId::Pause};
    const Control m_editModulePath{m_toolkit, ControlId::ModulePath};

    // What a run shows while it is under way, hidden when the window starts and as a run ends.
    const std::array<const Control*, 4> m_runControls{&m_btnPause, &m_btnCancel, &m_editProgress,
                                                      &m_progress};
    // What could start or change a run, disabled while one is under way; the first four stay
    // disabled through a pause too.
    const std::array<const Control*, 9> m_startControls{
        &m_checkAutoRun,   &m_checkShowMessages, &m_btnAbout,    &m_btnConvert, &m_btnLoadFile,
        &m_btnConvertFile, &m_btnSave,           &m_editDecimal, &m_browseFile};

    // What a run has posted and the window has yet to show.
    std::deque<std::function<void()>> m_runSteps;
    bool m_applyingRunSteps = false;
    bool m_runEndReceived = false;
    bool m_closeRequested = false;
    bool m_fileTaskRunning = false;
    std::optional<ConversionOutcome> m_autoRunOutcome;
};
