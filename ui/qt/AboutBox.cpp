#include "ui/qt/AboutBox.h"

#include <QLabel>
#include <QPushButton>

#include "ui/ControlTable.h"
#include "ui/qt/DialogUnits.h"
#include "ui/qt/QtText.h"

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("aboutBox");
    setWindowTitle(ToQString(kAboutDialog.caption));
    setFont(DialogFont(kAboutDialog));
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(kAboutDialog.width, kAboutDialog.height));
    QPushButton* ok = nullptr;
    for (const ControlTemplate& item : AboutBoxControls()) {
        QWidget* control = nullptr;
        if (item.kind == ControlKind::DefaultButton) {
            control = ok = new QPushButton(ToQString(item.text), this);
            ok->setDefault(true);
        } else {
            control = new QLabel(ToQString(item.text), this);
        }
        control->setObjectName(QString::fromLatin1(item.objectName.data(),
                                                   static_cast<qsizetype>(item.objectName.size())));
        control->setGeometry(units.ToPixels(item.rect));
    }
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
