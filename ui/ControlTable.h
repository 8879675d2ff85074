#pragma once

// The dialogs' templates: caption, size, font and every control in tab order, with positions and
// sizes in dialog units. The Qt windows are built from them; a test holds the Win32 resource
// script's dialogs to them, id, kind, text, place, size and style.

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
    // The text scrolls sideways, or down, as the caret passes the edge.
    bool scrollsAlong = false;
    bool scrollsDown = false;
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
extern const DialogTemplate kAboutDialog;

std::span<const ControlTemplate> MainDialogControls();
std::span<const ControlTemplate> AboutBoxControls();
