#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "ui/LineIndex.h"
#include "ui/TextMetrics.h"

// The keys a text view acts on; with Shift each extends the selection, with Control Left and
// Right move by words and Home and End go to the text's ends.
enum class ViewKey { Left, Right, Up, Down, Home, End, PageUp, PageDown, SelectAll };

// What the view's context menu offers, in its order, with the texts both front ends show.
enum class ViewCommand { Copy = 1, SelectAll = 2 };
struct ViewMenuItem {
    ViewCommand command;
    std::u16string_view text;
};
inline constexpr ViewMenuItem kViewMenu[] = {
    {ViewCommand::Copy, u"コピー(&C)"},
    {ViewCommand::SelectAll, u"すべて選択(&A)"},
};

// Pixels from the view's top left corner, inside its frame.
struct ViewPoint {
    long long x = 0;
    long long y = 0;
    bool operator==(const ViewPoint&) const = default;
};

// A span of the text, from start up to end.
struct TextSpan {
    std::size_t start = 0;
    std::size_t end = 0;
    bool operator==(const TextSpan&) const = default;
};

enum class TextUnit { Character, Word, Line, Whole };

// A character's box, in the same pixels as ViewPoint.
struct ViewBox {
    long long x = 0;
    long long y = 0;
    long long width = 0;
    long long height = 0;
    bool operator==(const ViewBox&) const = default;
};

// A read-only view of a text of any size, with no window: which lines are in sight, where the
// caret and the selection stand, and what keys and the mouse do to them. A front end measures
// through TextMetrics, draws Rows(), puts its scroll bars where the model says and hands its
// events over.
class TextViewModel {
  public:
    // One line in sight, as it is drawn; Rows() sets every field.
    struct Row {
        int top;
        // Where characters starts, from the view's left.
        long long left;
        // The line's columns that can be in sight, and the right edge of each from left.
        std::u16string characters;
        std::vector<int> edges;
        // The selected ones among them.
        std::size_t selectedFrom;
        std::size_t selectedTo;
    };
    static constexpr int kMargin = 2;

    explicit TextViewModel(const TextMetrics& metrics);

    // Shows text from its start, with nothing selected.
    void SetText(SharedText text, std::shared_ptr<const LineIndex> index);
    const SharedText& Text() const { return m_text; }
    std::size_t LineCount() const { return m_index->LineCount(); }
    // The number of the line that holds offset, and where a line's characters start and end.
    std::size_t LineOf(std::size_t offset) const { return m_index->LineOf(m_text, offset); }
    TextSpan LineCharacters(std::size_t line) const;
    // The inside of the view in pixels; again whenever the font changed.
    void Resize(int width, int height);

    // Scrolled vertically by lines, horizontally by digit cells: both fit a scroll bar's int.
    std::size_t TopLine() const { return m_topLine; }
    long long LeftCell() const { return m_leftCell; }
    std::size_t LastTopLine() const;
    long long LastLeftCell() const;
    std::size_t LinesInSight() const;
    long long CellsInSight() const;
    void ScrollTo(std::size_t topLine, long long leftCell);

    std::size_t Anchor() const { return m_anchor; }
    std::size_t Caret() const { return m_caret; }
    std::size_t SelectionStart() const { return std::min(m_anchor, m_caret); }
    std::size_t SelectionEnd() const { return std::max(m_anchor, m_caret); }
    // Both clamped to the text; the view does not scroll.
    void Select(std::size_t anchor, std::size_t caret);
    bool CanDo(ViewCommand command) const;

    void Key(ViewKey key, bool shift, bool control);
    void Press(ViewPoint point, bool shift);
    // Selects the word, the run of spaces or the run of other signs under point.
    void DoubleClick(ViewPoint point);
    // Extends the selection to point, scrolling towards it when it is past an edge.
    void Drag(ViewPoint point);
    // While the button is held past an edge, the front end repeats Drag so the view keeps moving.
    bool PastAnEdge(ViewPoint point) const;

    std::size_t OffsetAt(ViewPoint point) const;
    // Where the character at offset is drawn, in sight or not; past a line's end, a digit cell.
    ViewBox CharacterBox(std::size_t offset) const;
    // The word, run of spaces or run of other signs that holds offset, within its line; at a
    // line's end the one before it. Empty on an empty line.
    TextSpan WordAround(std::size_t offset) const;
    // The line that holds offset, with its line break: the lines tile the text.
    TextSpan LineAround(std::size_t offset) const;
    // What a screen reader reads by: the unit at offset, and the ones just before and after it
    // (empty at the text's ends). Each is found from the line index, never by copying the text.
    TextSpan UnitAt(TextUnit unit, std::size_t offset) const;
    TextSpan UnitBefore(TextUnit unit, std::size_t offset) const;
    TextSpan UnitAfter(TextUnit unit, std::size_t offset) const;
    std::vector<Row> Rows() const;
    // The caret's top, when it is in sight.
    std::optional<ViewPoint> CaretPoint() const;

  private:
    struct LineSpan {
        std::size_t number;
        std::size_t start;
        std::size_t length;
        std::size_t End() const { return start + length; }
    };
    LineSpan LineNumbered(std::size_t number) const;
    LineSpan LineHolding(std::size_t offset) const;
    long long XOf(std::size_t offset) const;
    std::size_t OffsetOnLine(std::size_t line, long long x) const;
    std::size_t Moved(ViewKey key, bool control);
    std::size_t NextWordStart(std::size_t offset) const;
    std::size_t PreviousWordStart(std::size_t offset) const;
    // Up and Down keep aiming where they aimed; every other move aims anew.
    void MoveCaret(std::size_t caret, bool extend, bool keepGoal = false);
    void ShowCaret();

    const TextMetrics& m_metrics;
    SharedText m_text;
    std::shared_ptr<const LineIndex> m_index;
    long long m_longestWidth = 0;
    int m_width = 0;
    int m_height = 0;
    std::size_t m_topLine = 0;
    long long m_leftCell = 0;
    std::size_t m_anchor = 0;
    std::size_t m_caret = 0;
    // Where Up and Down aim, kept across lines too short to reach it.
    long long m_goalX = 0;
};
