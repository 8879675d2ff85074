#include "ui/LineIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Lines around the index's samples (every 256th line), in both ways of holding a text. The last
// line has no break, so its CR is its own.
TEST(LineIndex, FindsEveryLineInEitherFormOfText) {
    std::string bytes;
    std::vector<std::size_t> starts;
    for (int n = 0; n < 600; ++n) {
        starts.push_back(bytes.size());
        bytes += (n == 300 ? std::string(40, '7') : std::to_string(n)) + "\r\n";
    }
    starts.push_back(bytes.size());
    bytes += "42\r";
    const SharedText texts[] = {
        std::make_shared<const WideString>(bytes.begin(), bytes.end()),
        SharedText::FromAscii(std::make_shared<const ByteString>(bytes)),
    };
    for (const SharedText& text : texts) {
        const LineIndex index(text);
        EXPECT_EQ(index.LineCount(), 601U);
        EXPECT_EQ(index.LongestLineStart(), starts[300]);
        for (const std::size_t line : {0, 1, 255, 256, 257, 300, 511, 512, 599, 600}) {
            SCOPED_TRACE(line);
            const std::size_t start = index.LineStart(text, line);
            EXPECT_EQ(start, starts[line]);
            const std::size_t length = line == 600 ? 3 : starts[line + 1] - starts[line] - 2;
            EXPECT_EQ(LineIndex::LineAt(text, start).length, length);
            EXPECT_EQ(index.LineOf(text, start), line);
            EXPECT_EQ(index.LineOf(text, start + length), line);
        }
    }
    // An empty first line has no unit before it to look at (long enough to be a heap block of its
    // own, where a sanitizer sees a read before it).
    const SharedText emptyFirst(std::make_shared<const WideString>(u"\n" + WideString(20, u'5')));
    EXPECT_EQ(LineIndex::LineAt(emptyFirst, 0).length, 0U);
    // Of lines equally long, the first is the longest: the same text always measures alike. A
    // line of one unit is longer than an empty one.
    for (const auto& [text, longest] : {std::pair(u"12\n34", 0U), std::pair(u"\n5", 1U)}) {
        const SharedText shared(std::make_shared<const WideString>(text));
        EXPECT_EQ(LineIndex(shared).LongestLineStart(), longest) << shared.Size();
    }
}

}  // namespace
