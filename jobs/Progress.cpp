#include "jobs/Progress.h"

#include <algorithm>
#include <limits>
#include <string>

namespace {

int Percent(std::int64_t position, std::int64_t maximum) {
    return static_cast<int>(static_cast<double>(position) / static_cast<double>(maximum) * 100.0);
}

}  // namespace

WideString ProgressText(std::int64_t position, std::int64_t maximum) {
    WideString text = u"進捗率\u3000";
    for (const char digit : std::to_string(Percent(position, maximum))) {
        text.push_back(static_cast<char16_t>(digit));
    }
    text.append(u" %");
    return text;
}

void ProgressReporter::SetRange(std::int64_t maximum) {
    constexpr std::int64_t kLargestBarValue = std::numeric_limits<std::int32_t>::max();
    m_maximum = maximum;
    m_barScale = maximum / kLargestBarValue + 1;
    m_post(BarRange{static_cast<std::int32_t>(maximum / m_barScale)});
    m_shownPercent = -1;
    m_nextCheck = 0;
}

void ProgressReporter::Update(std::int64_t position) {
    const int percent = Percent(position, m_maximum);
    if (percent != m_shownPercent) {
        m_shownPercent = percent;
        m_post(BarPosition{static_cast<std::int32_t>(position / m_barScale)});
        m_post(ProgressLine{ProgressText(position, m_maximum)});
    }
    // The first position that could show the next percentage, or a little before it.
    m_nextCheck = std::max(position + 1, (percent + 1) * m_maximum / 100 - 1);
}
