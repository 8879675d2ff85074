#include "tests/jobs/FileRunFixture.h"

namespace {
const std::string kProgressCall = "text 1011 進捗率\u3000";
}

std::vector<int> FileRunTest::ShownPercentages() const {
    std::vector<int> percentages;
    for (const std::string& call : toolkit.Calls()) {
        if (call.starts_with(kProgressCall)) {
            percentages.push_back(std::stoi(call.substr(kProgressCall.size())));
        }
    }
    return percentages;
}

void FileRunTest::ExpectIdle(bool saveShown) const {
    for (const ControlId enabled :
         {ControlId::AutoRun, ControlId::ShowMessages, ControlId::About, ControlId::Convert,
          ControlId::LoadFile, ControlId::ConvertFile, ControlId::Save, ControlId::Exit,
          ControlId::Decimal, ControlId::BrowseFile}) {
        EXPECT_TRUE(toolkit.State(enabled).enabled) << static_cast<int>(enabled);
    }
    for (const ControlId hidden :
         {ControlId::Pause, ControlId::Cancel, ControlId::ProgressText, ControlId::Progress}) {
        EXPECT_FALSE(toolkit.State(hidden).visible) << static_cast<int>(hidden);
    }
    EXPECT_EQ(toolkit.State(ControlId::Save).visible, saveShown);
    EXPECT_EQ(toolkit.WaitCursorDepth(), 0);
}
