#pragma once

#include <cstdint>

#include "core/TextTypes.h"
#include "jobs/Progress.h"

class CTallowDlg;

// The file run on the worker thread: converts g_fileText, reports progress on the dialog, and
// calls its OnConvertDone at the end of every run. The dialog's friend: a run works on its
// controls as it goes.
class ConversionWorker {
  public:
    explicit ConversionWorker(CTallowDlg& dialog) : m_dialog(dialog) {}

    void Run();

  private:
    enum class End { Done, TooLarge, Cancelled, OutOfMemory };

    End Convert(ProgressReporter& progress, std::int64_t slots, ByteString& result);
    void FinishDone(ProgressReporter& progress, std::int64_t slots, ByteString result);
    void FinishTooLarge();
    void FinishOutOfMemory();
    void FinishCancelled();

    CTallowDlg& m_dialog;
};
