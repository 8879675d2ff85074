#include "ui/qt/TextViewAccessible.h"

#include <algorithm>
#include <climits>

#include "ui/qt/QtText.h"
#include "ui/qt/ReadOnlyTextAccessible.h"
#include "ui/qt/TextView.h"

namespace {

int ToOffset(std::size_t offset) {
    return static_cast<int>(std::min<std::size_t>(offset, INT_MAX));
}

std::size_t FromOffset(int offset) {
    return static_cast<std::size_t>(std::max(0, offset));
}

TextUnit UnitOf(QAccessible::TextBoundaryType boundary) {
    switch (boundary) {
        case QAccessible::CharBoundary:
            return TextUnit::Character;
        case QAccessible::WordBoundary:
            return TextUnit::Word;
        case QAccessible::SentenceBoundary:
        case QAccessible::ParagraphBoundary:
        case QAccessible::LineBoundary:
            return TextUnit::Line;
        case QAccessible::NoBoundary:
            break;
    }
    return TextUnit::Whole;
}

// A text event carries the text itself over D-Bus: a view's text can be hundreds of megabytes, so
// the event holds its start, and a reader asks for the rest as it needs it.
constexpr std::size_t kMostAnnounced = 1 << 16;

class TextViewAccessible final : public ReadOnlyTextAccessible {
  public:
    explicit TextViewAccessible(TextView* view) : ReadOnlyTextAccessible(view, true) {}

    // The whole text, as an edit control gives it; the lookups below copy only what they return.
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return ToQString(View().Text(), 0);
        }
        return ReadOnlyTextAccessible::text(kind);
    }
    using ReadOnlyTextAccessible::setText;

    void selection(int index, int* start, int* end) const override {
        const bool any = index == 0 && selectionCount() == 1;
        *start = any ? ToOffset(Model().SelectionStart()) : 0;
        *end = any ? ToOffset(Model().SelectionEnd()) : 0;
    }
    int selectionCount() const override {
        return Model().SelectionStart() < Model().SelectionEnd() ? 1 : 0;
    }
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
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                             int* end) const override {
        return Spanned(Model().UnitBefore(UnitOf(boundary), FromOffset(offset)), start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                         int* end) const override {
        return Spanned(Model().UnitAt(UnitOf(boundary), FromOffset(offset)), start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                            int* end) const override {
        return Spanned(Model().UnitAfter(UnitOf(boundary), FromOffset(offset)), start, end);
    }
    // On the screen, as assistive technology measures.
    QRect characterRect(int offset) const override {
        const ViewBox box = Model().CharacterBox(FromOffset(offset));
        const QPoint topLeft = View().viewport()->mapToGlobal(
            QPoint(static_cast<int>(box.x), static_cast<int>(box.y)));
        return {topLeft, QSize(static_cast<int>(box.width), static_cast<int>(box.height))};
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint inside = View().viewport()->mapFromGlobal(point);
        if (!View().viewport()->rect().contains(inside)) {
            return -1;
        }
        return ToOffset(Model().OffsetAt({inside.x(), inside.y()}));
    }

  private:
    QString Spanned(TextSpan span, int* start, int* end) const {
        *start = ToOffset(span.start);
        *end = ToOffset(span.end);
        return ToQString(View().Text(), span.start, span.end - span.start);
    }
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

// Qt keeps one of each factory, however often it is installed, and drops them all with the
// application: each view installs it anew.
void InstallTextViewAccessible() {
    QAccessible::installFactory(&TextViewInterface);
}

void NotifyTextReplaced(TextView* view, const SharedText& before, const SharedText& after) {
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent replaced(view, 0, ToQString(before, 0, kMostAnnounced),
                                            ToQString(after, 0, kMostAnnounced));
        QAccessible::updateAccessibility(&replaced);
    }
}

void NotifyCaretMoved(TextView* view, std::size_t caret) {
    if (QAccessible::isActive()) {
        QAccessibleTextCursorEvent moved(view, ToOffset(caret));
        QAccessible::updateAccessibility(&moved);
    }
}

void NotifySelectionChanged(TextView* view, std::size_t start, std::size_t end) {
    if (QAccessible::isActive()) {
        QAccessibleTextSelectionEvent changed(view, ToOffset(start), ToOffset(end));
        QAccessible::updateAccessibility(&changed);
    }
}
