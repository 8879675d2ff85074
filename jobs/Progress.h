#pragma once

#include <cstdint>

#include "core/TextTypes.h"
#include "jobs/RunUpdate.h"

// "進捗率　" followed by the truncated percentage of position over maximum and " %".
WideString ProgressText(std::int64_t position, std::int64_t maximum);

// Reports a run's progress for the bar and the progress text. Both change only when the shown
// percentage does, so a run over hundreds of millions of characters posts a few hundred updates,
// and still shows every percentage, in order.
class ProgressReporter {
  public:
    ProgressReporter(RunPost post, std::int64_t maximum) : m_post(std::move(post)) {
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

    RunPost m_post;
    // All set by SetRange.
    std::int64_t m_maximum;
    std::int64_t m_barScale;
    int m_shownPercent;
    std::int64_t m_nextCheck;
};
