#include "storage/SettingsFile.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "tests/support/Printing.h"
#include "tests/support/ScratchFolder.h"

namespace {

// A text of ten thousand characters or more is refused whole.
TEST(ParseSettingsText, TakesTheFirstTwoLinesInEitherLineBreakStyle) {
    const struct {
        std::u16string text;
        WideString first;
        WideString second;
    } cases[] = {
        {u"1\r\n0", u"1", u"0"},
        {u"1\n0\n", u"1", u"0"},
        {u"0\r\n1\r\n", u"0", u"1"},
        {u"", u"", u""},
        {u"10\r\n1", u"10", u"1"},
        {u"1\r\n0\r\nthird\r\nfourth", u"1", u"0"},
        {u"1\u0080é\r\n0", u"1", u"0"},
        {std::u16string(u"1\0\r\n0", 5), u"1", u""},
        {std::u16string(9'999, u'1'), WideString(9'999, u'1'), u""},
        {std::u16string(10'000, u'1'), u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(WideString(c.text)));
        // With what lies just past the two settings, which no further line may reach.
        struct {
            std::array<WideString, 2> settings;
            WideString past;
        } held;
        ParseSettingsText(c.text, held.settings);
        EXPECT_EQ(held.settings[0], c.first);
        EXPECT_EQ(held.settings[1], c.second);
        EXPECT_EQ(held.past, u"");
    }
}

#ifndef _WIN32
// Only a regular file is read, so that no start waits on a FIFO or reads a device without end;
// a large one is read no further than the buffer.
TEST(ReadSettingsText, ReadsOnlyARegularFileAndNoMoreThanItsBuffer) {
    ScratchFolder folder;
    mkfifo((folder / "fifo").c_str(), 0600);
    std::filesystem::create_symlink("/dev/zero", folder / "endless");
    WriteFileBytes(folder / "large", std::string(3'000'000, '1'));
    std::array<char, 8> buffer{};
    EXPECT_EQ(ReadSettingsText(folder / "fifo", buffer), std::nullopt);
    EXPECT_EQ(ReadSettingsText(folder / "endless", buffer), std::nullopt);
    EXPECT_EQ(ReadSettingsText(folder / "large", buffer), std::optional<WideString>(u"11111111"));
}
#endif

}  // namespace
