#pragma once

// What assistive technology finds in the main window, one table for both front ends: each field
// named by the label beside it (or by a name of its own where it has none), read-only fields that
// refuse writes, boxes whose text, caret, selection and characters can be read, and commands
// acted on only from controls a user can reach.

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace accessibility_rules {

enum class Role { PushButton, CheckBox, Text, ProgressBar, Link };

struct Named {
    // The control's object name in the control table; browseButton is the path field's button.
    std::string_view control;
    std::u16string_view name;
    Role role;
    bool readOnly = false;
};

inline std::ostream& operator<<(std::ostream& out, const Named& row) {
    return out << row.control;
}

inline const std::vector<Named> kNamed = {
    {"m_editDecimal", u"正数の１０進数を入力して下さい。", Role::Text},
    {"m_editBinary", u"２進数の変換結果", Role::Text, true},
    {"m_browseFile", u"２進数に変換したいファイルを選択して下さい。", Role::Text, true},
    {"browseButton", u"ファイルを選択", Role::PushButton},
    {"m_editProgress", u"進捗率", Role::Text, true},
    {"m_progress", u"変換の進捗", Role::ProgressBar, true},
    {"m_editFileContents", u"ファイルの内容", Role::Text, true},
    {"m_editResult", u"処理結果", Role::Text, true},
    {"m_editModulePath", u"本ソフトウェアのフルパスです。プロセス起動する場合に使用して下さい。",
     Role::Text, true},
    {"m_btnConvert", u"２進数に変換", Role::PushButton},
    {"m_checkAutoRun", u"自動処理を行う", Role::CheckBox},
};

enum class Act {
    // Pressed through accessibility while hidden (no run) or disabled: nothing changes.
    PressHiddenPause,
    PressDisabledAbout,
    // Toggled through accessibility: the dialog's handler runs as for a click.
    ToggleAutoRun,
    // A loaded file's box: its text and caret, all of it selected with Ctrl+A, and where its
    // characters are drawn.
    ReadLoadedBox,
    // A read-only field asked to take a new value keeps its text.
    WriteReadOnlyField,
    // A hidden check box takes no toggle, a disabled field no text.
    ToggleHiddenShowMessages,
    WriteDisabledNumber,
};

struct Rule {
    const char* name;
    Act act;
};

inline std::ostream& operator<<(std::ostream& out, const Rule& rule) {
    return out << rule.name;
}

inline const std::vector<Rule> kRules = {
    {"AHiddenPauseDoesNothing", Act::PressHiddenPause},
    {"ADisabledButtonDoesNothing", Act::PressDisabledAbout},
    {"ToggleIsAClick", Act::ToggleAutoRun},
    {"TheBoxReadsAsText", Act::ReadLoadedBox},
    {"ReadOnlyFieldsRefuseWrites", Act::WriteReadOnlyField},
    {"AHiddenCheckBoxKeepsItsTick", Act::ToggleHiddenShowMessages},
    {"ADisabledFieldKeepsItsText", Act::WriteDisabledNumber},
};

inline constexpr std::string_view kLoaded = "5\r\n3\r\n";

// A window gives Name, RoleOf, IsReadOnly, Press, Toggle, IsChecked, Disable, IsEnabled, Text (as
// read through accessibility), SetValue, Caret, Selection, SelectAll, CharacterBox and OffsetAt
// (both in screen pixels), Load, ShowsMessagesBox and AboutBoxesOpened.
template <typename Window>
void CheckNamed(Window& window, const Named& row) {
    EXPECT_EQ(window.Name(row.control), row.name);
    EXPECT_EQ(window.RoleOf(row.control), row.role);
    EXPECT_EQ(window.IsReadOnly(row.control), row.readOnly);
}

template <typename Window>
void Check(Window& window, const Rule& rule) {
    switch (rule.act) {
        case Act::PressHiddenPause:
            window.Press("m_btnPause");
            for (const char* control :
                 {"m_btnExit", "m_btnConvert", "m_btnLoadFile", "m_checkAutoRun", "m_btnAbout"}) {
                EXPECT_TRUE(window.IsEnabled(control)) << control;
            }
            EXPECT_EQ(window.Text("m_btnPause"), u"一時停止");
            break;
        case Act::PressDisabledAbout:
            window.Disable("m_btnAbout");
            window.Press("m_btnAbout");
            EXPECT_EQ(window.AboutBoxesOpened(), 0);
            break;
        case Act::ToggleAutoRun:
            window.Toggle("m_checkAutoRun");
            EXPECT_TRUE(window.ShowsMessagesBox());
            break;
        case Act::ReadLoadedBox: {
            window.Load(kLoaded);
            EXPECT_EQ(window.Text("m_editFileContents"), u"5\r\n3\r\n");
            EXPECT_EQ(window.Caret("m_editFileContents"), 0);
            window.SelectAll("m_editFileContents");
            EXPECT_EQ(window.Selection("m_editFileContents"), (std::pair{0, 6}));
            const auto [x, y, width, height] = window.CharacterBox("m_editFileContents", 3);
            EXPECT_GT(width, 0);
            EXPECT_GT(height, 0);
            EXPECT_EQ(window.OffsetAt("m_editFileContents", x + width / 2, y + height / 2), 3);
            const auto first = window.CharacterBox("m_editFileContents", 0);
            EXPECT_LT(first[1], y) << "the second line is drawn below the first";
            break;
        }
        case Act::ToggleHiddenShowMessages:
            window.Toggle("m_checkShowMessages");
            EXPECT_FALSE(window.IsChecked("m_checkShowMessages"));
            break;
        case Act::WriteDisabledNumber:
            window.Disable("m_editDecimal");
            window.SetValue("m_editDecimal", u"4242");
            EXPECT_EQ(window.Text("m_editDecimal"), u"");
            break;
        case Act::WriteReadOnlyField:
            for (const char* control : {"m_editModulePath", "m_editResult"}) {
                window.SetValue(control, u"changed");
                EXPECT_NE(window.Text(control), u"changed") << control;
            }
            break;
    }
}

}  // namespace accessibility_rules
