#include "ui/TextViewModel.h"

#include <algorithm>
#include <climits>

#include "ui/LinePlacement.h"

namespace {

enum class UnitKind { Space, Sign, Word };

UnitKind KindOf(char16_t unit) {
    if (unit == u' ' || unit == u'\t' || unit == u'\x3000') {
        return UnitKind::Space;
    }
    const bool asciiWord = (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'z') ||
                           (unit >= u'A' && unit <= u'Z') || unit == u'_';
    return asciiWord || unit >= 0x80 ? UnitKind::Word : UnitKind::Sign;
}

long long FloorDivide(long long value, long long divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

}  // namespace

TextViewModel::TextViewModel(const TextMetrics& metrics)
    : m_metrics(metrics), m_index(std::make_shared<const LineIndex>()) {}

void TextViewModel::SetText(SharedText text, std::shared_ptr<const LineIndex> index) {
    m_text = std::move(text);
    m_index = std::move(index);
    m_topLine = 0;
    m_leftCell = 0;
    m_anchor = m_caret = 0;
    m_goalX = 0;
    Resize(m_width, m_height);
}

void TextViewModel::Resize(int width, int height) {
    m_width = std::max(0, width);
    m_height = std::max(0, height);
    const LineIndex::Line longest = LineIndex::LineAt(m_text, m_index->LongestLineStart());
    m_longestWidth = LinePlacement(m_metrics, m_text, longest).Width();
    ScrollTo(m_topLine, m_leftCell);
}

std::size_t TextViewModel::LinesInSight() const {
    return static_cast<std::size_t>(std::max(1, m_height / std::max(1, m_metrics.LineHeight())));
}

long long TextViewModel::CellsInSight() const {
    return std::max(1, m_width / std::max(1, m_metrics.CellWidth()));
}

std::size_t TextViewModel::LastTopLine() const {
    return LineCount() - std::min(LineCount(), LinesInSight());
}

long long TextViewModel::LastLeftCell() const {
    const long long cell = std::max(1, m_metrics.CellWidth());
    const long long cells = (m_longestWidth + 2 * kMargin + cell - 1) / cell;
    return std::clamp(cells - CellsInSight(), 0LL, static_cast<long long>(INT_MAX));
}

void TextViewModel::ScrollTo(std::size_t topLine, long long leftCell) {
    m_topLine = std::min(topLine, LastTopLine());
    m_leftCell = std::clamp(leftCell, 0LL, LastLeftCell());
}

void TextViewModel::Select(std::size_t anchor, std::size_t caret) {
    m_anchor = std::min(anchor, m_text.Size());
    m_caret = std::min(caret, m_text.Size());
    m_goalX = XOf(m_caret);
}

bool TextViewModel::CanDo(ViewCommand command) const {
    return command == ViewCommand::Copy ? m_anchor != m_caret : !m_text.Empty();
}

TextViewModel::LineSpan TextViewModel::LineNumbered(std::size_t number) const {
    const std::size_t start = m_index->LineStart(m_text, number);
    return {number, start, LineIndex::LineAt(m_text, start).length};
}

TextViewModel::LineSpan TextViewModel::LineHolding(std::size_t offset) const {
    return LineNumbered(m_index->LineOf(m_text, offset));
}

long long TextViewModel::XOf(std::size_t offset) const {
    const LineSpan line = LineHolding(offset);
    return LinePlacement(m_metrics, m_text, {line.start, line.length}).X(offset - line.start);
}

std::size_t TextViewModel::OffsetOnLine(std::size_t number, long long x) const {
    const LineSpan line = LineNumbered(number);
    return line.start + LinePlacement(m_metrics, m_text, {line.start, line.length}).ColumnAt(x);
}

std::size_t TextViewModel::OffsetAt(ViewPoint point) const {
    const long long row = FloorDivide(point.y, std::max(1, m_metrics.LineHeight()));
    const long long line = std::clamp(static_cast<long long>(m_topLine) + row, 0LL,
                                      static_cast<long long>(LineCount() - 1));
    return OffsetOnLine(static_cast<std::size_t>(line),
                        point.x - kMargin + m_leftCell * m_metrics.CellWidth());
}

bool TextViewModel::PastAnEdge(ViewPoint point) const {
    return point.x < 0 || point.y < 0 || point.x >= m_width || point.y >= m_height;
}

void TextViewModel::MoveCaret(std::size_t caret, bool extend, bool keepGoal) {
    m_caret = caret;
    if (!extend) {
        m_anchor = caret;
    }
    if (!keepGoal) {
        m_goalX = XOf(m_caret);
    }
    ShowCaret();
}

// Scrolls as little as puts the caret's line wholly in sight, and the caret within the width.
void TextViewModel::ShowCaret() {
    const std::size_t line = m_index->LineOf(m_text, m_caret);
    std::size_t top = std::min(m_topLine, line);
    if (line >= top + LinesInSight()) {
        top = line - LinesInSight() + 1;
    }
    const long long cell = std::max(1, m_metrics.CellWidth());
    const long long x = XOf(m_caret) + kMargin;
    long long left = m_leftCell;
    if (x < left * cell) {
        left = x / cell;
    } else if (x + kMargin > (left + CellsInSight()) * cell) {
        left = (x + kMargin + cell - 1) / cell - CellsInSight();
    }
    ScrollTo(top, left);
}

void TextViewModel::Key(ViewKey key, bool shift, bool control) {
    if (key == ViewKey::SelectAll) {
        Select(0, m_text.Size());
        return;
    }
    const bool vertical = key == ViewKey::Up || key == ViewKey::Down || key == ViewKey::PageUp ||
                          key == ViewKey::PageDown;
    const bool collapse = !shift && !control && m_anchor != m_caret &&
                          (key == ViewKey::Left || key == ViewKey::Right);
    if (collapse) {
        MoveCaret(key == ViewKey::Left ? SelectionStart() : SelectionEnd(), false);
    } else {
        if (key == ViewKey::PageUp || key == ViewKey::PageDown) {
            const std::size_t page = LinesInSight();
            ScrollTo(
                key == ViewKey::PageUp ? m_topLine - std::min(m_topLine, page) : m_topLine + page,
                m_leftCell);
        }
        MoveCaret(Moved(key, control), shift, vertical);
    }
}

std::size_t TextViewModel::Moved(ViewKey key, bool control) {
    const LineSpan line = LineHolding(m_caret);
    const std::size_t last = LineCount() - 1;
    switch (key) {
        case ViewKey::Left:
            if (control) {
                return PreviousWordStart(m_caret);
            }
            if (m_caret > line.start) {
                return m_caret - 1;
            }
            return line.number > 0 ? LineNumbered(line.number - 1).End() : m_caret;
        case ViewKey::Right:
            if (control) {
                return NextWordStart(m_caret);
            }
            if (m_caret < line.End()) {
                return m_caret + 1;
            }
            return line.number < last ? LineNumbered(line.number + 1).start : m_caret;
        case ViewKey::Up:
            return line.number > 0 ? OffsetOnLine(line.number - 1, m_goalX) : line.start;
        case ViewKey::Down:
            return line.number < last ? OffsetOnLine(line.number + 1, m_goalX) : line.End();
        case ViewKey::PageUp:
            return OffsetOnLine(line.number - std::min(line.number, LinesInSight()), m_goalX);
        case ViewKey::PageDown:
            return OffsetOnLine(std::min(last, line.number + LinesInSight()), m_goalX);
        case ViewKey::Home:
            return control ? 0 : line.start;
        case ViewKey::End:
            return control ? m_text.Size() : line.End();
        case ViewKey::SelectAll:
            break;
    }
    return m_caret;
}

// Past the rest of this word or run of signs and the spaces after it; a line's end is a stop.
std::size_t TextViewModel::NextWordStart(std::size_t offset) const {
    const LineSpan line = LineHolding(offset);
    if (offset >= line.End()) {
        return line.number + 1 < LineCount() ? LineNumbered(line.number + 1).start : offset;
    }
    const UnitKind kind = KindOf(m_text.At(offset));
    while (offset < line.End() && KindOf(m_text.At(offset)) == kind) {
        ++offset;
    }
    while (offset < line.End() && KindOf(m_text.At(offset)) == UnitKind::Space) {
        ++offset;
    }
    return offset;
}

std::size_t TextViewModel::PreviousWordStart(std::size_t offset) const {
    const LineSpan line = LineHolding(offset);
    if (offset <= line.start) {
        return line.number > 0 ? LineNumbered(line.number - 1).End() : offset;
    }
    while (offset > line.start && KindOf(m_text.At(offset - 1)) == UnitKind::Space) {
        --offset;
    }
    if (offset == line.start) {
        return offset;
    }
    const UnitKind kind = KindOf(m_text.At(offset - 1));
    while (offset > line.start && KindOf(m_text.At(offset - 1)) == kind) {
        --offset;
    }
    return offset;
}

void TextViewModel::Press(ViewPoint point, bool shift) {
    MoveCaret(OffsetAt(point), shift);
}

TextSpan TextViewModel::WordAround(std::size_t offset) const {
    const LineSpan line = LineHolding(offset);
    if (line.length == 0) {
        return {line.start, line.start};
    }
    const std::size_t unit = std::min(offset, line.End() - 1);
    const UnitKind kind = KindOf(m_text.At(unit));
    std::size_t from = unit;
    while (from > line.start && KindOf(m_text.At(from - 1)) == kind) {
        --from;
    }
    std::size_t to = unit + 1;
    while (to < line.End() && KindOf(m_text.At(to)) == kind) {
        ++to;
    }
    return {from, to};
}

TextSpan TextViewModel::LineCharacters(std::size_t line) const {
    const LineSpan span = LineNumbered(std::min(line, LineCount() - 1));
    return {span.start, span.End()};
}

TextSpan TextViewModel::LineAround(std::size_t offset) const {
    const LineSpan line = LineHolding(offset);
    const bool last = line.number + 1 >= LineCount();
    return {line.start, last ? m_text.Size() : LineNumbered(line.number + 1).start};
}

TextSpan TextViewModel::UnitAt(TextUnit unit, std::size_t offset) const {
    const std::size_t size = m_text.Size();
    switch (unit) {
        case TextUnit::Character:
            return offset < size ? TextSpan{offset, offset + 1} : TextSpan{size, size};
        case TextUnit::Word:
            return WordAround(std::min(offset, size));
        case TextUnit::Line:
            return LineAround(std::min(offset, size));
        case TextUnit::Whole:
            break;
    }
    return {0, size};
}

TextSpan TextViewModel::UnitBefore(TextUnit unit, std::size_t offset) const {
    const TextSpan at = UnitAt(unit, offset);
    const std::size_t start = std::min(at.start, offset);
    return start == 0 || unit == TextUnit::Whole ? TextSpan{} : UnitAt(unit, start - 1);
}

// A word at a line's end is also the one its line break finds: the next starts on the next line.
TextSpan TextViewModel::UnitAfter(TextUnit unit, std::size_t offset) const {
    const std::size_t size = m_text.Size();
    const TextSpan at = UnitAt(unit, offset);
    const std::size_t end = std::max(at.end, std::min(offset + 1, size));
    if (end >= size || unit == TextUnit::Whole) {
        return {size, size};
    }
    const TextSpan next = UnitAt(unit, end);
    if (next.start >= end) {
        return next;
    }
    const std::size_t nextLine = LineAround(end).end;
    return nextLine < size ? UnitAt(unit, nextLine) : TextSpan{size, size};
}

ViewBox TextViewModel::CharacterBox(std::size_t offset) const {
    const LineSpan line = LineHolding(std::min(offset, m_text.Size()));
    const LinePlacement placement(m_metrics, m_text, {line.start, line.length});
    const std::size_t column = std::min(offset, line.End()) - line.start;
    const long long x = placement.X(column);
    const long long width =
        column < line.length ? placement.X(column + 1) - x : m_metrics.CellWidth();
    const long long row = static_cast<long long>(line.number) - static_cast<long long>(m_topLine);
    return {kMargin - m_leftCell * m_metrics.CellWidth() + x, row * m_metrics.LineHeight(), width,
            m_metrics.LineHeight()};
}

void TextViewModel::DoubleClick(ViewPoint point) {
    const TextSpan word = WordAround(OffsetAt(point));
    m_anchor = word.start;
    MoveCaret(word.end, word.start != word.end);
}

void TextViewModel::Drag(ViewPoint point) {
    MoveCaret(OffsetAt(point), true);
}

std::vector<TextViewModel::Row> TextViewModel::Rows() const {
    std::vector<Row> rows;
    const long long scrolled = m_leftCell * m_metrics.CellWidth();
    const std::size_t end = std::min(LineCount(), m_topLine + LinesInSight() + 1);
    std::size_t start = m_index->LineStart(m_text, m_topLine);
    for (std::size_t line = m_topLine; line < end; ++line) {
        const LineIndex::Line characters = LineIndex::LineAt(m_text, start);
        const LinePlacement placement(m_metrics, m_text, characters);
        const std::size_t first = placement.FirstVisible(scrolled);
        const std::size_t last = placement.EndVisible(scrolled, m_width);
        Row& row = rows.emplace_back();
        row.top = static_cast<int>(line - m_topLine) * m_metrics.LineHeight();
        row.left = kMargin - scrolled + placement.X(first);
        row.characters = m_text.Copy(start + first, last - first);
        for (std::size_t column = first; column < last; ++column) {
            row.edges.push_back(static_cast<int>(placement.X(column + 1) - placement.X(first)));
        }
        const std::size_t shownFrom = start + first;
        row.selectedFrom = std::clamp(SelectionStart(), shownFrom, start + last) - shownFrom;
        row.selectedTo = std::clamp(SelectionEnd(), shownFrom, start + last) - shownFrom;
        start = m_text.Find(u'\n', start) + 1;
    }
    return rows;
}

std::optional<ViewPoint> TextViewModel::CaretPoint() const {
    const std::size_t line = m_index->LineOf(m_text, m_caret);
    if (line < m_topLine || line > m_topLine + LinesInSight()) {
        return std::nullopt;
    }
    const long long x = kMargin - m_leftCell * m_metrics.CellWidth() + XOf(m_caret);
    if (x < 0 || x > m_width) {
        return std::nullopt;
    }
    return ViewPoint{x, static_cast<long long>(line - m_topLine) * m_metrics.LineHeight()};
}
