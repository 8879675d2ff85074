#pragma once

// What the large-text views do with keys, clicks and their menu, one table for both front ends:
// each row ends by copying, and what reaches the clipboard shows the selection.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "ui/TextViewModel.h"

namespace view_rules {

inline constexpr std::u16string_view kText = u"12 ab+cd\r\n345\r\n6";

// Enough lines to scroll through, for what the table cannot show.
inline std::u16string ManyLines() {
    std::u16string text = u"12 ab+cd\r\n";
    for (int n = 0; n < 200; ++n) {
        text += u"345\r\n";
    }
    return text;
}

enum class Act { Key, ShiftKey, Click, ShiftClick, DoubleClick, Copy, Menu };
struct Step {
    Act act;
    ViewKey key = ViewKey::Left;
    // A click's column on the first line; the mnemonic chosen from the menu.
    int column = 0;
    char16_t mnemonic = u'\0';
};
inline Step Press(Act act, ViewKey key) {
    return {act, key};
}
inline Step ClickAt(Act act, int column) {
    return {act, ViewKey::Left, column};
}
inline Step Choose(char16_t mnemonic) {
    return {Act::Menu, ViewKey::Left, 0, mnemonic};
}

struct Rule {
    const char* name;
    std::vector<Step> steps;
    std::u16string_view copied;
    // The menu's items as offered, " (off)" after those that cannot be chosen.
    std::vector<std::u16string> offered = {};
};

inline std::ostream& operator<<(std::ostream& out, const Rule& rule) {
    return out << rule.name;
}

using enum Act;
using enum ViewKey;
inline const Step kCopy{Copy};

inline const std::vector<Rule> kRules = {
    {"ShiftEndSelectsTheLine", {Press(ShiftKey, End), kCopy}, u"12 ab+cd"},
    {"ShiftRightCrossesTheLineBreakWhole",
     {Press(ShiftKey, End), Press(Key, Right), Press(ShiftKey, Right), Press(ShiftKey, Right),
      kCopy},
     u"\r\n3"},
    {"ShiftDownSelectsToTheSamePlaceBelow",
     {ClickAt(Click, 2), Press(ShiftKey, Down), kCopy},
     u" ab+cd\r\n34"},
    {"ADoubleClickSelectsAWord", {ClickAt(DoubleClick, 4), kCopy}, u"ab"},
    {"AShiftClickExtends", {ClickAt(Click, 1), ClickAt(ShiftClick, 5), kCopy}, u"2 ab"},
    {"TheMenuSelectsAll", {Choose(u'a'), kCopy}, kText, {u"コピー(&C) (off)", u"すべて選択(&A)"}},
    {"TheMenuCopies",
     {ClickAt(DoubleClick, 7), Choose(u'c')},
     u"cd",
     {u"コピー(&C)", u"すべて選択(&A)"}},
};

// Runs one row through a view holding kText, which gives Do(step) for keys and clicks,
// ChooseFromMenu(mnemonic), returning the items offered, and Clipboard().
template <typename View>
void Check(View& view, const Rule& rule) {
    for (const Step& step : rule.steps) {
        if (step.act == Menu) {
            EXPECT_EQ(view.ChooseFromMenu(step.mnemonic), rule.offered);
        } else {
            view.Do(step);
        }
    }
    EXPECT_EQ(view.Clipboard(), rule.copied);
}

}  // namespace view_rules
