#pragma once

#include <string>
#include <string_view>

// Number lists: first, first + 1 and so on, one per line; or one text again and again.
std::string CountingList(int count, int first = 0);
std::string Repeated(std::string_view text, std::size_t times);
// Bytes of a file: ASCII text as UTF-16LE, and the marks that name an encoding.
std::string Utf16Le(std::string_view ascii);
inline const std::string kUtf8Mark = "\xEF\xBB\xBF";
inline const std::string kUtf16LeMark = "\xFF\xFE";
