#pragma once

#include <QAccessibleWidget>

#include "ui/qt/AccessKeyProperty.h"

// What assistive technology sees of a field that shows text the user cannot change: a text with
// its value, its caret and its selection, read-only and never editable, whose value cannot be
// set from outside. A field gives the rest of the text interface.
class ReadOnlyTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    ReadOnlyTextAccessible(QWidget* widget, bool multiLine)
        : QAccessibleWidget(widget, QAccessible::EditableText), m_multiLine(multiLine) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.editable = false;
        state.multiLine = m_multiLine;
        state.selectableText = true;
        return state;
    }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Accelerator ? AccessKeyOf(widget())
                                                : QAccessibleWidget::text(kind);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        return AccessKeyBindings(widget(), action == setFocusAction());
    }
    void setText(QAccessible::Text kind, const QString& text) override {
        if (kind != QAccessible::Value) {
            QAccessibleWidget::setText(kind, text);
        }
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

  private:
    bool m_multiLine;
};
