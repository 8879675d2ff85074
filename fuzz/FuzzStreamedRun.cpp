// The same bytes through the window's run (the whole text decoded, checked, split, range-checked
// and converted) and through the automatic run's single pass over blocks of a size the input
// chooses: both must reach the same outcome, and the same result bytes when they convert.
#include <cstdint>
#include <string>

#include "core/NumberListStream.h"
#include "core/NumberText.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/LoadedText.h"
#include "tests/support/StringSink.h"

namespace {

ConversionOutcome WholeTextRun(std::string_view bytes, ByteString& result) {
    const WideString text = LoadedText(bytes);
    if (!CheckNumberText(text)) {
        return ConversionOutcome::NotDigits;
    }
    NumberLines numbers;
    std::int32_t lineIndex = 0;
    std::int64_t maxValue = 0;
    FUZZ_CHECK(SplitNumberLines(text, numbers, lineIndex, kNeverStop));
    if (ScanRange(numbers, maxValue, kNeverStop) == RangeCheck::TooLarge) {
        return ConversionOutcome::TooLarge;
    }
    result.resize(ResultLength(numbers, 0, numbers.size()));
    FUZZ_CHECK(WriteResultLines(numbers, 0, numbers.size(), result.data(), kNeverStop));
    return ConversionOutcome::Converted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t blockSize = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    ByteString whole;
    const ConversionOutcome expected = WholeTextRun(bytes, whole);

    MemorySource source(bytes);
    StringSink streamed;
    const ConversionOutcome outcome = StreamNumberList(source, streamed, blockSize);
    FUZZ_CHECK(outcome == expected);
    if (outcome == ConversionOutcome::Converted) {
        FUZZ_CHECK(streamed.bytes == std::string_view(whole));
    }
    return 0;
}
