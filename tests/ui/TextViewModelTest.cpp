#include "ui/TextViewModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Ten pixels a unit, but 'W' takes 16 and 'i' 4: a short line is placed by its own advances,
// a long one in digit cells of 8.
class FakeMetrics final : public TextMetrics {
  public:
    int LineHeight() const override { return 10; }
    int CellWidth() const override { return cellWidth; }
    std::vector<int> Edges(std::u16string_view characters) const override {
        std::vector<int> edges;
        if (!measures) {
            return edges;
        }
        int x = 0;
        for (const char16_t unit : characters) {
            x += unit == u'W' ? 16 : unit == u'i' ? 4 : 10;
            edges.push_back(x);
        }
        return edges;
    }
    int cellWidth = 8;
    bool measures = true;
};

// Lines 0 to 20: "12 ab+cd" (0-8), "Wide" (10-14), "" (16), "3" (18) to "9" (36), "10" (39) to
// "19" (75), and "end" (79-82) with no line break.
WideString ShortLines() {
    std::string text = "12 ab+cd\r\nWide\r\n\r\n";
    for (int n = 3; n < 20; ++n) {
        text += std::to_string(n) + "\r\n";
    }
    text += "end";
    return WideString(text.begin(), text.end());
}

// 2,000 digits, then "x".
WideString LongLine() {
    return WideString(2000, u'7') + u"\r\nx";
}

class Model {
  public:
    explicit Model(const WideString& text) {
        const SharedText shared(std::make_shared<const WideString>(text));
        model.SetText(shared, std::make_shared<const LineIndex>(shared));
        // 12 cells wide, 3 lines high.
        model.Resize(100, 30);
    }
    // Steps, a word each: a key (Left Right Up Down Home End PageUp PageDown All) after + for
    // Shift and ^ for Ctrl; or c (click), s (Shift+click), d (double click) or g (drag) at a
    // point, as in c37,5.
    void Do(std::string_view steps) {
        static const char* const kKeys[] = {"Left", "Right",  "Up",       "Down", "Home",
                                            "End",  "PageUp", "PageDown", "All"};
        std::istringstream words{std::string(steps)};
        for (std::string word; words >> word;) {
            ViewPoint at{};
            if (std::sscanf(word.c_str() + 1, "%lld,%lld", &at.x, &at.y) == 2) {
                const char act = word[0];
                act == 'd'   ? model.DoubleClick(at)
                : act == 'g' ? model.Drag(at)
                             : model.Press(at, act == 's');
                continue;
            }
            const std::size_t modifiers = word.find_first_not_of("+^");
            const auto key = std::find(std::begin(kKeys), std::end(kKeys), word.substr(modifiers));
            ASSERT_NE(key, std::end(kKeys)) << word;
            model.Key(static_cast<ViewKey>(key - std::begin(kKeys)), word.find('+') < modifiers,
                      word.find('^') < modifiers);
        }
    }

    FakeMetrics metrics;
    TextViewModel model{metrics};
};

struct ModelCase {
    const char* name;
    std::string_view steps;
    std::size_t anchor;
    std::size_t caret;
    std::size_t topLine = 0;
    long long leftCell = 0;
    WideString text = ShortLines();
};

const ModelCase kCases[] = {
    {"RightMovesOneUnit", "Right", 1, 1},
    {"RightAtALinesEndGoesPastTheBreak", "End Right", 10, 10},
    {"LeftAtALinesStartGoesToTheEndBefore", "Down Home Left", 8, 8},
    {"ShiftRightSelects", "+Right +Right", 0, 2},
    {"RightWithoutShiftEndsASelectionAtItsEnd", "+Right +Right Right", 2, 2},
    {"LeftWithoutShiftEndsASelectionAtItsStart", "End +Left +Left Left", 6, 6},
    {"ControlRightStopsAtWordsAndSigns", "^Right ^Right ^Right", 6, 6},
    {"ControlRightAtALinesEndGoesToTheNext", "End ^Right", 10, 10},
    {"ControlLeftStopsAtWordsAndSigns", "End ^Left ^Left ^Left", 3, 3},
    {"ControlLeftSkipsTheSpacesBeforeAWord", "End ^Left ^Left ^Left ^Left", 0, 0},
    {"DownKeepsTheCaretsPlace", "c37,5 Down Down Down", 19, 19, 1},
    {"UpComesBackToTheSamePlace", "c37,5 Down Down Up", 13, 13},
    {"UpOnTheFirstLineGoesToItsStart", "End Up", 0, 0},
    {"DownOnTheLastLineGoesToItsEnd", "^End Home Down", 82, 82, 18},
    {"RightAtTheTextsEndStays", "^End Right", 82, 82, 18},
    {"AClickFarBelowTheTextGoesToTheLastLine", "^End c2,500", 79, 79, 18},
    {"ControlEndGoesToTheTextsEndInSight", "^End", 82, 82, 18},
    {"ControlShiftHomeSelectsBackToTheStart", "^End +^Home", 82, 0},
    {"PageDownMovesTheViewAndTheCaretByAPage", "PageDown PageDown", 27, 27, 6},
    {"PageUpNearTheTopGoesToTheFirstLine", "Down PageUp", 0, 0},
    {"ShiftPageDownSelectsAPage", "+PageDown", 0, 18, 3},
    {"SelectAllKeepsTheView", "All", 0, 82},
    {"AClickTakesTheNearestBoundaryByTheFontsAdvances", "c19,15", 11, 11},
    {"AShiftClickExtends", "c22,5 s52,15", 2, 14},
    {"AClickBelowTheLastLineGoesToIt", "^End c2,29", 79, 79, 18},
    {"ADoubleClickSelectsAWord", "d44,5", 3, 5},
    {"ADoubleClickOnSignsAtALinesEndStopsAtTheBreak", "d17,5", 1, 3, 0, 0, u"x+-\r\ny"},
    {"ADoubleClickOnASignSelectsTheSigns", "d57,5", 5, 6},
    {"ADoubleClickOnSpacesSelectsThem", "d24,5", 2, 3},
    {"ADoubleClickAtALinesEndTakesTheWordBefore", "d95,5", 6, 8},
    {"ADoubleClickTakesLettersDigitsAndUnderscoresAsOneWord", "d12,5", 0, 6, 0, 0,
     u"z9Z_\u0080\u00E9 a9"},
    {"ADoubleClickTakesTabsAndWideSpacesAsSpaces", "d17,5", 1, 4, 0, 0, u"a\t\u3000 b"},
    {"ADoubleClickOnAnEmptyLineSelectsNothing", "d10,25", 16, 16},
    {"DraggingBelowTheViewKeepsScrollingDown", "c2,5 g2,35 g2,35", 0, 21, 2},
    {"DraggingAboveTheViewScrollsUp", "^End c2,5 g2,-1", 71, 67, 17},
    {"EndOfALongLineScrollsToIt", "End", 2000, 2000, 0, 1989, LongLine()},
    {"DraggingPastTheRightEdgeScrollsRight", "c2,5 g110,5", 0, 14, 0, 3, LongLine()},
    {"ALongLineIsClickedByCells", "c45,5", 5, 5, 0, 0, LongLine()},
};

class TextViewModelTest : public testing::TestWithParam<ModelCase> {};

TEST_P(TextViewModelTest, MovesTheCaretSelectionAndView) {
    const ModelCase& c = GetParam();
    Model view(c.text);
    view.Do(c.steps);
    EXPECT_EQ(std::tuple(view.model.Anchor(), view.model.Caret(), view.model.TopLine(),
                         view.model.LeftCell()),
              std::tuple(c.anchor, c.caret, c.topLine, c.leftCell));
}

INSTANTIATE_TEST_SUITE_P(Keys, TextViewModelTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextViewModel, GivesTheRowsInSightWithTheSelectionAndTheCaret) {
    Model view(ShortLines());
    EXPECT_FALSE(view.model.CanDo(ViewCommand::Copy));
    EXPECT_TRUE(view.model.CanDo(ViewCommand::SelectAll));
    view.model.Select(3, 13);
    EXPECT_TRUE(view.model.CanDo(ViewCommand::Copy));
    const std::vector<TextViewModel::Row> rows = view.model.Rows();
    ASSERT_EQ(rows.size(), 4U);  // and the one partly in sight
    EXPECT_EQ(rows[0].characters, u"12 ab+cd");
    EXPECT_EQ(rows[0].left, TextViewModel::kMargin);
    EXPECT_EQ(rows[0].selectedFrom, 3U);
    EXPECT_EQ(rows[0].selectedTo, 8U);
    EXPECT_EQ(rows[1].top, 10);
    EXPECT_EQ(rows[1].edges, (std::vector<int>{16, 20, 30, 40}));
    EXPECT_EQ(rows[1].selectedFrom, 0U);
    EXPECT_EQ(rows[1].selectedTo, 3U);
    EXPECT_EQ(rows[3].characters, u"3");
    EXPECT_EQ(rows[3].selectedTo, 0U);
    EXPECT_EQ(view.model.CaretPoint(), (ViewPoint{2 + 30, 10}));
    view.model.ScrollTo(5, 0);
    EXPECT_EQ(view.model.CaretPoint(), std::nullopt) << "on a line scrolled out of sight";
    view.model.ScrollTo(0, 0);
    EXPECT_EQ(view.model.LastTopLine(), 18U);

    // Scrolled along a long line, only the columns in sight are copied and placed.
    Model longLine(LongLine());
    longLine.model.ScrollTo(0, 100);
    const TextViewModel::Row row = longLine.model.Rows().at(0);
    EXPECT_EQ(row.left, TextViewModel::kMargin);
    EXPECT_EQ(row.characters.size(), 13U);
    EXPECT_EQ(row.edges.front(), 8);
    EXPECT_EQ(longLine.model.CaretPoint(), std::nullopt);
    longLine.model.Select(105, 110);
    EXPECT_EQ(longLine.model.Rows().at(0).selectedFrom, 5U);
    EXPECT_EQ(longLine.model.Rows().at(0).selectedTo, 10U);
    EXPECT_EQ(longLine.model.CaretPoint(), (ViewPoint{TextViewModel::kMargin + 10 * 8, 0}));
    EXPECT_EQ(longLine.model.LastLeftCell(), 1989);
    longLine.model.ScrollTo(5, 5000);
    EXPECT_EQ(longLine.model.TopLine(), 0U);
    EXPECT_EQ(longLine.model.LeftCell(), 1989);
    longLine.metrics.cellWidth = 4;
    longLine.model.Resize(100, 30);
    EXPECT_EQ(longLine.model.LastLeftCell(), 2001 - 25) << "a line and margins of whole cells";

    // A new text shows from its start.
    view.model.Key(ViewKey::End, false, true);
    const SharedText again(std::make_shared<const WideString>(ShortLines()));
    view.model.SetText(again, std::make_shared<const LineIndex>(again));
    EXPECT_EQ(view.model.TopLine(), 0U);
    EXPECT_EQ(view.model.Caret(), 0U);
    const SharedText wider(std::make_shared<const WideString>(LongLine()));
    view.model.SetText(wider, std::make_shared<const LineIndex>(wider));
    EXPECT_EQ(view.model.LastLeftCell(), 1989) << "measured for the new text";
}

// A font that gives digits no width still lets the view move along a long line; one that
// measures no character puts each at the line's start.
TEST(TextViewModel, AFontWithoutWidthsStillPlacesAndScrolls) {
    Model view(LongLine());
    view.metrics.cellWidth = 0;
    view.model.Key(ViewKey::End, false, false);
    EXPECT_EQ(view.model.Caret(), 2000U);
    EXPECT_GT(view.model.LeftCell(), 0);
    Model unmeasured(ShortLines());
    unmeasured.metrics.measures = false;
    unmeasured.model.Key(ViewKey::End, false, false);
    EXPECT_EQ(unmeasured.model.CaretPoint(), (ViewPoint{TextViewModel::kMargin, 0}));
}

// A screen reader's reading by units; a word at a line's end is followed by the next line's first.
TEST(TextViewModel, ReadsByUnitsAndPlacesEachCharacter) {
    using enum TextUnit;
    const struct {
        TextUnit unit;
        std::size_t offset;
        TextSpan before;
        TextSpan at;
        TextSpan after;
    } cases[] = {
        {Character, 0, {}, {0, 1}, {1, 2}},       {Character, 82, {81, 82}, {82, 82}, {82, 82}},
        {Word, 4, {2, 3}, {3, 5}, {5, 6}},        {Word, 7, {5, 6}, {6, 8}, {10, 14}},
        {Word, 10, {6, 8}, {10, 14}, {16, 16}},   {Line, 11, {0, 10}, {10, 16}, {16, 18}},
        {Line, 80, {75, 79}, {79, 82}, {82, 82}}, {Whole, 5, {}, {0, 82}, {82, 82}},
    };
    Model view(ShortLines());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.unit)) + " at " + std::to_string(c.offset));
        EXPECT_EQ(view.model.UnitBefore(c.unit, c.offset), c.before);
        EXPECT_EQ(view.model.UnitAt(c.unit, c.offset), c.at);
        EXPECT_EQ(view.model.UnitAfter(c.unit, c.offset), c.after);
    }
    EXPECT_EQ(view.model.CharacterBox(11), (ViewBox{2 + 16, 10, 4, 10})) << "the i of Wide";
    EXPECT_EQ(view.model.CharacterBox(14), (ViewBox{2 + 40, 10, 8, 10})) << "past the line's end";
    view.model.ScrollTo(1, 0);
    EXPECT_EQ(view.model.CharacterBox(11).y, 0);
    EXPECT_EQ(view.model.OffsetAt({18 + 2, 5}), 11U);
}

TEST(TextViewModel, ADragPastAnEdgeAsksForMore) {
    Model view(ShortLines());
    for (const ViewPoint inside : {ViewPoint{0, 0}, ViewPoint{99, 29}}) {
        EXPECT_FALSE(view.model.PastAnEdge(inside));
    }
    for (const ViewPoint outside :
         {ViewPoint{-1, 5}, ViewPoint{5, -1}, ViewPoint{100, 5}, ViewPoint{5, 30}}) {
        EXPECT_TRUE(view.model.PastAnEdge(outside));
    }
}

}  // namespace
