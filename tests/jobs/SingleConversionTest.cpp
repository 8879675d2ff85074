#include <gtest/gtest.h>

#include "jobs/Messages.h"
#include "tests/support/DialogFixture.h"
#include "tests/support/Printing.h"

namespace {

using SingleConversionTest = DialogTest;

TEST_F(SingleConversionTest, ShowsTheBinaryDigitsOfWhatWasTyped) {
    const struct {
        std::u16string_view typed;
        std::u16string_view shown;
    } cases[] = {
        {u"", u"0"},
        {u"12abc", u"1100"},
        {u"  \r\n5", u"101"},
        {u"-5", u"-101"},
    };
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
        toolkit.Type(ControlId::Decimal, c.typed);
        Click(ControlId::Convert);
        EXPECT_EQ(toolkit.Text(ControlId::Binary), c.shown);
        EXPECT_EQ(toolkit.Text(ControlId::Decimal), c.typed);
    }
    EXPECT_TRUE(toolkit.MessageTexts().empty());
}

TEST_F(SingleConversionTest, RefusesNumbersOutsideTheThirtyTwoBitRange) {
    Start();
    for (const std::u16string_view typed :
         {u"2147483648", u"-2147483649", u"99999999999999999999"}) {
        toolkit.Type(ControlId::Decimal, u"5");
        Click(ControlId::Convert);
        toolkit.ClearEvents();
        toolkit.Type(ControlId::Decimal, typed);
        Click(ControlId::Convert);
        EXPECT_EQ(toolkit.Text(ControlId::Binary), u"");
        EXPECT_EQ(toolkit.EventsOf(Event::Kind::Message),
                  std::vector{MessageEvent(message::kTooLargeForSingle, MessageIcon::Error)});
    }
}

}  // namespace
