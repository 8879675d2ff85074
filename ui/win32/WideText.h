#pragma once

// On Windows wchar_t is a UTF-16 unit, as char16_t is: the program's texts go to Win32 as they are.

#include <string>
#include <string_view>

inline const wchar_t* AsWide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

inline std::u16string FromWide(std::wstring_view text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}
