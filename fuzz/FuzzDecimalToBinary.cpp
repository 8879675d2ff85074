// Any text through the parse and AppendBinary. Properties: the result is "0", or binary digits
// without a leading zero, after a minus sign for a negative value; read back, it is the value the
// runtime's parse gives; the 32-bit and 64-bit parses agree wherever the 32-bit one is in range.
#include <cstdint>

#include "core/DecimalToBinary.h"
#include "fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t k = 0; k < text.size(); ++k) {
        text[k] = static_cast<char16_t>(data[2 * k] | (data[2 * k + 1] << 8));
    }
    const ParsedDecimal<std::int32_t> parsed =
        ParseDecimal<std::int32_t>(std::u16string_view(text));
    WideString binary;
    AppendBinary(parsed.value, binary);

    const bool negative = !binary.empty() && binary[0] == u'-';
    const std::u16string_view digits = std::u16string_view(binary).substr(negative ? 1 : 0);
    FUZZ_CHECK(!digits.empty() && digits.size() <= 32);
    FUZZ_CHECK(digits == u"0" || digits[0] == u'1');
    std::int64_t magnitude = 0;
    for (const char16_t digit : digits) {
        FUZZ_CHECK(digit == u'0' || digit == u'1');
        magnitude = magnitude * 2 + (digit - u'0');
    }
    FUZZ_CHECK((negative ? -magnitude : magnitude) == parsed.value);
    if (!parsed.outOfRange) {
        FUZZ_CHECK(ParseDecimal<std::int64_t>(std::u16string_view(text)).value == parsed.value);
    }
    return 0;
}
