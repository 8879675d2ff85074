// The Win32 resource script's dialogs against the control table, the one description of both
// windows: every control's id, class, text, place, size and style, and each dialog's own.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "core/TextEncoding.h"
#include "ui/ControlTable.h"
#include "ui/win32/ResourceIds.h"

namespace {

// One line for a dialog or a control; class names in capitals, as they are not case-sensitive.
std::string Line(int id, std::u16string_view kind, std::u16string_view text, DialogRect rect,
                 DWORD style) {
    std::string kindName = Utf16ToUtf8(kind);
    for (char& c : kindName) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return std::to_string(id) + " " + kindName + " \"" + Utf16ToUtf8(text) + "\" " +
           std::to_string(rect.x) + "," + std::to_string(rect.y) + " " +
           std::to_string(rect.width) + "x" + std::to_string(rect.height) + " " +
           std::to_string(style);
}

// A DLGTEMPLATEEX, read in order: the dialog's line, then each control's, each of which starts
// on a DWORD boundary.
std::vector<std::string> ReadDialog(int resource) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource), RT_DIALOG);
    const auto* start =
        static_cast<const unsigned char*>(LockResource(LoadResource(instance, found)));
    const unsigned char* at = start;
    const auto read = [&at]<typename Value>(Value) {
        Value value;
        std::memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    };
    const auto rect = [&] {
        const short x = read(short{}), y = read(short{}), cx = read(short{}), cy = read(short{});
        return DialogRect{x, y, cx, cy};
    };
    // A name, or an ordinal: the control classes' by their names.
    const auto name = [&]() -> std::u16string {
        const char16_t first = read(char16_t{});
        if (first == 0xFFFF) {
            const char16_t ordinal = read(char16_t{});
            return ordinal == 0x80 ? u"Button" : ordinal == 0x81 ? u"Edit" : u"Static";
        }
        std::u16string text;
        for (char16_t unit = first; unit != 0; unit = read(char16_t{})) {
            text.push_back(unit);
        }
        return text;
    };
    at += 2 * sizeof(WORD) + 2 * sizeof(DWORD);  // version, signature, help id, ex-style
    const DWORD style = read(DWORD{}) & DS_SETFONT;
    const WORD count = read(WORD{});
    const DialogRect size = rect();
    name();  // menu
    name();  // class
    const std::u16string caption = name();
    const WORD points = read(WORD{});
    at += sizeof(WORD) + 2;  // weight, italic, character set
    std::vector<std::string> lines = {Line(points, name(), caption, size, style)};
    for (WORD n = 0; n < count; ++n) {
        at += (4 - (at - start) % 4) % 4 + 2 * sizeof(DWORD);  // help id, ex-style
        const DWORD controlStyle = read(DWORD{});
        const DialogRect place = rect();
        const int id = static_cast<int>(read(DWORD{}));
        const std::u16string kind = name();
        const std::u16string text = name();
        at += read(WORD{});
        lines.push_back(Line(id, kind, text, place, controlStyle));
    }
    return lines;
}

// The class and style each kind of control is given in the resource script.
std::string Expected(const ControlTemplate& control) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    const EditStyle& edit = control.edit;
    const auto line = [&](std::u16string_view kind, DWORD style) {
        return Line(control.id ? static_cast<int>(*control.id) : -1, kind, control.text,
                    control.rect, kChild | style);
    };
    switch (control.kind) {
        case ControlKind::DefaultButton:
            return line(u"Button", WS_TABSTOP | BS_DEFPUSHBUTTON);
        case ControlKind::Button:
            return line(u"Button", WS_TABSTOP | BS_PUSHBUTTON);
        case ControlKind::CheckBox:
            return line(u"Button", WS_TABSTOP | BS_AUTOCHECKBOX);
        case ControlKind::Label:
            return line(u"Static", WS_GROUP | SS_LEFT);
        case ControlKind::Progress:
            return line(u"msctls_progress32", WS_BORDER);
        case ControlKind::Link:
            return line(u"SysLink", WS_TABSTOP);
        case ControlKind::Edit:
        case ControlKind::BrowseField:
            return line(u"Edit", WS_TABSTOP | (edit.border ? WS_BORDER : 0) |
                                     (edit.multiLine ? ES_MULTILINE : 0) |
                                     (edit.readOnly ? ES_READONLY : 0) |
                                     (edit.enterAddsLine ? ES_WANTRETURN : 0) |
                                     (edit.scrollBars ? WS_VSCROLL | WS_HSCROLL : 0) |
                                     (edit.scrollsAlong ? ES_AUTOHSCROLL : 0) |
                                     (edit.scrollsDown ? ES_AUTOVSCROLL : 0));
    }
    return {};
}

TEST(DialogResource, EachDialogIsTheControlTables) {
    const std::tuple<int, const DialogTemplate&, std::span<const ControlTemplate>> dialogs[] = {
        {IDD_TALLOW_DIALOG, kMainDialog, MainDialogControls()},
        {IDD_ABOUTBOX, kAboutDialog, AboutBoxControls()}};
    for (const auto& [resource, dialog, controls] : dialogs) {
        std::vector<std::string> expected = {Line(dialog.fontPointSize, dialog.fontFamily,
                                                  dialog.caption,
                                                  {0, 0, dialog.width, dialog.height}, DS_SETFONT)};
        for (const ControlTemplate& control : controls) {
            expected.push_back(Expected(control));
        }
        EXPECT_EQ(ReadDialog(resource), expected);
    }
}

}  // namespace
