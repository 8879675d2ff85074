#include "ui/qt/TallowWindow.h"

#include <QApplication>

#include <QCheckBox>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>
#include <filesystem>
#include <string_view>
#include <vector>

#include "ui/DialogEvents.h"
#include "ui/TextFit.h"
#include "ui/qt/AccessKeyProperty.h"
#include "ui/qt/BrowseField.h"
#include "ui/qt/DialogUnits.h"
#include "ui/qt/FieldAccessible.h"
#include "ui/qt/LinkLabel.h"
#include "ui/qt/QtText.h"
#include "ui/qt/TextView.h"

namespace {

QWidget* CreateEdit(const EditStyle& style, QWidget* parent) {
    if (style.readOnly && style.scrollBars) {
        return new TextView(parent);
    }
    if (!style.multiLine || (style.readOnly && !style.scrollBars)) {
        auto* line = new QLineEdit(parent);
        line->setReadOnly(style.readOnly);
        line->setFrame(style.border);
        if (style.readOnly) {
            // Read-only fields take the dialog's colour, as they do on Windows.
            QPalette palette = line->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            line->setPalette(palette);
        }
        return line;
    }
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(style.readOnly);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    const Qt::ScrollBarPolicy bars =
        style.scrollBars ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    box->setHorizontalScrollBarPolicy(bars);
    box->setVerticalScrollBarPolicy(bars);
    if (!style.scrollBars) {
        box->document()->setDocumentMargin(1);
    }
    return box;
}

// Assistive technology names each control as the table does; a label tells which field it names.
void Name(QWidget* control, const ControlTemplate& item,
          const std::map<std::string_view, QLabel*>& labels) {
    const std::u16string_view name = AccessibleName(item);
    if (name.empty()) {
        return;
    }
    // In the browse field, the path is what takes the focus and is read.
    auto* browse = qobject_cast<BrowseField*>(control);
    QWidget* named = browse != nullptr ? browse->PathField() : control;
    control->setAccessibleName(ToQString(name));
    named->setAccessibleName(control->accessibleName());
    if (const ControlTemplate* label = LabelOf(item)) {
        labels.at(label->objectName)->setBuddy(named);
    }
}

// Dialog-unit sizes were made for a narrower font: labels and check boxes, which have free room
// to their right, grow to show their whole text; buttons keep their size and take a smaller font.
void FitText(QWidget* control) {
    if (qobject_cast<QLabel*>(control) != nullptr || qobject_cast<QCheckBox*>(control) != nullptr) {
        control->resize(std::max(control->width(), control->sizeHint().width()), control->height());
        return;
    }
    auto* button = qobject_cast<QPushButton*>(control);
    if (button == nullptr) {
        return;
    }
    constexpr int kPadding = 8;
    QFont font = button->font();
    font.setPointSizeF(
        FittingFontSize(font.pointSizeF(), 6, button->width() - kPadding, [&](double size) {
            QFont sized = font;
            sized.setPointSizeF(size);
            return QFontMetrics(sized).horizontalAdvance(button->text());
        }));
    button->setFont(font);
}

// Only local files count; anything else makes the drop one the dialog refuses.
std::vector<std::filesystem::path> DroppedFiles(const QMimeData* data) {
    std::vector<std::filesystem::path> files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return {};
        }
        files.emplace_back(url.toLocalFile().toStdU16String());
    }
    return files;
}

QIcon TallowIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/tallow-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace

TallowWindow::TallowWindow()
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("tallowWindow");
    setWindowTitle(ToQString(kMainDialog.caption));
    // The icon's pictures are built into this static library, which nothing else would link in.
    Q_INIT_RESOURCE(tallow);
    setWindowIcon(TallowIcon());
    setFont(DialogFont(kMainDialog));
    const DialogUnits units(font());
    setFixedSize(units.ToPixels(kMainDialog.width, kMainDialog.height));
    InstallFieldAccessibles();
    std::map<std::string_view, QLabel*> labels;
    for (const ControlTemplate& item : MainDialogControls()) {
        QWidget* control = CreateControl(item);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            labels[item.objectName] = label;
        }
        control->setObjectName(QString::fromLatin1(item.objectName.data(),
                                                   static_cast<qsizetype>(item.objectName.size())));
        control->setGeometry(units.ToPixels(item.rect));
        FitText(control);
        control->installEventFilter(this);
        if (auto* box = qobject_cast<QPlainTextEdit*>(control); box && !box->isReadOnly()) {
            KeepTextWhileUnusable(box);
        }
        if (item.id) {
            m_controls[*item.id] = control;
        }
    }
    for (const ControlTemplate& item : MainDialogControls()) {
        if (item.id) {
            Name(Control(*item.id), item, labels);
        }
    }
    // A file dropped on a field loads it, as anywhere else on the window.
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setAcceptDrops(false);
    }
    setAcceptDrops(true);
    auto* modulePath = qobject_cast<QLineEdit*>(Control(ControlId::ModulePath));
    connect(modulePath, &QLineEdit::textChanged, modulePath, &QWidget::setToolTip);
    BindAccessKeys();
}

// A button's key presses it as Qt presses a button, with the focus moved to it; a field's or a
// link's key moves the focus there. Neither reaches a control that no user could.
void TallowWindow::BindAccessKeys() {
    for (const AccessKey& access : AccessKeys()) {
        auto* control = findChild<QWidget*>(ToQString(access.control));
        if (auto* browse = qobject_cast<BrowseField*>(control)) {
            control = browse->PathField();
        }
        control->setProperty(kAccessKeyProperty, ToQString(AccessKeyText(access)));
        const QKeySequence keys(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(access.key)));
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setShortcut(keys);
            continue;
        }
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, control, [control] {
            if (control->isVisible() && control->isEnabled()) {
                control->setFocus(Qt::ShortcutFocusReason);
            }
        });
    }
}

void TallowWindow::SetLinks(const QString& workingFolder, const QString& helpFile) {
    qobject_cast<LinkLabel*>(Control(ControlId::FirstLink))->SetTarget(workingFolder);
    qobject_cast<LinkLabel*>(Control(ControlId::SecondLink))->SetTarget(helpFile);
}

QWidget* TallowWindow::CreateControl(const ControlTemplate& item) {
    const QString text = ToQString(item.text);
    switch (item.kind) {
        case ControlKind::DefaultButton:
        case ControlKind::Button: {
            auto* button = new QPushButton(text, this);
            button->setAutoDefault(false);
            button->setDefault(item.kind == ControlKind::DefaultButton);
            return button;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(text, this);
        case ControlKind::Label:
            return new QLabel(text, this);
        case ControlKind::Edit:
            return CreateEdit(item.edit, this);
        case ControlKind::BrowseField:
            return new BrowseField(this);
        case ControlKind::Progress: {
            auto* progress = new QProgressBar(this);
            progress->setTextVisible(false);
            progress->setRange(0, 100);
            progress->setValue(0);
            return progress;
        }
        case ControlKind::Link:
            return new LinkLabel(this);
    }
    return nullptr;
}

bool TallowWindow::Start(DialogEvents& dialog) {
    m_dialog = &dialog;
    for (const auto& [id, widget] : m_controls) {
        const auto clicked = [&dialog, id = id] { dialog.OnClicked(id); };
        // A check box toggled through assistive technology is clicked as much as by the mouse.
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            connect(box, &QCheckBox::toggled, this, clicked);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            connect(button, &QAbstractButton::clicked, this, clicked);
        }
    }
    dialog.OnInitDialog();
    Control(ControlId::Exit)->setFocus();
    return !m_ended;
}

// Assistive technology can write into a field that no user could reach: hidden or disabled, it
// keeps the text it had, unless the program itself writes it.
void TallowWindow::KeepTextWhileUnusable(QPlainTextEdit* box) {
    connect(box, &QPlainTextEdit::textChanged, this, [this, box, kept = QString()]() mutable {
        if (m_programWrites || (!box->isHidden() && box->isEnabled())) {
            kept = box->toPlainText();
        } else if (box->toPlainText() != kept) {
            const QSignalBlocker quiet(box);
            box->setPlainText(kept);
        }
    });
}

void TallowWindow::WriteAsProgram(const std::function<void()>& write) {
    m_programWrites = true;
    write();
    m_programWrites = false;
}

// A box still open (a message, the save dialog, About) closes with the window, so that the
// program can end.
void TallowWindow::EndDialog() {
    m_ended = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QDialog*>(window);
        if (box != nullptr && box != this && box->isVisible()) {
            box->reject();
        }
    }
    done(0);
}

// A close from the window manager cancels the dialog, skipping the Exit button's steps; during a
// run, the dialog ends once the run has stopped.
void TallowWindow::closeEvent(QCloseEvent* event) {
    if (!m_ended && m_dialog != nullptr) {
        m_dialog->OnCancel();
    }
    event->setAccepted(m_ended || m_dialog == nullptr);
}

void TallowWindow::keyPressEvent(QKeyEvent* event) {
    event->accept();
}

void TallowWindow::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

// Taken as a copy, or a link when the source offers no copy: never as a move, after which the
// source would delete the file.
bool TallowWindow::TakeDrop(QDropEvent* event) {
    const std::vector<std::filesystem::path> files = DroppedFiles(event->mimeData());
    const Qt::DropActions offered = event->possibleActions();
    if (m_dialog == nullptr || !m_dialog->AcceptsDrop(files) ||
        (offered & (Qt::CopyAction | Qt::LinkAction)) == 0) {
        event->ignore();
        return false;
    }
    event->setDropAction(offered & Qt::CopyAction ? Qt::CopyAction : Qt::LinkAction);
    event->accept();
    return true;
}

void TallowWindow::dragMoveEvent(QDragMoveEvent* event) {
    TakeDrop(event);
}

// The load runs once the drop has returned, so that no message box holds the dragging program.
void TallowWindow::dropEvent(QDropEvent* event) {
    if (TakeDrop(event)) {
        QMetaObject::invokeMethod(
            this, [this, files = DroppedFiles(event->mimeData())] { m_dialog->OnDrop(files); },
            Qt::QueuedConnection);
    }
}

bool TallowWindow::focusNextPrevChild(bool) {
    return false;
}

bool TallowWindow::eventFilter(QObject* watched, QEvent* event) {
    // Tab moves no focus and types no tab, which is never part of a number; Enter presses no
    // button. Alt and a key that is no access key types nothing, as in a Windows edit.
    if (event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        const bool altText = press->modifiers() == Qt::AltModifier && !press->text().isEmpty();
        return key == Qt::Key_Tab || key == Qt::Key_Backtab || altText ||
               (enter && qobject_cast<QAbstractButton*>(watched) != nullptr);
    }
    return QDialog::eventFilter(watched, event);
}
