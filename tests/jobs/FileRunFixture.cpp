#include "tests/jobs/FileRunFixture.h"

std::vector<int> FileRunTest::ShownPercentages() const {
    constexpr std::u16string_view kPrefix = u"進捗率\u3000";
    std::vector<int> percentages;
    for (const Event& text : toolkit.Events(Event::Kind::Text)) {
        if (text.control == ControlId::ProgressText && text.text.starts_with(kPrefix)) {
            const WideString digits = text.text.substr(kPrefix.size());
            percentages.push_back(std::stoi(std::string(digits.begin(), digits.end())));
        }
    }
    return percentages;
}

void FileRunTest::ExpectIdle(bool saveShown) const {
    ExpectEnabled(kRunControls, true);
    for (const ControlId hidden :
         {ControlId::Pause, ControlId::Cancel, ControlId::ProgressText, ControlId::Progress}) {
        EXPECT_FALSE(toolkit.State(hidden).visible) << static_cast<int>(hidden);
    }
    EXPECT_EQ(toolkit.State(ControlId::Save).visible, saveShown);
    EXPECT_EQ(toolkit.WaitCursorDepth(), 0);
}

void FileRunTest::ExpectEnabled(const std::vector<ControlId>& controls, bool enabled) const {
    for (const ControlId control : controls) {
        EXPECT_EQ(toolkit.State(control).enabled, enabled) << static_cast<int>(control);
    }
}
