// A number file's bytes through decoding and every number-list step. Properties: every decoded
// line ends in CR LF; the split collects exactly the non-blank lines; the range check fails
// exactly when a number exceeds 2147483647; each result line is binary digits and CR LF, and
// converts back to its number.
#include <cstdint>
#include <string>
#include <vector>

#include "core/NumberText.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/LoadedText.h"

namespace {

// The digits of each non-blank line, worked out without the code under test.
std::vector<std::string> NonBlankLines(std::u16string_view text) {
    std::vector<std::string> lines(1);
    for (const char16_t c : text) {
        if (c == u'\n') {
            lines.emplace_back();
        } else if (c != u'\r') {
            lines.back().push_back(static_cast<char>(c));
        }
    }
    std::erase_if(lines, [](const std::string& line) { return line.empty(); });
    return lines;
}

bool AboveLargest(const std::string& digits) {
    const std::size_t first = digits.find_first_not_of('0');
    const std::string significant = first == std::string::npos ? "0" : digits.substr(first);
    return significant.size() > 10 || (significant.size() == 10 && significant > "2147483647");
}

// The value a collected line must hold: its number, or 2147483648 for any number beyond the
// largest.
std::int64_t HeldValue(const std::string& digits) {
    return AboveLargest(digits) ? 2147483648 : std::stoll(digits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WideString text = LoadedText(std::string_view(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(text.empty() || text.ends_with(u"\r\n"));
    if (!CheckNumberText(text)) {
        return 0;
    }
    const std::vector<std::string> expected = NonBlankLines(text);
    NumberLines numbers;
    std::int32_t lineIndex = -1;
    FUZZ_CHECK(SplitNumberLines(text, numbers, lineIndex, kNeverStop));
    FUZZ_CHECK(static_cast<std::size_t>(lineIndex) == expected.size());
    FUZZ_CHECK(numbers.size() == expected.size());
    bool anyAboveLargest = false;
    for (std::size_t j = 0; j < expected.size(); ++j) {
        FUZZ_CHECK(numbers[j] == HeldValue(expected[j]));
        anyAboveLargest = anyAboveLargest || AboveLargest(expected[j]);
    }
    std::int64_t maxValue = 0;
    const RangeCheck range = ScanRange(numbers, maxValue, kNeverStop);
    FUZZ_CHECK((range == RangeCheck::TooLarge) == anyAboveLargest);
    if (range != RangeCheck::Passed) {
        return 0;
    }
    ByteString result(ResultLength(numbers, 0, numbers.size()), '\0');
    FUZZ_CHECK(WriteResultLines(numbers, 0, numbers.size(), result.data(), kNeverStop));
    std::size_t at = 0;
    for (const std::string& line : expected) {
        const std::size_t end = result.find("\r\n", at);
        FUZZ_CHECK(end != ByteString::npos && end > at);
        std::uint64_t value = 0;
        for (std::size_t k = at; k < end; ++k) {
            FUZZ_CHECK(result[k] == '0' || result[k] == '1');
            FUZZ_CHECK(k > at || result[k] == '1' || end == at + 1);
            value = value * 2 + static_cast<std::uint64_t>(result[k] - '0');
        }
        FUZZ_CHECK(value == std::stoull(line));
        at = end + 2;
    }
    FUZZ_CHECK(at == result.size());
    return 0;
}
