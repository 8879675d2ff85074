#include "core/SharedText.h"

#include <gtest/gtest.h>

#include "tests/support/Printing.h"

namespace {

// Both ways of holding a text answer alike; an ASCII text never finds a unit it cannot hold.
TEST(SharedText, AnswersAlikeHeldWideOrOneBytePerUnit) {
    const SharedText texts[] = {
        std::make_shared<const WideString>(u"10\r\n1\r\n"),
        SharedText::FromAscii(std::make_shared<const ByteString>("10\r\n1\r\n")),
    };
    for (const SharedText& text : texts) {
        EXPECT_EQ(text.Size(), 7U);
        EXPECT_EQ(text.At(2), u'\r');
        EXPECT_EQ(text.Find(u'\n', 0), 3U);
        EXPECT_EQ(text.Find(u'\n', 4), 6U);
        EXPECT_EQ(text.Find(u'\n', 7), SharedText::npos);
        EXPECT_EQ(text.Find(u'\u0131', 0), SharedText::npos) << "whose low byte is '1'";
        EXPECT_EQ(text.Copy(4), u"1\r\n");
        EXPECT_EQ(text.Copy(1, 2), u"0\r");
        EXPECT_EQ(text.Copy(9, 2), u"");
        EXPECT_TRUE(text == u"10\r\n1\r\n");
        EXPECT_FALSE(text == u"10\r\n1\r");
        EXPECT_FALSE(text == u"10\r\n0\r\n");
    }
    EXPECT_TRUE(SharedText().Empty());
}

}  // namespace
