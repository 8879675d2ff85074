#include "ui/qt/TextViewAccessible.h"

#include <QAccessibleWidget>
#include <algorithm>
#include <climits>

#include "ui/qt/QtText.h"
#include "ui/qt/TextView.h"

namespace {

int ToOffset(std::size_t offset) {
    return static_cast<int>(std::min<std::size_t>(offset, INT_MAX));
}

std::size_t FromOffset(int offset) {
    return static_cast<std::size_t>(std::max(0, offset));
}

class TextViewAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit TextViewAccessible(TextView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }

    // The whole text, as an edit control gives it.
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return ToQString(View().Text(), 0);
        }
        return QAccessibleWidget::text(kind);
    }

    void selection(int index, int* start, int* end) const override {
        const bool any = index == 0 && selectionCount() == 1;
        *start = any ? ToOffset(Model().SelectionStart()) : 0;
        *end = any ? ToOffset(Model().SelectionEnd()) : 0;
    }
    int selectionCount() const override {
        return Model().SelectionStart() < Model().SelectionEnd() ? 1 : 0;
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { setCursorPosition(cursorPosition()); }
    void setSelection(int, int start, int end) override {
        View().Select(FromOffset(start), FromOffset(end));
    }
    int cursorPosition() const override { return ToOffset(Model().Caret()); }
    void setCursorPosition(int position) override {
        View().Select(FromOffset(position), FromOffset(position));
    }
    QString text(int start, int end) const override {
        const std::size_t from = FromOffset(start);
        return ToQString(View().Text(), from, FromOffset(end) - std::min(from, FromOffset(end)));
    }
    int characterCount() const override { return ToOffset(View().Text().Size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

  private:
    TextView& View() const { return *static_cast<TextView*>(widget()); }
    const TextViewModel& Model() const { return View().Model(); }
};

QAccessibleInterface* TextViewInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("TextView") && object != nullptr && object->isWidgetType()) {
        return new TextViewAccessible(static_cast<TextView*>(object));
    }
    return nullptr;
}

}  // namespace

void InstallTextViewAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(&TextViewInterface);
        return true;
    }();
    static_cast<void>(installed);
}

void NotifyCaretMoved(TextView* view, std::size_t caret) {
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent moved(view, ToOffset(caret));
        QAccessible::updateAccessibility(&moved);
    }
}
