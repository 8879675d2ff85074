#pragma once

#include <windows.h>

#include <string>

inline std::wstring WindowText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

inline bool HasClass(HWND control, const wchar_t* name) {
    wchar_t kind[16];
    return GetClassNameW(control, kind, 16) > 0 && lstrcmpiW(kind, name) == 0;
}
