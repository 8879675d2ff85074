#pragma once

// The dialogs' templates: caption, size, font and every control in tab order, with positions and
// sizes in dialog units. The Qt windows are built from them; a test holds the Win32 resource
// script's dialogs to them, id, kind, text, place, size and style.

#include <optional>
#include <span>
#include <string>
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
    // What assistive technology calls a control: the text of the label beside it (its object
    // name here), or, for a control with no label, a name of its own.
    std::string_view label = {};
    std::u16string_view accessibleName = {};
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
// The control's accessible name: its label's text or its own name. Empty for a control named by
// its own text, which may change (Pause becomes Resume).
std::u16string_view AccessibleName(const ControlTemplate& control);
// The main dialog's label beside control, if it has one.
const ControlTemplate* LabelOf(const ControlTemplate& control);
// The browse button inside the path field, which has no label of its own.
inline constexpr std::u16string_view kBrowseButtonName = u"ファイルを選択";
std::span<const ControlTemplate> AboutBoxControls();

// Alt and a letter or digit reaches each field, button and link: a field or a link takes the
// focus (where Enter opens the link), a button or a check box is pressed. The captions stay as
// they are; the keys are listed here once.
enum class AccessAction { Focus, Press };
struct AccessKey {
    // The control's object name; browseButton is the path field's button.
    std::string_view control;
    char16_t key;
    AccessAction action;
};
std::span<const AccessKey> AccessKeys();
// key is an upper-case letter or a digit, as both toolkits name the keys.
const AccessKey* FindAccessKey(char16_t key);
// How a screen reader says it: "Alt+N".
std::u16string AccessKeyText(const AccessKey& key);
