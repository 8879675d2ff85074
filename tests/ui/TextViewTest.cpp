// The Qt view's wiring to its model: Qt's events in, the model's caret and selection out, and
// what only the widget has: the clipboard, the context menu, the accessible text and the
// scrolling timer.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "tests/ui/ViewRules.h"
#include "ui/qt/TextView.h"

namespace {

class TextViewTest : public testing::Test {
  protected:
    explicit TextViewTest(std::u16string_view text = view_rules::ManyLines()) {
        const SharedText shared(std::make_shared<const WideString>(text));
        view.SetText(shared, std::make_shared<const LineIndex>(shared));
        view.resize(200, 120);
        view.show();
        view.setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QPoint OnFirstLine(int column) const {
        const int x = TextViewModel::kMargin +
                      view.fontMetrics().horizontalAdvance(QStringLiteral("12 ab+cd").left(column));
        return {x, view.fontMetrics().height() / 2};
    }

    TextView view;
};

using namespace view_rules;

class ViewRulesTest : public TextViewTest, public testing::WithParamInterface<view_rules::Rule> {
  public:
    ViewRulesTest() : TextViewTest(kText) { QApplication::clipboard()->setText("-"); }
    void Do(const Step& step) {
        static constexpr Qt::Key kKeys[] = {Qt::Key_Left,   Qt::Key_Right,   Qt::Key_Up,
                                            Qt::Key_Down,   Qt::Key_Home,    Qt::Key_End,
                                            Qt::Key_PageUp, Qt::Key_PageDown};
        const Qt::Key key = kKeys[static_cast<int>(step.key)];
        const QPoint at = OnFirstLine(step.column);
        switch (step.act) {
            case Act::Key:
                return QTest::keyClick(&view, key);
            case ShiftKey:
                return QTest::keyClick(&view, key, Qt::ShiftModifier);
            case Click:
                return QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
            case ShiftClick:
                return QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, at);
            case DoubleClick:
                return QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
            default:
                return QTest::keySequence(&view, QKeySequence::Copy);
        }
    }
    std::vector<std::u16string> ChooseFromMenu(char16_t mnemonic) {
        std::vector<std::u16string> offered;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (const QAction* action : menu->actions()) {
                offered.push_back(
                    (action->text() + (action->isEnabled() ? "" : " (off)")).toStdU16String());
            }
            QTest::keyClick(menu, static_cast<char>(mnemonic));
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                view.viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(view.viewport(), &event);
        return offered;
    }
    std::u16string Clipboard() const { return QApplication::clipboard()->text().toStdU16String(); }
};

TEST_P(ViewRulesTest, SelectsAndCopiesAsTheModelSays) {
    Check(*this, GetParam());
}

INSTANTIATE_TEST_SUITE_P(BothViews, ViewRulesTest, testing::ValuesIn(view_rules::kRules),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(TextViewTest, KeepsScrollingWhileTheButtonIsHeldBelowIt) {
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, OnFirstLine(0));
    const QPoint below(5, view.viewport()->height() + 20);
    QMouseEvent move(QEvent::MouseMove, below, view.viewport()->mapToGlobal(below), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    const std::size_t first = view.Model().TopLine();
    EXPECT_GT(first, 0U);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.Model().TopLine() > first + 2; }, 2000));
    EXPECT_EQ(view.verticalScrollBar()->value(), static_cast<int>(view.Model().TopLine()));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, below);
    const std::size_t released = view.Model().TopLine();
    QTest::qWait(200);
    EXPECT_EQ(view.Model().TopLine(), released);
    EXPECT_EQ(view.Model().Anchor(), 0U);
}

// Name, role, state, value and selection are the accessibility table's; ranges and keys are here.
TEST_F(TextViewTest, GivesAssistiveTechnologyRangesAndTheCaretAfterKeys) {
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(&view)->textInterface();
    ASSERT_NE(text, nullptr);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(text->cursorPosition(), 3);
    EXPECT_EQ(text->text(3, 8), QStringLiteral("ab+cd"));
    EXPECT_EQ(text->characterCount(), static_cast<int>(view.Text().Size()));
}

}  // namespace
