#pragma once

// What keys do in the main window, one table for both front ends: no key closes the window or
// moves the focus; each reaches only the focused control, which does with it what it does on its
// own. Keys come twice where a control changes its ways only after its first key.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>
#include <variant>
#include <vector>

#include "tests/support/ScratchFolder.h"
#include "tests/support/TestBytes.h"
#include "ui/ControlId.h"

namespace key_rules {

// AltQ: Alt and a letter that is no access key.
enum class Key { Enter, Escape, Tab, ShiftTab, Left, Right, Up, Down, Copy, AltQ };
struct Typed {
    std::u16string_view text;
};
// Put on the clipboard, then pasted with Ctrl+V.
struct Pasted {
    std::u16string_view text;
};
using Stroke = std::variant<Key, Typed, Pasted>;

struct Rule {
    const char* name;
    ControlId focus;
    std::vector<Stroke> strokes;
    // The focused control's text after the strokes; nothing: as it was before them.
    std::optional<std::u16string_view> text = {};
    // The binary digits that 「２進数に変換」 then shows.
    std::optional<std::u16string_view> converted = {};
    bool duringPausedRun = false;
};

inline std::ostream& operator<<(std::ostream& out, const Rule& rule) {
    return out << rule.name;
}

using enum Key;
using enum ControlId;

inline const std::vector<Rule> kRules = {
    {"EscapeAfterTyping", Decimal, {Typed{u"5"}, Escape, Escape}, u"5"},
    {"EscapeAfterCopying", Binary, {Copy, Escape, Escape}},
    {"EnterAndEscapeInThePathBox", ModulePath, {Enter, Escape, Enter, Escape}},
    {"EscapeDuringAPausedRun", ModulePath, {Enter, Escape, Escape}, {}, {}, true},
    {"EnterInTheResultLine", Binary, {Copy, Enter, Enter}},
    {"TabInTheInput", Decimal, {Typed{u"5"}, Tab, ShiftTab, Tab}, u"5"},
    {"TabOnExit", Exit, {Tab, ShiftTab, Tab}},
    {"KeysInTheResultBox", Result, {Enter, Escape, Tab, Enter, Escape}},
    {"EnterOnExit", Exit, {Enter, Enter}},
    {"EnterStartsALine", Decimal, {Typed{u"12"}, Enter, Typed{u"34"}}, u"12\r\n34", u"1100"},
    {"AltWithALetterTypesNothing", Decimal, {Typed{u"5"}, AltQ}, u"5"},
    {"ArrowsMoveTheCaret", Decimal, {Typed{u"12"}, Left, Typed{u"3"}, Up, Down}, u"132"},
    {"PastedLinesAreTakenWhole", Decimal, {Pasted{u"123\r\n4"}}, u"123\r\n4", u"1111011"},
};

// Runs one row through a window, which gives Focus, Type, Paste, Press, Click, Text, HasFocus,
// IsOpen, StartAPausedRun and WaitForTheRunsEnd.
template <typename Window>
void Check(Window& window, const Rule& rule) {
    if (rule.duringPausedRun) {
        ASSERT_NO_FATAL_FAILURE(window.StartAPausedRun());
    }
    window.Focus(rule.focus);
    const std::u16string before = window.Text(rule.focus);
    for (const Stroke& stroke : rule.strokes) {
        if (const auto* typed = std::get_if<Typed>(&stroke)) {
            window.Type(typed->text);
        } else if (const auto* pasted = std::get_if<Pasted>(&stroke)) {
            window.Paste(pasted->text);
        } else {
            window.Press(std::get<Key>(stroke));
        }
    }
    EXPECT_TRUE(window.IsOpen());
    EXPECT_TRUE(window.HasFocus(rule.focus));
    EXPECT_EQ(window.Text(rule.focus), rule.text.value_or(before));
    if (rule.converted) {
        window.Click(Convert);
        EXPECT_EQ(window.Text(Binary), *rule.converted);
    }
    if (rule.duringPausedRun) {
        EXPECT_EQ(window.Text(ControlId::Pause), u"再開");
        window.Click(ControlId::Pause);
        EXPECT_TRUE(window.WaitForTheRunsEnd());
    }
}

// A file run through the window: loaded, converted (paused and resumed on the way), shown and
// saved, with Exit ending the window. The window also gives IsShown and SaveTo.
template <typename Window>
void CheckAFileRun(Window& window, const std::filesystem::path& saved) {
    ASSERT_NO_FATAL_FAILURE(window.StartAPausedRun());
    window.Click(ControlId::Pause);
    ASSERT_TRUE(window.WaitForTheRunsEnd());
    const std::string result = Repeated("111\r\n", 1000);
    EXPECT_EQ(window.Text(Result), std::u16string(result.begin(), result.end()));
    EXPECT_FALSE(window.IsShown(Progress));
    ASSERT_TRUE(window.SaveTo(saved));
    EXPECT_EQ(ReadFileBytes(saved), result);
    window.Click(Exit);
    EXPECT_FALSE(window.IsOpen());
}

}  // namespace key_rules
