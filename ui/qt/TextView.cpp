#include "ui/qt/TextView.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>
#include <climits>
#include <optional>

#include "ui/qt/QtText.h"
#include "ui/qt/TextViewAccessible.h"

namespace {

int ToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN / 2, INT_MAX / 2));
}

ViewPoint PointOf(const QPointF& point) {
    return {static_cast<long long>(point.x()), static_cast<long long>(point.y())};
}

std::optional<ViewKey> ViewKeyOf(const QKeyEvent& event) {
    static constexpr std::pair<int, ViewKey> kKeys[] = {
        {Qt::Key_Left, ViewKey::Left},     {Qt::Key_Right, ViewKey::Right},
        {Qt::Key_Up, ViewKey::Up},         {Qt::Key_Down, ViewKey::Down},
        {Qt::Key_Home, ViewKey::Home},     {Qt::Key_End, ViewKey::End},
        {Qt::Key_PageUp, ViewKey::PageUp}, {Qt::Key_PageDown, ViewKey::PageDown},
    };
    if (event.matches(QKeySequence::SelectAll)) {
        return ViewKey::SelectAll;
    }
    for (const auto& [key, viewKey] : kKeys) {
        if (event.key() == key) {
            return viewKey;
        }
    }
    return std::nullopt;
}

}  // namespace

TextView::TextView(QWidget* parent) : QAbstractScrollArea(parent) {
    InstallTextViewAccessible();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    // While the button is held past an edge, the view keeps moving towards the mouse.
    m_dragTimer.setInterval(50);
    connect(&m_dragTimer, &QTimer::timeout, this, [this] {
        m_model.Drag(m_dragPoint);
        Changed();
    });
}

void TextView::SetText(SharedText text, std::shared_ptr<const LineIndex> index) {
    const SharedText before = m_model.Text();
    m_model.SetText(std::move(text), std::move(index));
    NotifyTextReplaced(this, before, m_model.Text());
    Changed();
}

void TextView::Select(std::size_t anchor, std::size_t caret) {
    m_model.Select(anchor, caret);
    Changed();
}

int TextView::LineHeight() const {
    return fontMetrics().height();
}

int TextView::CellWidth() const {
    return fontMetrics().horizontalAdvance(QLatin1Char('0'));
}

std::vector<int> TextView::Edges(std::u16string_view characters) const {
    QTextLayout layout(ToQString(characters), font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    std::vector<int> edges;
    edges.reserve(characters.size());
    for (std::size_t column = 1; column <= characters.size(); ++column) {
        edges.push_back(qRound(line.cursorToX(static_cast<int>(column))));
    }
    return edges;
}

void TextView::Changed() {
    const std::size_t top = m_model.TopLine();
    const long long left = m_model.LeftCell();
    verticalScrollBar()->setRange(0, ToInt(static_cast<long long>(m_model.LastTopLine())));
    verticalScrollBar()->setPageStep(ToInt(static_cast<long long>(m_model.LinesInSight())));
    verticalScrollBar()->setValue(ToInt(static_cast<long long>(top)));
    horizontalScrollBar()->setRange(0, ToInt(m_model.LastLeftCell()));
    horizontalScrollBar()->setPageStep(ToInt(m_model.CellsInSight()));
    horizontalScrollBar()->setValue(ToInt(left));
    viewport()->update();
    // Each only when it changed: a screen reader speaks on every one.
    const TextSpan selection{m_model.SelectionStart(), m_model.SelectionEnd()};
    if (selection != m_announcedSelection) {
        m_announcedSelection = selection;
        NotifySelectionChanged(this, selection.start, selection.end);
    }
    if (m_model.Caret() != m_announcedCaret) {
        m_announcedCaret = m_model.Caret();
        NotifyCaretMoved(this, m_announcedCaret);
    }
}

void TextView::scrollContentsBy(int, int) {
    m_model.ScrollTo(static_cast<std::size_t>(verticalScrollBar()->value()),
                     horizontalScrollBar()->value());
    viewport()->update();
}

void TextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    m_model.Resize(viewport()->width(), viewport()->height());
    Changed();
}

void TextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_model.Resize(viewport()->width(), viewport()->height());
        Changed();
    }
}

void TextView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TextView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// Only what is in sight is converted and drawn, however long the lines are.
void TextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const int ascent = fontMetrics().ascent();
    const int width = viewport()->width();
    for (const TextViewModel::Row& row : m_model.Rows()) {
        const auto at = [&row](std::size_t column) {
            return ToInt(row.left + (column == 0 ? 0 : row.edges[column - 1]));
        };
        const QString characters = ToQString(row.characters);
        painter.drawText(ToInt(row.left), row.top + ascent, characters);
        if (row.selectedFrom < row.selectedTo) {
            const int x0 = std::max(0, at(row.selectedFrom));
            const QRect selected(x0, row.top, std::min(width, at(row.selectedTo)) - x0,
                                 LineHeight());
            painter.fillRect(selected, palette().highlight());
            painter.save();
            painter.setClipRect(selected);
            painter.setPen(palette().highlightedText().color());
            painter.drawText(ToInt(row.left), row.top + ascent, characters);
            painter.restore();
        }
    }
    if (const std::optional<ViewPoint> caret = m_model.CaretPoint(); caret && hasFocus()) {
        painter.fillRect(ToInt(caret->x), ToInt(caret->y), 1, LineHeight(), palette().text());
    }
}

void TextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_model.Press(PointOf(event->position()), event->modifiers() & Qt::ShiftModifier);
    Changed();
}

void TextView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        return;
    }
    m_dragPoint = PointOf(event->position());
    m_model.Drag(m_dragPoint);
    if (m_model.PastAnEdge(m_dragPoint)) {
        m_dragTimer.start();
    } else {
        m_dragTimer.stop();
    }
    Changed();
}

void TextView::mouseReleaseEvent(QMouseEvent*) {
    m_dragTimer.stop();
}

void TextView::mouseDoubleClickEvent(QMouseEvent* event) {
    m_model.DoubleClick(PointOf(event->position()));
    Changed();
}

QString TextView::SelectedText() const {
    const std::size_t from = m_model.SelectionStart();
    return ToQString(m_model.Text(), from, m_model.SelectionEnd() - from);
}

void TextView::Run(ViewCommand command) {
    if (command == ViewCommand::Copy) {
        QApplication::clipboard()->setText(SelectedText());
    } else {
        m_model.Key(ViewKey::SelectAll, false, false);
        Changed();
    }
}

void TextView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        Run(ViewCommand::Copy);
    } else if (const std::optional<ViewKey> key = ViewKeyOf(*event)) {
        m_model.Key(*key, event->modifiers() & Qt::ShiftModifier,
                    event->modifiers() & Qt::ControlModifier);
        Changed();
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TextView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.setObjectName("viewMenu");
    for (const ViewMenuItem& item : kViewMenu) {
        QAction* action = menu.addAction(ToQString(item.text));
        action->setEnabled(m_model.CanDo(item.command));
        action->setData(static_cast<int>(item.command));
    }
    // From the keyboard, the menu opens at the caret.
    QPoint place = event->globalPos();
    const std::optional<ViewPoint> caret = m_model.CaretPoint();
    if (event->reason() == QContextMenuEvent::Keyboard && caret) {
        place = viewport()->mapToGlobal(QPoint(ToInt(caret->x), ToInt(caret->y + LineHeight())));
    }
    if (const QAction* chosen = menu.exec(place)) {
        Run(static_cast<ViewCommand>(chosen->data().toInt()));
    }
}
