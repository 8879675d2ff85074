#include <gtest/gtest.h>

#include "tests/support/DialogFixture.h"
#include "tests/support/Printing.h"

namespace fs = std::filesystem;

namespace {

using StartTest = DialogTest;

TEST_F(StartTest, OpensInteractiveWithTheRunControlsHidden) {
    Start();
    for (const ControlId hidden :
         {ControlId::ConvertFile, ControlId::Save, ControlId::Pause, ControlId::Cancel,
          ControlId::ProgressText, ControlId::Progress, ControlId::ShowMessages}) {
        EXPECT_FALSE(toolkit.State(hidden).visible) << static_cast<int>(hidden);
    }
    for (const ControlId shown : {ControlId::Exit, ControlId::AutoRun, ControlId::Convert,
                                  ControlId::LoadFile, ControlId::ModulePath}) {
        EXPECT_TRUE(toolkit.State(shown).visible) << static_cast<int>(shown);
    }
    EXPECT_FALSE(toolkit.State(ControlId::AutoRun).checked);
    EXPECT_FALSE(toolkit.EndResult().has_value());
}

TEST_F(StartTest, ShowsTheWholeExecutablePathHoweverLong) {
    const fs::path longPath = fs::path("/opt") / std::string(300, 'x') / "Tallow";
    toolkit.SetExecutable(longPath);
    Start();
    EXPECT_EQ(toolkit.Text(ControlId::ModulePath), WideString(longPath.u16string()));
}

}  // namespace
