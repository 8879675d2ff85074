#include "ui/qt/FieldAccessible.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/qt/AccessKeyProperty.h"
#include "ui/qt/LinkLabel.h"
#include "ui/qt/NumberFieldAccessible.h"
#include "ui/qt/ReadOnlyTextAccessible.h"

namespace {

// Qt's own line-edit object calls a read-only field editable too, and writes its text when asked.
class ReadOnlyLineAccessible final : public ReadOnlyTextAccessible {
  public:
    explicit ReadOnlyLineAccessible(QLineEdit* line) : ReadOnlyTextAccessible(line, false) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? Line().text() : ReadOnlyTextAccessible::text(kind);
    }
    using ReadOnlyTextAccessible::setText;

    void selection(int index, int* start, int* end) const override {
        const bool any = index == 0 && Line().hasSelectedText();
        *start = any ? Line().selectionStart() : 0;
        *end = any ? Line().selectionEnd() : 0;
    }
    int selectionCount() const override { return Line().hasSelectedText() ? 1 : 0; }
    void removeSelection(int) override { Line().deselect(); }
    void setSelection(int, int start, int end) override { Line().setSelection(start, end - start); }
    int cursorPosition() const override { return Line().cursorPosition(); }
    void setCursorPosition(int position) override { Line().setCursorPosition(position); }
    QString text(int start, int end) const override {
        return Line().text().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Line().text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint& point) const override {
        return Line().cursorPositionAt(Line().mapFromGlobal(point));
    }

  private:
    QLineEdit& Line() const { return *static_cast<QLineEdit*>(widget()); }
};

class LinkAccessible final : public QAccessibleWidget {
  public:
    explicit LinkAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Accelerator) {
            return AccessKeyOf(widget());
        }
        return kind == QAccessible::Name || kind == QAccessible::Value
                   ? static_cast<LinkLabel*>(widget())->Target()
                   : QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString& action) const override {
        return AccessKeyBindings(widget(), action == pressAction());
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && widget()->isEnabled()) {
            static_cast<LinkLabel*>(widget())->Open();
        }
    }
};

// A toggle answers at once: the click it makes, and the box that may follow, come from the event
// loop. A check box that no user could reach (hidden by the dialog, or disabled) takes none.
class CheckBoxAccessible final : public QAccessibleWidget {
  public:
    explicit CheckBoxAccessible(QCheckBox* box) : QAccessibleWidget(box, QAccessible::CheckBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Accelerator) {
            return AccessKeyOf(widget());
        }
        const QString own = QAccessibleWidget::text(kind);
        return kind == QAccessible::Name && own.isEmpty() ? Box().text() : own;
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        return AccessKeyBindings(widget(), actionNames().contains(action));
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Box().isChecked();
        return state;
    }
    QStringList actionNames() const override { return {toggleAction(), pressAction()}; }
    void doAction(const QString& action) override {
        QCheckBox* box = &Box();
        if (actionNames().contains(action) && !box->isHidden() && box->isEnabled()) {
            QMetaObject::invokeMethod(box, &QCheckBox::click, Qt::QueuedConnection);
        }
    }

  private:
    QCheckBox& Box() const { return *static_cast<QCheckBox*>(widget()); }
};

QAccessibleInterface* FieldInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("QCheckBox")) {
        return new CheckBoxAccessible(static_cast<QCheckBox*>(object));
    }
    if (className == QLatin1String("QLineEdit")) {
        auto* line = qobject_cast<QLineEdit*>(object);
        return line != nullptr && line->isReadOnly() ? new ReadOnlyLineAccessible(line) : nullptr;
    }
    if (className == QLatin1String("QPlainTextEdit")) {
        auto* box = qobject_cast<QPlainTextEdit*>(object);
        return box != nullptr && !box->isReadOnly() ? NumberFieldInterface(box) : nullptr;
    }
    if (className == QLatin1String("LinkLabel")) {
        return new LinkAccessible(static_cast<LinkLabel*>(object));
    }
    return nullptr;
}

}  // namespace

// Qt keeps one of each factory, however often it is installed, and drops them all with the
// application: each window installs them anew.
void InstallFieldAccessibles() {
    QAccessible::installFactory(&FieldInterface);
}
