#include "ui/HeadlessToolkit.h"

#include <gtest/gtest.h>

namespace {

class Target final : public MessageTarget {
  public:
    std::intptr_t WindowProc(unsigned message, std::uintptr_t, std::intptr_t) override {
        return message;
    }
};

// A run without a window keeps what the dialog sets, and its boxes for later, in order.
TEST(HeadlessToolkit, KeepsTheControlsStatesAndTheBoxesAskedFor) {
    HeadlessToolkit toolkit("documents", "program");
    EXPECT_TRUE(toolkit.SetVisible(ControlId::Pause, false)) << "every control starts shown";
    EXPECT_FALSE(toolkit.SetVisible(ControlId::Pause, true));
    EXPECT_TRUE(toolkit.SetVisible(ControlId::Pause, true));
    toolkit.SetChecked(ControlId::AutoRun, true);
    EXPECT_TRUE(toolkit.IsChecked(ControlId::AutoRun));
    EXPECT_FALSE(toolkit.IsChecked(ControlId::ShowMessages));
    toolkit.SetText(ControlId::Result, std::make_shared<const WideString>(u"101"));
    EXPECT_EQ(toolkit.GetText(ControlId::Result).Wide(), u"101");
    toolkit.ShowMessage(u"one", MessageIcon::Error);
    toolkit.ShowMessage(u"two", MessageIcon::Information);
    ASSERT_EQ(toolkit.Messages().size(), 2U);
    EXPECT_EQ(toolkit.Messages()[1].text, u"two");
    bool ran = false;
    EXPECT_TRUE(toolkit.BeginThread([&] { ran = true; }));
    EXPECT_TRUE(ran) << "with no event loop to come back to, a thread's body runs at once";
    Target target;
    EXPECT_EQ(toolkit.SendDialogMessage(target, WM_CONVERT_DONE), WM_CONVERT_DONE);
    EXPECT_EQ(toolkit.DocumentsFolder(), "documents");
}

}  // namespace
