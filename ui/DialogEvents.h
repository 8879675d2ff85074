#pragma once

#include <filesystem>
#include <span>

#include "ui/ControlId.h"

// What a window tells the dialog: its start, a click on a control, files dragged onto it, and a
// request to close. Each toolkit's window forwards these and nothing more.
class DialogEvents {
  public:
    // Prepares the window before it is first shown; the automatic run may end it here.
    virtual bool OnInitDialog() = 0;
    // Routes a click on a control to its handler.
    virtual void OnClicked(ControlId control) = 0;
    // The window system asks the dialog to close: at once when no run is on, otherwise once the
    // run, cancelled now, has ended.
    virtual void OnCancel() = 0;
    // Whether dropping these files now would load them, which the cursor shows before release.
    virtual bool AcceptsDrop(std::span<const std::filesystem::path> files) = 0;
    virtual void OnDrop(std::span<const std::filesystem::path> files) = 0;

  protected:
    ~DialogEvents() = default;
};
