#include "ui/qt/TextView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include "ui/qt/QtText.h"

namespace {

constexpr int kMargin = 3;

}  // namespace

TextView::TextView(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_text(std::make_shared<const WideString>()),
      m_index(std::make_shared<const LineIndex>()) {
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
    const QString longest = ToQString(LineIndex::LineAt(*m_text, m_index->LongestLineStart()));
    const int width = fontMetrics().horizontalAdvance(longest) + 2 * kMargin;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void TextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const std::u16string_view text = *m_text;
    const std::size_t first = static_cast<std::size_t>(verticalScrollBar()->value());
    const std::size_t last = std::min(m_index->LineCount(), first + VisibleLines() + 1);
    const std::size_t selectionStart = std::min(m_anchor, m_cursor);
    const std::size_t selectionEnd = std::max(m_anchor, m_cursor);
    const int left = kMargin - horizontalScrollBar()->value();
    std::size_t start = first < last ? m_index->LineStart(text, first) : 0;
    for (std::size_t line = first; line < last; ++line) {
        const std::u16string_view characters = LineIndex::LineAt(text, start);
        const int top = static_cast<int>(line - first) * LineHeight();
        const QString shown = ToQString(characters);
        const std::size_t from = std::clamp(selectionStart, start, start + characters.size());
        const std::size_t to = std::clamp(selectionEnd, start, start + characters.size());
        if (from < to) {
            const int x0 =
                fontMetrics().horizontalAdvance(shown.left(static_cast<qsizetype>(from - start)));
            const int x1 =
                fontMetrics().horizontalAdvance(shown.left(static_cast<qsizetype>(to - start)));
            painter.fillRect(left + x0, top, x1 - x0, LineHeight(), palette().highlight());
        }
        painter.drawText(left, top + fontMetrics().ascent(), shown);
        const std::size_t lineEnd = text.find(u'\n', start);
        if (lineEnd == std::u16string_view::npos) {
            break;
        }
        start = lineEnd + 1;
    }
}

std::size_t TextView::OffsetAt(const QPoint& point) const {
    const std::u16string_view text = *m_text;
    const long long row = std::max(0, point.y()) / LineHeight();
    const std::size_t line = std::min<std::size_t>(
        m_index->LineCount() - 1, static_cast<std::size_t>(verticalScrollBar()->value() + row));
    const std::size_t start = m_index->LineStart(text, line);
    const QString shown = ToQString(LineIndex::LineAt(text, start));
    const int x = point.x() - kMargin + horizontalScrollBar()->value();
    qsizetype column = 0;
    while (column < shown.size() && fontMetrics().horizontalAdvance(shown.left(column + 1)) <= x) {
        ++column;
    }
    return start + static_cast<std::size_t>(column);
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
    return ToQString(
        std::u16string_view(*m_text).substr(from, std::max(m_anchor, m_cursor) - from));
}

void TextView::SelectAll() {
    m_anchor = 0;
    m_cursor = m_text->size();
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
