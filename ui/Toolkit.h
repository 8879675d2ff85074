#pragma once

// What the logic asks of the window toolkit. The dialog and every job talk to the window only
// through this interface: the Qt and Win32 windows implement it, a run without a window keeps
// its controls in memory, and tests implement it with a fake.
//
// Only the window's thread calls its operations, except BeginThread and Post: a thread of the
// program's hands its results over with Post and never waits for the window.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "core/SharedText.h"
#include "ui/ControlId.h"
#include "ui/LineIndex.h"

enum class MessageIcon { Error = 16, Information = 64 };

struct SaveDialogOptions {
    std::u16string_view filterName;
    std::u16string_view filterPattern;
};

class Toolkit {
  public:
    virtual ~Toolkit() = default;

    // Returns whether the control was visible before.
    virtual bool SetVisible(ControlId control, bool visible) = 0;
    virtual void SetEnabled(ControlId control, bool enabled) = 0;
    // Whether the control is shown and enabled: only such a control can be used.
    virtual bool IsUsable(ControlId control) = 0;
    // Gives back exactly the text written, line breaks and all; for what the user typed, each
    // line break reads as CR LF.
    virtual SharedText GetText(ControlId control) = 0;
    // For a box of large texts, index is the text's line index, made beforehand on another
    // thread so that the window only swaps the text in; without one, it is made here.
    virtual void SetText(ControlId control, SharedText text,
                         std::shared_ptr<const LineIndex> index) = 0;
    virtual bool IsChecked(ControlId control) = 0;
    // Changes the tick without a click notification.
    virtual void SetChecked(ControlId control, bool checked) = 0;
    virtual void SetProgressRange(ControlId control, std::int32_t maximum) = 0;
    virtual void SetProgressPosition(ControlId control, std::int32_t position) = 0;

    // Modal, captioned with the program's name, OK only; returns when dismissed.
    virtual void ShowMessage(std::u16string_view text, MessageIcon icon) = 0;
    virtual void Beep() = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual void ShowAboutBox() = 0;
    // The dialog closes once control returns to the toolkit.
    virtual void EndDialog() = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> AskSavePath(const SaveDialogOptions& options) = 0;

    // Runs body on a thread of its own; false when no thread could be started.
    virtual bool BeginThread(std::function<void()> body) = 0;
    // From any thread: queues call for the window's thread, where it runs between events, in the
    // order posted, and returns at once. Calls still queued when the window has gone never run.
    virtual void Post(std::function<void()> call) = 0;

    virtual std::filesystem::path DocumentsFolder() = 0;
    virtual std::filesystem::path ExecutablePath() = 0;
};
