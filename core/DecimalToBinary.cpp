#include "core/DecimalToBinary.h"

bool IsParseSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000';
}
