#include <QAccessible>
#include <QPushButton>

#include "tests/ui/AccessibilityRules.h"
#include "tests/ui/WindowFixture.h"
#include "ui/qt/QtText.h"
#include "ui/qt/TextView.h"

namespace {

using namespace accessibility_rules;

// The window as assistive technology reaches it: through QAccessible only, widgets found by their
// object names.
class AccessibilityTest : public WindowTest {
  public:
    QAccessibleInterface* Interface(std::string_view control) {
        // The path field inside the browse field is what takes the focus and is read.
        const std::string name(control == "m_browseFile" ? "browsePath" : control);
        return QAccessible::queryAccessibleInterface(Find(name.c_str()));
    }
    QAccessibleTextInterface* TextOf(std::string_view control) {
        return Interface(control)->textInterface();
    }
    std::u16string Name(std::string_view control) {
        return Interface(control)->text(QAccessible::Name).toStdU16String();
    }
    Role RoleOf(std::string_view control) {
        switch (Interface(control)->role()) {
            case QAccessible::Button:
                return Role::PushButton;
            case QAccessible::CheckBox:
                return Role::CheckBox;
            case QAccessible::ProgressBar:
                return Role::ProgressBar;
            case QAccessible::Link:
                return Role::Link;
            default:
                return Role::Text;
        }
    }
    bool IsReadOnly(std::string_view control) {
        QAccessibleInterface* face = Interface(control);
        const QAccessible::State state = face->state();
        return state.readOnly && !state.editable && face->editableTextInterface() == nullptr;
    }
    void Press(std::string_view control) {
        Interface(control)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        // A button pressed this way clicks a moment later.
        QTest::qWait(300);
    }
    // A toggle clicks a moment later, and the box it opens is closed: only a usable one opens it.
    void Toggle(std::string_view control) {
        const QWidget* box = Find(std::string(control).c_str());
        watchdog.Allow(box->isVisible() && box->isEnabled() ? 1 : 0);
        Interface(control)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QTest::qWait(300);
    }
    bool IsChecked(std::string_view control) { return Interface(control)->state().checked; }
    void Disable(std::string_view control) {
        Find(std::string(control).c_str())->setEnabled(false);
    }
    bool IsEnabled(std::string_view control) { return !Interface(control)->state().disabled; }
    std::u16string Text(std::string_view control) {
        QAccessibleInterface* face = Interface(control);
        const auto kind = face->textInterface() != nullptr ? QAccessible::Value : QAccessible::Name;
        return face->text(kind).toStdU16String();
    }
    void SetValue(std::string_view control, std::u16string_view text) {
        QAccessibleInterface* face = Interface(control);
        face->setText(QAccessible::Value, ToQString(text));
        if (auto* editable = face->editableTextInterface()) {
            editable->replaceText(0, face->textInterface()->characterCount(), ToQString(text));
        }
    }
    int Caret(std::string_view control) { return TextOf(control)->cursorPosition(); }
    std::pair<int, int> Selection(std::string_view control) {
        int start = -1;
        int end = -1;
        TextOf(control)->selection(0, &start, &end);
        return {start, end};
    }
    void SelectAll(std::string_view control) {
        QWidget* box = Find(std::string(control).c_str());
        box->setFocus();
        QTest::keySequence(box, QKeySequence::SelectAll);
    }
    std::array<int, 4> CharacterBox(std::string_view control, int offset) {
        const QRect box = TextOf(control)->characterRect(offset);
        return {box.x(), box.y(), box.width(), box.height()};
    }
    int OffsetAt(std::string_view control, int x, int y) {
        return TextOf(control)->offsetAtPoint({x, y});
    }
    void Load(std::string_view bytes) {
        const auto file = home / "numbers.txt";
        WriteFileBytes(file, bytes);
        ASSERT_NO_FATAL_FAILURE(ChooseFile(file));
        Press("m_btnLoadFile");
        ASSERT_TRUE(QTest::qWaitFor([&] { return Find("m_btnLoadFile")->isEnabled(); }));
    }
    bool ShowsMessagesBox() { return Find("m_checkShowMessages")->isVisible(); }
    int AboutBoxesOpened() { return static_cast<int>(watchdog.Closed().count("aboutBox")); }
};

class NamedTest : public AccessibilityTest, public testing::WithParamInterface<Named> {};

TEST_P(NamedTest, EachControlIsNamedAndRoledAsTheTableSays) {
    Open();
    CheckNamed(*this, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Qt, NamedTest, testing::ValuesIn(kNamed),
                         [](const auto& info) { return std::string(info.param.control); });

class RulesTest : public AccessibilityTest,
                  public testing::WithParamInterface<accessibility_rules::Rule> {};

TEST_P(RulesTest, AssistiveTechnologyReadsAndActsAsAUserCan) {
    Open();
    Check(*this, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Qt, RulesTest, testing::ValuesIn(accessibility_rules::kRules),
                         [](const auto& info) { return std::string(info.param.name); });

// Labels tell which field they name; the links are links that open their targets.
TEST_F(AccessibilityTest, LabelsNameTheirFieldsAndLinksOpen) {
    Open();
    const auto labelled = Interface("m_editResult")->relations(QAccessible::Label);
    ASSERT_EQ(labelled.size(), 1);
    EXPECT_EQ(labelled.first().first->text(QAccessible::Name), QStringLiteral("処理結果"));

    window.SetLinks(QStringLiteral("/tmp/working"), QStringLiteral("/tmp/help.md"));
    QAccessibleInterface* link = Interface("linkHelp");
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(link->text(QAccessible::Name), QStringLiteral("/tmp/help.md"));
    EXPECT_EQ(link->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::pressAction()});
}

}  // namespace
