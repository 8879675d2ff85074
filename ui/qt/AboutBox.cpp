#include "ui/qt/AboutBox.h"

#include <QLabel>
#include <QPushButton>

#include "ui/qt/DialogUnits.h"
#include "ui/qt/QtText.h"

namespace {

const DialogTemplate kAboutDialog{u"バージョン情報", 291, 124, u"MS Shell Dlg", 8};

constexpr std::u16string_view kNotices[] = {
    u"Tallow Ver2　バージョン 2.2.10",
    u"Copyright (C) 2026 Merrow. All rights reserved.",
    u"著作権者：Merrow",
    u"所在地：公開しておりません",
    u"電話番号：公開しておりません",
    u"本ソフトウェアは著作権法および国際条約により保護されています。",
    u"使用許諾の範囲内で、法令に従ってご使用下さい。",
};

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("aboutBox");
    setWindowTitle(ToQString(kAboutDialog.caption));
    setFont(DialogFont(kAboutDialog));
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(kAboutDialog.width, kAboutDialog.height));
    int line = 0;
    for (const std::u16string_view notice : kNotices) {
        auto* label = new QLabel(ToQString(notice), this);
        label->setObjectName(QStringLiteral("aboutNotice%1").arg(line + 1));
        label->setGeometry(units.ToPixels(DialogRect{10, 8 + 12 * line, 271, 9}));
        ++line;
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("aboutOk");
    ok->setDefault(true);
    ok->setGeometry(units.ToPixels(DialogRect{120, 103, 50, 14}));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
