#pragma once

// The main dialog's template: its caption, size and every control in tab order, with positions
// and sizes in dialog units. The window is built from it.

#include <optional>
#include <span>
#include <string_view>

#include "ui/ControlId.h"

enum class ControlKind {
    DefaultButton,
    Button,
    CheckBox,
    Label,
    Edit,
    BrowseField,
    Progress,
    Link
};

// How an edit control behaves; the defaults are a single-line field.
struct EditStyle {
    bool multiLine = false;
    bool readOnly = false;
    bool enterAddsLine = false;
    bool scrollBars = false;
    bool border = true;
};

struct DialogRect {
    int x;
    int y;
    int width;
    int height;
};

struct ControlTemplate {
    std::optional<ControlId> id;
    ControlKind kind;
    std::string_view objectName;
    std::u16string_view text;
    DialogRect rect;
    EditStyle edit = {};
};

struct DialogTemplate {
    std::u16string_view caption;
    int width;
    int height;
    std::u16string_view fontFamily;
    int fontPointSize;
};

extern const DialogTemplate kMainDialog;

std::span<const ControlTemplate> MainDialogControls();
