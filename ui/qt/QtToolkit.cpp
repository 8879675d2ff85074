#include "ui/qt/QtToolkit.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <cstdlib>

#include "storage/UserDocuments.h"
#include "ui/qt/AboutBox.h"
#include "ui/qt/BrowseField.h"
#include "ui/qt/QtText.h"
#include "ui/qt/TallowWindow.h"
#include "ui/qt/TextView.h"

namespace {

// What the user typed or picked: line breaks read as CR LF, as the text a program reads.
QString UserText(QWidget* widget) {
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
        return box->toPlainText().replace(QChar(u'\n'), QStringLiteral("\r\n"));
    }
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        return line->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* browse = qobject_cast<BrowseField*>(widget)) {
        return browse->text();
    }
    return {};
}

void ShowInWidget(QWidget* widget, const QString& text) {
    if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
        box->setPlainText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(text);
        line->setCursorPosition(0);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* browse = qobject_cast<BrowseField*>(widget)) {
        browse->setText(text);
    }
}

}  // namespace

QtToolkit::QtToolkit(TallowWindow& window) : m_window(window) {
    // Once the user edits a field, its text is the widget's again.
    for (const ControlId id : {ControlId::Decimal, ControlId::BrowseFile}) {
        QWidget* widget = m_window.Control(id);
        const auto forget = [this, id] { m_texts.erase(id); };
        if (auto* box = qobject_cast<QPlainTextEdit*>(widget)) {
            QObject::connect(box, &QPlainTextEdit::textChanged, &m_context, forget);
        } else if (auto* browse = qobject_cast<BrowseField*>(widget)) {
            QObject::connect(browse, &BrowseField::textChanged, &m_context, forget);
        }
    }
}

QtToolkit::~QtToolkit() {
    JoinWorker();
}

void QtToolkit::WakeWindowThread() {
    QMetaObject::invokeMethod(
        &m_context, [this] { RunPosted(); }, Qt::QueuedConnection);
}

bool QtToolkit::SetVisible(ControlId control, bool visible) {
    QWidget* widget = m_window.Control(control);
    const bool wasVisible = !widget->isHidden();
    widget->setVisible(visible);
    return wasVisible;
}

void QtToolkit::SetEnabled(ControlId control, bool enabled) {
    m_window.Control(control)->setEnabled(enabled);
}

// Hidden by the dialog, not merely unshown: the window itself may not be on screen yet.
bool QtToolkit::IsUsable(ControlId control) {
    const QWidget* widget = m_window.Control(control);
    return !widget->isHidden() && widget->isEnabled();
}

SharedText QtToolkit::GetText(ControlId control) {
    if (auto* view = qobject_cast<TextView*>(m_window.Control(control))) {
        return view->Text();
    }
    const auto stored = m_texts.find(control);
    if (stored != m_texts.end()) {
        return stored->second;
    }
    return SharedText(
        std::make_shared<const WideString>(ToWideString(UserText(m_window.Control(control)))));
}

bool QtToolkit::IsTextView(ControlId control) const {
    return qobject_cast<TextView*>(m_window.Control(control)) != nullptr;
}

SharedText QtToolkit::ShowInView(ControlId control, SharedText text,
                                 std::shared_ptr<const LineIndex> index) {
    auto* view = qobject_cast<TextView*>(m_window.Control(control));
    SharedText shownBefore = view->Text();
    view->SetText(std::move(text), std::move(index));
    return shownBefore;
}

void QtToolkit::ShowText(ControlId control, SharedText text) {
    m_window.WriteAsProgram([&] { ShowInWidget(m_window.Control(control), ToQString(text, 0)); });
    m_texts[control] = std::move(text);
}

bool QtToolkit::IsChecked(ControlId control) {
    return qobject_cast<QAbstractButton*>(m_window.Control(control))->isChecked();
}

// The window forwards a check box's every toggle as a click; this one is none.
void QtToolkit::SetChecked(ControlId control, bool checked) {
    auto* box = qobject_cast<QAbstractButton*>(m_window.Control(control));
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
}

void QtToolkit::SetProgressRange(ControlId control, std::int32_t maximum) {
    qobject_cast<QProgressBar*>(m_window.Control(control))->setRange(0, maximum);
}

void QtToolkit::SetProgressPosition(ControlId control, std::int32_t position) {
    auto* bar = qobject_cast<QProgressBar*>(m_window.Control(control));
    bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

void QtToolkit::ShowMessage(std::u16string_view text, MessageIcon icon) {
    if (!m_messagesShown || m_window.Ended()) {
        return;
    }
    ExecMessageBox(text, icon, m_window.isVisible() ? &m_window : nullptr);
}

void QtToolkit::ExecMessageBox(std::u16string_view text, MessageIcon icon, QWidget* parent) {
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName(),
                    ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                    QMessageBox::Ok, parent);
    box.setObjectName("messageBox");
    box.exec();
}

void QtToolkit::Beep() {
    QApplication::beep();
}

void QtToolkit::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtToolkit::EndWaitCursor() {
    if (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
}

void QtToolkit::ShowAboutBox() {
    if (m_window.Ended()) {
        return;
    }
    AboutBox about(&m_window);
    about.exec();
}

void QtToolkit::EndDialog() {
    m_window.EndDialog();
}

std::optional<std::filesystem::path> QtToolkit::AskSavePath(const SaveDialogOptions& options) {
    if (m_window.Ended()) {
        return std::nullopt;
    }
    // Qt matches "*.*" only against names with a dot; "*" keeps the filter's meaning.
    const QString filter = QStringLiteral("%1 (*)").arg(ToQString(options.filterName));
    QFileDialog dialog(&m_window, QString(), QString(), filter);
    dialog.setObjectName("saveDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().constFirst().toStdU16String());
}

// As bytes from the user's settings to the file system: a folder whose name is not UTF-8 is
// found all the same.
std::filesystem::path QtToolkit::DocumentsFolder() {
    return UserDocumentsFolder();
}

std::filesystem::path QtToolkit::ExecutablePath() {
    return QCoreApplication::applicationFilePath().toStdU16String();
}
