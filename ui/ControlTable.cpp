#include "ui/ControlTable.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr EditStyle kSingleNumberInput{.multiLine = true,
                                       .readOnly = false,
                                       .enterAddsLine = true,
                                       .scrollBars = false,
                                       .scrollsAlong = true,
                                       .scrollsDown = true};
constexpr EditStyle kReadOnlyLine{.multiLine = true, .readOnly = true, .scrollsAlong = true};
constexpr EditStyle kProgressText{.multiLine = true, .readOnly = true, .border = false};
constexpr EditStyle kTextBox{.multiLine = true,
                             .readOnly = true,
                             .scrollBars = true,
                             .scrollsAlong = true,
                             .scrollsDown = true};
constexpr EditStyle kPathField{.multiLine = false, .readOnly = true, .scrollsAlong = true};

using enum ControlId;
using ControlKind::BrowseField, ControlKind::Button, ControlKind::CheckBox,
    ControlKind::DefaultButton, ControlKind::Edit, ControlKind::Label, ControlKind::Link;

constexpr ControlTemplate kControls[] = {
    {Exit, DefaultButton, "m_btnExit", u"終了", {359, 309, 60, 14}},
    {About, Button, "m_btnAbout", u"バージョン情報", {369, 7, 50, 14}},
    {AutoRun, CheckBox, "m_checkAutoRun", u"自動処理を行う", {7, 7, 69, 10}},
    {ShowMessages, CheckBox, "m_checkShowMessages", u"メッセージを表示する", {78, 7, 81, 10}},
    {{}, Label, "labelDecimal", u"正数の１０進数を入力して下さい。", {7, 23, 136, 8}},
    {Decimal, Edit, "m_editDecimal", u"", {7, 32, 93, 14}, kSingleNumberInput, "labelDecimal"},
    {Binary, Edit, "m_editBinary", u"", {162, 32, 257, 14}, kReadOnlyLine, {}, u"２進数の変換結果"},
    {Convert, Button, "m_btnConvert", u"２進数に変換", {101, 32, 60, 14}},
    {{}, Label, "labelFile", u"２進数に変換したいファイルを選択して下さい。", {7, 51, 180, 8}},
    {BrowseFile, BrowseField, "m_browseFile", u"", {7, 60, 412, 14}, kPathField, "labelFile"},
    {LoadFile, Button, "m_btnLoadFile", u"ファイル読込", {359, 75, 60, 14}},
    {ConvertFile, Button, "m_btnConvertFile", u"ファイルデータを変換", {359, 91, 60, 14}},
    {Cancel, Button, "m_btnCancel", u"キャンセル", {359, 113, 60, 14}},
    {Save, Button, "m_btnSave", u"保存", {359, 199, 60, 14}},
    {ProgressText, Edit, "m_editProgress", u"", {7, 94, 50, 12}, kProgressText, {}, u"進捗率"},
    {ControlId::Progress,
     ControlKind::Progress,
     "m_progress",
     u"",
     {7, 106, 412, 6},
     {},
     {},
     u"変換の進捗"},
    {{}, Label, "labelFileContents", u"ファイルの内容", {7, 118, 78, 8}},
    {{}, Label, "labelResult", u"処理結果", {121, 118, 74, 8}},
    {FileContents,
     Edit,
     "m_editFileContents",
     u"",
     {7, 128, 112, 70},
     kTextBox,
     "labelFileContents"},
    {ControlId::Result, Edit, "m_editResult", u"", {121, 128, 298, 70}, kTextBox, "labelResult"},
    {{}, Label, "notice1", u"Tallow Ver2　バージョン 2.2.10", {7, 237, 203, 8}},
    {{}, Label, "notice2", u"Copyright (C) 2026 Merrow. All rights reserved.", {7, 249, 201, 8}},
    {{}, Label, "notice3", u"本ソフトウェアの著作権は Merrow が保有しています。", {7, 261, 223, 8}},
    {{}, Label, "notice4", u"本ソフトウェアは著作権法により保護されています。", {7, 273, 221, 8}},
    {{}, Label, "notice5", u"使用許諾の範囲内で、法令に従ってご使用下さい。", {7, 285, 238, 8}},
    {FirstLink, Link, "linkWorkingFolder", u"", {7, 295, 187, 14}},
    {SecondLink, Link, "linkHelp", u"", {7, 309, 303, 14}},
    {Pause, Button, "m_btnPause", u"一時停止", {298, 113, 60, 14}},
    {{},
     Label,
     "labelModulePath",
     u"本ソフトウェアのフルパスです。プロセス起動する場合に使用して下さい。",
     {7, 205, 219, 8}},
    {ModulePath,
     Edit,
     "m_editModulePath",
     u"",
     {7, 214, 412, 14},
     kReadOnlyLine,
     "labelModulePath"},
};

constexpr ControlTemplate kAboutControls[] = {
    {{}, Label, "aboutNotice1", u"Tallow Ver2　バージョン 2.2.10", {10, 8, 271, 9}},
    {{},
     Label,
     "aboutNotice2",
     u"Copyright (C) 2026 Merrow. All rights reserved.",
     {10, 20, 271, 9}},
    {{}, Label, "aboutNotice3", u"著作権者：Merrow", {10, 32, 271, 9}},
    {{}, Label, "aboutNotice4", u"所在地：公開しておりません", {10, 44, 271, 9}},
    {{}, Label, "aboutNotice5", u"電話番号：公開しておりません", {10, 56, 271, 9}},
    {{},
     Label,
     "aboutNotice6",
     u"本ソフトウェアは著作権法および国際条約により保護されています。",
     {10, 68, 271, 9}},
    {{},
     Label,
     "aboutNotice7",
     u"使用許諾の範囲内で、法令に従ってご使用下さい。",
     {10, 80, 271, 9}},
    {Exit, DefaultButton, "aboutOk", u"OK", {120, 103, 50, 14}},
};

using AccessAction::Focus, AccessAction::Press;

constexpr AccessKey kAccessKeys[] = {
    {"m_checkAutoRun", u'A', Press},    {"m_checkShowMessages", u'M', Press},
    {"m_btnAbout", u'V', Press},        {"m_editDecimal", u'N', Focus},
    {"m_btnConvert", u'B', Press},      {"m_editBinary", u'2', Focus},
    {"m_browseFile", u'F', Focus},      {"browseButton", u'O', Press},
    {"m_btnLoadFile", u'L', Press},     {"m_btnConvertFile", u'C', Press},
    {"m_btnPause", u'P', Press},        {"m_btnCancel", u'T', Press},
    {"m_editProgress", u'G', Focus},    {"m_editFileContents", u'I', Focus},
    {"m_editResult", u'R', Focus},      {"m_btnSave", u'S', Press},
    {"m_editModulePath", u'E', Focus},  {"m_btnExit", u'X', Press},
    {"linkWorkingFolder", u'W', Focus}, {"linkHelp", u'H', Focus},
};

}  // namespace

std::span<const AccessKey> AccessKeys() {
    return kAccessKeys;
}

const AccessKey* FindAccessKey(char16_t key) {
    const auto* found = std::find_if(std::begin(kAccessKeys), std::end(kAccessKeys),
                                     [&](const AccessKey& k) { return k.key == key; });
    return found == std::end(kAccessKeys) ? nullptr : found;
}

std::u16string AccessKeyText(const AccessKey& key) {
    return std::u16string(u"Alt+") + key.key;
}

const DialogTemplate kAboutDialog{u"バージョン情報", 291, 124, u"MS Shell Dlg", 8};

std::span<const ControlTemplate> AboutBoxControls() {
    return kAboutControls;
}

const DialogTemplate kMainDialog{u"Tallow Ver2", 426, 330, u"MS UI Gothic", 9};

std::span<const ControlTemplate> MainDialogControls() {
    return kControls;
}

const ControlTemplate* LabelOf(const ControlTemplate& control) {
    if (control.label.empty()) {
        return nullptr;
    }
    const auto* found = std::find_if(std::begin(kControls), std::end(kControls),
                                     [&](const auto& c) { return c.objectName == control.label; });
    return found == std::end(kControls) ? nullptr : found;
}

std::u16string_view AccessibleName(const ControlTemplate& control) {
    if (const ControlTemplate* label = LabelOf(control)) {
        return label->text;
    }
    return control.accessibleName;
}
