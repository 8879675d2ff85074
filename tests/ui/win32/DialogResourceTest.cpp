// The Win32 resource script's dialogs against the control table, the one description of both
// windows: every control's id, class, text, place, size and style, and each dialog's own.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/Printing.h"
#include "ui/ControlTable.h"
#include "ui/win32/ResourceIds.h"

namespace {

struct Item {
    std::u16string className;
    int id;
    std::u16string text;
    DialogRect rect;
    DWORD style;
};

struct Dialog {
    std::u16string caption;
    int width;
    int height;
    std::u16string font;
    int pointSize;
    std::vector<Item> items;
};

// A DLGTEMPLATEEX, read in order; every item starts on a DWORD boundary.
class TemplateReader {
  public:
    explicit TemplateReader(const unsigned char* bytes) : m_start(bytes), m_at(bytes) {}
    template <typename Value>
    Value Read() {
        Value value;
        std::memcpy(&value, m_at, sizeof value);
        m_at += sizeof value;
        return value;
    }
    DialogRect ReadRect() {
        const short x = Read<short>(), y = Read<short>(), cx = Read<short>(), cy = Read<short>();
        return {x, y, cx, cy};
    }
    // A name or an ordinal; the control classes' ordinals by their names.
    std::u16string ReadNameOrOrdinal() {
        const auto first = Read<char16_t>();
        if (first == 0xFFFF) {
            static const char16_t* kClasses[] = {u"Button", u"Edit", u"Static"};
            const auto ordinal = Read<char16_t>();
            return ordinal >= 0x80 && ordinal <= 0x82 ? kClasses[ordinal - 0x80] : u"?";
        }
        std::u16string name;
        for (char16_t unit = first; unit != 0; unit = Read<char16_t>()) {
            name.push_back(unit);
        }
        return name;
    }
    void AlignToDword() {
        while ((m_at - m_start) % 4 != 0) {
            ++m_at;
        }
    }
    void Skip(std::size_t bytes) { m_at += bytes; }

  private:
    const unsigned char* m_start;
    const unsigned char* m_at;
};

Dialog ReadDialog(int resource) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource), RT_DIALOG);
    TemplateReader reader(
        static_cast<const unsigned char*>(LockResource(LoadResource(instance, found))));
    reader.Skip(2 * sizeof(WORD) + 2 * sizeof(DWORD));  // version, signature, help id, ex-style
    const auto dialogStyle = reader.Read<DWORD>();
    const auto count = reader.Read<WORD>();
    Dialog dialog;
    const DialogRect size = reader.ReadRect();
    dialog.width = size.width;
    dialog.height = size.height;
    reader.ReadNameOrOrdinal();  // menu
    reader.ReadNameOrOrdinal();  // class
    dialog.caption = reader.ReadNameOrOrdinal();
    EXPECT_NE(dialogStyle & DS_SETFONT, 0U);
    dialog.pointSize = reader.Read<WORD>();
    reader.Skip(sizeof(WORD) + 2);  // weight, italic, character set
    dialog.font = reader.ReadNameOrOrdinal();
    for (WORD n = 0; n < count; ++n) {
        reader.AlignToDword();
        reader.Skip(2 * sizeof(DWORD));  // help id, ex-style
        Item item;
        item.style = reader.Read<DWORD>();
        item.rect = reader.ReadRect();
        item.id = static_cast<int>(reader.Read<DWORD>());
        item.className = reader.ReadNameOrOrdinal();
        item.text = reader.ReadNameOrOrdinal();
        reader.Skip(reader.Read<WORD>());
        dialog.items.push_back(item);
    }
    return dialog;
}

// Class names are not case-sensitive; the resource compiler writes them in capitals.
std::u16string Upper(std::u16string name) {
    for (char16_t& unit : name) {
        unit = unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
    }
    return name;
}

// The class and style a control of the table is given in the resource script.
std::pair<std::u16string, DWORD> Expected(const ControlTemplate& control) {
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    const EditStyle& edit = control.edit;
    switch (control.kind) {
        case ControlKind::DefaultButton:
            return {u"Button", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON};
        case ControlKind::Button:
            return {u"Button", kChild | WS_TABSTOP | BS_PUSHBUTTON};
        case ControlKind::CheckBox:
            return {u"Button", kChild | WS_TABSTOP | BS_AUTOCHECKBOX};
        case ControlKind::Label:
            return {u"Static", kChild | WS_GROUP | SS_LEFT};
        case ControlKind::Progress:
            return {u"msctls_progress32", kChild | WS_BORDER};
        case ControlKind::Link:
            return {u"SysLink", kChild | WS_TABSTOP};
        case ControlKind::Edit:
        case ControlKind::BrowseField:
            return {u"Edit", kChild | WS_TABSTOP | (edit.border ? WS_BORDER : 0) |
                                 (edit.multiLine ? ES_MULTILINE : 0) |
                                 (edit.readOnly ? ES_READONLY : 0) |
                                 (edit.enterAddsLine ? ES_WANTRETURN : 0) |
                                 (edit.scrollBars ? WS_VSCROLL | WS_HSCROLL : 0) |
                                 (edit.scrollsAlong ? ES_AUTOHSCROLL : 0) |
                                 (edit.scrollsDown ? ES_AUTOVSCROLL : 0)};
    }
    return {};
}

struct DialogCase {
    int resource;
    const DialogTemplate& dialog;
    std::span<const ControlTemplate> controls;
};

TEST(DialogResource, EachDialogIsTheControlTables) {
    const DialogCase cases[] = {{IDD_TALLOW_DIALOG, kMainDialog, MainDialogControls()},
                                {IDD_ABOUTBOX, kAboutDialog, AboutBoxControls()}};
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.resource);
        const Dialog dialog = ReadDialog(c.resource);
        EXPECT_EQ(dialog.caption, c.dialog.caption);
        EXPECT_EQ(dialog.width, c.dialog.width);
        EXPECT_EQ(dialog.height, c.dialog.height);
        EXPECT_EQ(dialog.font, c.dialog.fontFamily);
        EXPECT_EQ(dialog.pointSize, c.dialog.fontPointSize);
        ASSERT_EQ(dialog.items.size(), c.controls.size());
        for (std::size_t n = 0; n < c.controls.size(); ++n) {
            const ControlTemplate& control = c.controls[n];
            const Item& item = dialog.items[n];
            SCOPED_TRACE(std::string(control.objectName));
            const auto [className, style] = Expected(control);
            EXPECT_EQ(Upper(item.className), Upper(className));
            EXPECT_EQ(item.id, control.id ? static_cast<int>(*control.id) : -1);
            EXPECT_EQ(item.text, control.text);
            EXPECT_EQ(
                std::vector<int>({item.rect.x, item.rect.y, item.rect.width, item.rect.height}),
                std::vector<int>(
                    {control.rect.x, control.rect.y, control.rect.width, control.rect.height}));
            EXPECT_EQ(item.style, style) << std::hex << (item.style ^ style);
        }
    }
}

}  // namespace
