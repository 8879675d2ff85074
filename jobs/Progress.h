#pragma once

#include <cstdint>

#include "core/TextTypes.h"
#include "ui/Controls.h"

// "進捗率　" followed by the truncated percentage of position over maximum and " %".
WideString ProgressText(std::int64_t position, std::int64_t maximum);

// Shows a run's progress on the bar and in the progress text. Both change only when the shown
// percentage does, so a run over hundreds of millions of characters makes a few hundred calls
// into the window, and still shows every percentage, in order.
class ProgressReporter {
  public:
    ProgressReporter(const ProgressBar& bar, const Control& text, std::int64_t maximum)
        : m_bar(bar), m_text(text) {
        SetRange(maximum);
    }

    void SetRange(std::int64_t maximum);
    void Report(std::int64_t position) {
        if (position >= m_nextCheck) {
            Update(position);
        }
    }

  private:
    void Update(std::int64_t position);

    const ProgressBar& m_bar;
    const Control& m_text;
    // All set by SetRange.
    std::int64_t m_maximum;
    std::int64_t m_barScale;
    int m_shownPercent;
    std::int64_t m_nextCheck;
};
