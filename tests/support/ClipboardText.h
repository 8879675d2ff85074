#pragma once

#include <windows.h>

#include <string>

// The Unicode text on the clipboard, or nothing.
inline std::u16string ClipboardText() {
    std::u16string text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const char16_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}
