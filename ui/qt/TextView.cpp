#include "ui/qt/TextView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <limits>

#include "ui/qt/LineLayout.h"
#include "ui/qt/QtText.h"

namespace {

constexpr int kMargin = 3;

int ClampedToInt(long long value) {
    return static_cast<int>(std::min<long long>(value, std::numeric_limits<int>::max() / 2));
}

}  // namespace

TextView::TextView(QWidget* parent)
    : QAbstractScrollArea(parent), m_index(std::make_shared<const LineIndex>()) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
}

void TextView::SetText(SharedText text, std::shared_ptr<const LineIndex> index) {
    m_text = std::move(text);
    m_index = std::move(index);
    m_anchor = m_cursor = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    UpdateScrollBars();
    viewport()->update();
}

int TextView::LineHeight() const {
    return fontMetrics().height();
}

int TextView::VisibleLines() const {
    return std::max(1, viewport()->height() / LineHeight());
}

void TextView::UpdateScrollBars() {
    const auto lines = static_cast<long long>(m_index->LineCount());
    verticalScrollBar()->setRange(0, static_cast<int>(std::max(0LL, lines - VisibleLines())));
    verticalScrollBar()->setPageStep(VisibleLines());
    verticalScrollBar()->setSingleStep(1);
    const QFontMetrics metrics = fontMetrics();
    const LineLayout longest(metrics, m_text,
                             LineIndex::LineAt(m_text, m_index->LongestLineStart()));
    const long long width = longest.Width() + 2 * kMargin;
    horizontalScrollBar()->setRange(0, ClampedToInt(std::max(0LL, width - viewport()->width())));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void TextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

// Only what is in sight is converted and drawn, however long the lines are.
void TextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QFontMetrics metrics = fontMetrics();
    const SharedText& text = m_text;
    const std::size_t first = static_cast<std::size_t>(verticalScrollBar()->value());
    const std::size_t last = std::min(m_index->LineCount(), first + VisibleLines() + 1);
    const std::size_t selectionStart = std::min(m_anchor, m_cursor);
    const std::size_t selectionEnd = std::max(m_anchor, m_cursor);
    const long long scrolled = horizontalScrollBar()->value();
    const int width = viewport()->width();
    std::size_t start = first < last ? m_index->LineStart(text, first) : 0;
    for (std::size_t line = first; line < last; ++line) {
        const LineIndex::Line characters = LineIndex::LineAt(text, start);
        const LineLayout layout(metrics, text, characters);
        const int top = static_cast<int>(line - first) * LineHeight();
        const auto at = [&](std::size_t column) {
            return static_cast<int>(kMargin + layout.X(column) - scrolled);
        };
        const std::size_t from = std::clamp(selectionStart, start, start + characters.length);
        const std::size_t to = std::clamp(selectionEnd, start, start + characters.length);
        if (from < to) {
            const int x0 = std::max(0, at(from - start));
            const int x1 = std::min(width, at(to - start));
            painter.fillRect(x0, top, x1 - x0, LineHeight(), palette().highlight());
        }
        const std::size_t begin = layout.FirstVisible(scrolled);
        const std::size_t end = layout.EndVisible(scrolled, width);
        painter.drawText(at(begin), top + metrics.ascent(),
                         ToQString(text, start + begin, end - begin));
        const std::size_t lineEnd = text.Find(u'\n', start);
        if (lineEnd == SharedText::npos) {
            break;
        }
        start = lineEnd + 1;
    }
}

std::size_t TextView::OffsetAt(const QPoint& point) const {
    const SharedText& text = m_text;
    const long long row = std::max(0, point.y()) / LineHeight();
    const std::size_t line = std::min<std::size_t>(
        m_index->LineCount() - 1, static_cast<std::size_t>(verticalScrollBar()->value() + row));
    const std::size_t start = m_index->LineStart(text, line);
    const QFontMetrics metrics = fontMetrics();
    const LineLayout layout(metrics, text, LineIndex::LineAt(text, start));
    return start + layout.ColumnAt(point.x() - kMargin + horizontalScrollBar()->value());
}

void TextView::mousePressEvent(QMouseEvent* event) {
    m_anchor = m_cursor = OffsetAt(event->position().toPoint());
    viewport()->update();
}

void TextView::mouseMoveEvent(QMouseEvent* event) {
    m_cursor = OffsetAt(event->position().toPoint());
    viewport()->update();
}

QString TextView::SelectedText() const {
    const std::size_t from = std::min(m_anchor, m_cursor);
    return ToQString(m_text, from, std::max(m_anchor, m_cursor) - from);
}

void TextView::SelectAll() {
    m_anchor = 0;
    m_cursor = m_text.Size();
    viewport()->update();
}

void TextView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(SelectedText());
    } else if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}
