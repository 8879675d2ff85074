#include "core/DecimalToBinary.h"

bool IsParseSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000';
}

WideString DecimalToBinary(std::u16string_view text) {
    WideString binary;
    AppendBinary(ParseDecimal<std::int32_t>(text).value, binary);
    return binary;
}
