#include "storage/TextFile.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/NumberListStream.h"
#include "tests/support/Printing.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestBytes.h"

namespace {

using namespace std::literals;

// Reading goes in blocks of 1 MiB. Decoding itself is the encoding's, and tested there.
TEST(ReadTextFile, DecodesByMarkOrContentAndEndsEveryLineWithCrLf) {
    const std::string kPair = "\x3D\xD8\x00\xDE"s;  // U+1F600 in UTF-16LE
    const struct {
        const char* what;
        std::string bytes;
        WideString text;
    } cases[] = {
        {"UTF-16LE with mark", kUtf16LeMark + Utf16Le("12\r\n\r\n3"), u"12\r\n\r\n3\r\n"},
        {"UTF-16BE with mark", "\xFE\xFF\x00\x35\x00\x0A"s, u"5\r\n"},
        {"UTF-8 with mark", kUtf8Mark + "5\r\n3\r\n", u"5\r\n3\r\n"},
        {"UTF-16LE without mark", Utf16Le("5\r\n3"), u"5\r\n3\r\n"},
        {"ASCII from seq", "1\n2\n3\n", u"1\r\n2\r\n3\r\n"},
        {"empty file", "", u""},
        {"mark only", kUtf16LeMark, u""},
        {"one empty line", "\r\n", u"\r\n"},
        {"lone CR stays in its line", "1\r2\n", u"1\r2\r\n"},
        {"CR before the end", "1\r", u"1\r\r\n"},
        {"a pair across a block's end",
         kUtf16LeMark + Utf16Le(std::string(kStreamBlock / 2 - 1, '0')) + kPair,
         WideString(kStreamBlock / 2 - 1, u'0') + u"\U0001F600\r\n"},
        {"CR LF at a block's start, a lone LF after it", std::string(kStreamBlock, '0') + "\r\n\n",
         WideString(kStreamBlock, u'0') + u"\r\n\r\n"},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(folder / "numbers.txt", c.bytes);
        const std::optional<WideString> text = ReadTextFile(folder / "numbers.txt");
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, c.text);
    }
}

TEST(ReadTextFile, ReportsWhatCannotBeRead) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder / "a folder");
    std::vector<const char*> unreadable{"missing", "a folder"};
#ifndef _WIN32
    std::filesystem::create_symlink("/dev/zero", folder / "endless");
    unreadable.push_back("endless");
#endif
    for (const char* name : unreadable) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(ReadTextFile(folder / name).has_value());
    }
}

// The largest text is one of 2,147,483,646 units, decided from the file's size alone.
TEST(UnitsOfSize, RefusesFilesAboveTheLongestText) {
    const struct {
        Encoding encoding;
        std::uintmax_t bytes;
        std::optional<std::size_t> units;
    } cases[] = {
        {Encoding::Utf8, kLongestText, kLongestText},
        {Encoding::Utf8, kLongestText + 1, std::nullopt},
        {Encoding::Utf16LE, 2 * kLongestText + 1, kLongestText},
        {Encoding::Utf16BE, 2 * kLongestText + 2, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnitsOfSize(c.encoding, c.bytes), c.units) << c.bytes;
    }
}

// Saving goes in blocks of 1 MiB; a surrogate pair across a block's end is written whole, and a
// text held one byte per unit is written as it is.
TEST(WriteTextFile, WritesUtf8WithPairsWholeAcrossBlocks) {
    const std::string zeros(kStreamBlock - 1, '0');
    const struct {
        const char* what;
        SharedText text;
        std::string bytes;
    } cases[] = {
        {"UTF-16",
         std::make_shared<const WideString>(WideString(kStreamBlock - 1, u'0') +
                                            u"\U0001F600é\U0001F600"),
         zeros + "\xF0\x9F\x98\x80\xC3\xA9\xF0\x9F\x98\x80"},
        {"lone surrogates", std::make_shared<const WideString>(u"é\xDC00\xD800"),
         "\xC3\xA9\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"ASCII", SharedText::FromAscii(std::make_shared<const ByteString>(zeros + "10\r\n")),
         zeros + "10\r\n"},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WriteTextFile(folder / "saved", c.text), 1);
        EXPECT_EQ(ReadFileBytes(folder / "saved"), c.bytes);
    }
}

}  // namespace
