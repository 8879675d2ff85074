#include "ui/qt/NumberFieldAccessible.h"

#include <QAccessibleWidget>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "ui/qt/AccessKeyProperty.h"

namespace {

class NumberFieldAccessible final : public QAccessibleWidget,
                                    public QAccessibleTextInterface,
                                    public QAccessibleEditableTextInterface {
  public:
    explicit NumberFieldAccessible(QPlainTextEdit* field)
        : QAccessibleWidget(field, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return Field().toPlainText();
        }
        return kind == QAccessible::Accelerator ? AccessKeyOf(widget())
                                                : QAccessibleWidget::text(kind);
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind == QAccessible::Value) {
            Field().setPlainText(text);
        } else {
            QAccessibleWidget::setText(kind, text);
        }
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        return AccessKeyBindings(widget(), action == setFocusAction());
    }

    void selection(int index, int* start, int* end) const override {
        const QTextCursor cursor = Field().textCursor();
        const bool any = index == 0 && cursor.hasSelection();
        *start = any ? cursor.selectionStart() : 0;
        *end = any ? cursor.selectionEnd() : 0;
    }
    int selectionCount() const override { return Field().textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { setCursorPosition(cursorPosition()); }
    void setSelection(int, int start, int end) override { Field().setTextCursor(Span(start, end)); }
    int cursorPosition() const override { return Field().textCursor().position(); }
    void setCursorPosition(int position) override { setSelection(0, position, position); }
    QString text(int start, int end) const override {
        return Field().toPlainText().mid(start, end - start);
    }
    int characterCount() const override { return Field().document()->characterCount() - 1; }
    QRect characterRect(int offset) const override {
        QRect place = Field().cursorRect(Span(offset, offset));
        place.setWidth(Field().fontMetrics().horizontalAdvance(text(offset, offset + 1)));
        return {Field().viewport()->mapToGlobal(place.topLeft()), place.size()};
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Field().cursorForPosition(Field().viewport()->mapFromGlobal(point)).position();
    }
    void scrollToSubstring(int start, int) override {
        setCursorPosition(start);
        Field().ensureCursorVisible();
    }
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        Span(start, end).insertText(text);
    }

  private:
    QPlainTextEdit& Field() const { return *static_cast<QPlainTextEdit*>(widget()); }
    QTextCursor Span(int start, int end) const {
        const int last = characterCount();
        QTextCursor cursor(Field().document());
        cursor.setPosition(std::clamp(start, 0, last));
        cursor.setPosition(std::clamp(end, 0, last), QTextCursor::KeepAnchor);
        return cursor;
    }
};

}  // namespace

QAccessibleInterface* NumberFieldInterface(QPlainTextEdit* field) {
    return new NumberFieldAccessible(field);
}
