#pragma once

// What the main window does as a desktop window, one table for both front ends: Alt and each
// field's, button's or link's access key reaches it, only while a user could; a file dropped on the
// window loads, anything else dropped is refused before release; every caption fits at every scale
// (the scales are each window's own).

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/TestBytes.h"
#include "ui/ControlTable.h"

namespace desktop_rules {

struct KeyRow {
    std::string_view control;
    char16_t key;
    AccessAction action;
    // Shown and enabled as the window starts.
    bool usable;
};

inline std::ostream& operator<<(std::ostream& out, const KeyRow& row) {
    return out << row.control;
}

using AccessAction::Focus, AccessAction::Press;

inline const std::vector<KeyRow> kKeys = {
    {"m_checkAutoRun", u'A', Press, true},    {"m_checkShowMessages", u'M', Press, false},
    {"m_btnAbout", u'V', Press, true},        {"m_editDecimal", u'N', Focus, true},
    {"m_btnConvert", u'B', Press, true},      {"m_editBinary", u'2', Focus, true},
    {"m_browseFile", u'F', Focus, true},      {"browseButton", u'O', Press, true},
    {"m_btnLoadFile", u'L', Press, true},     {"m_btnConvertFile", u'C', Press, false},
    {"m_btnPause", u'P', Press, false},       {"m_btnCancel", u'T', Press, false},
    {"m_editProgress", u'G', Focus, false},   {"m_editFileContents", u'I', Focus, true},
    {"m_editResult", u'R', Focus, true},      {"m_btnSave", u'S', Press, false},
    {"m_editModulePath", u'E', Focus, true},  {"m_btnExit", u'X', Press, true},
    {"linkWorkingFolder", u'W', Focus, true}, {"linkHelp", u'H', Focus, true},
};

// A window gives AltKey (with the box the browse button opens closed), HasFocus, WasPressed (a
// click reached the dialog, or the browse button opened its box) and KeyBinding, as assistive
// technology reads it, where the system lets it be read.
template <typename Window>
void Check(Window& window, const KeyRow& row) {
    if (const std::optional<std::u16string> binding = window.KeyBinding(row.control)) {
        EXPECT_EQ(*binding, u"Alt+" + std::u16string(1, row.key));
    }
    window.AltKey(row);
    if (row.action == Focus) {
        EXPECT_EQ(window.HasFocus(row.control), row.usable);
    } else {
        EXPECT_EQ(window.WasPressed(row.control), row.usable);
    }
}

struct DropRow {
    const char* name;
    std::vector<std::string_view> files;
    bool loads;
};

inline std::ostream& operator<<(std::ostream& out, const DropRow& row) {
    return out << row.name;
}

inline const std::vector<DropRow> kDrops = {
    {"OneFileLoads", {"numbers.txt"}, true},
    {"TwoFilesAreRefused", {"numbers.txt", "more.txt"}, false},
};

// A window gives DragOver (whether the cursor shows the drop as taken, as a copy: a move would
// have the source delete the file), Drop (which returns once
// any load has ended), and Text of the path field and the file's box.
template <typename Window>
void Check(Window& window, const DropRow& row, const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const std::string_view name : row.files) {
        files.push_back(folder / name);
        WriteFileBytes(files.back(), "5\r\n3\r\n");
    }
    EXPECT_EQ(window.DragOver(files), row.loads);
    window.Drop(files);
    EXPECT_EQ(window.Text(ControlId::BrowseFile), row.loads ? files[0].u16string() : u"");
    EXPECT_EQ(window.Text(ControlId::FileContents), row.loads ? u"5\r\n3\r\n" : u"");
}

}  // namespace desktop_rules
