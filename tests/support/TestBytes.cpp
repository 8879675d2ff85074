#include "tests/support/TestBytes.h"

std::string CountingList(int count, int first) {
    std::string list;
    for (int n = first; n < first + count; ++n) {
        list += std::to_string(n) + "\r\n";
    }
    return list;
}

std::string Repeated(std::string_view text, std::size_t times) {
    std::string repeated;
    for (std::size_t k = 0; k < times; ++k) {
        repeated += text;
    }
    return repeated;
}

std::string Utf16Le(std::string_view ascii) {
    std::string bytes;
    for (const char c : ascii) {
        bytes += {c, '\0'};
    }
    return bytes;
}
