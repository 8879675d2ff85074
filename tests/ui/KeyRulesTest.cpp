#include <QApplication>
#include <QClipboard>
#include <QPushButton>

#include "jobs/Messages.h"
#include "tests/ui/KeyRules.h"
#include "tests/ui/WindowFixture.h"
#include "ui/ControlTable.h"
#include "ui/qt/QtText.h"

namespace {

using namespace key_rules;

// The real window as the shared tables drive it.
class QtWindowDriver : public WindowTest {
  public:
    QWidget* Widget(ControlId id) {
        const auto& controls = MainDialogControls();
        const auto item = std::find_if(controls.begin(), controls.end(),
                                       [id](const ControlTemplate& item) { return item.id == id; });
        return Find(std::string(item->objectName).c_str());
    }
    void Focus(ControlId id) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        Widget(id)->setFocus();
    }
    void Type(std::u16string_view text) {
        QTest::keyClicks(QApplication::focusWidget(), ToQString(text));
    }
    void Paste(std::u16string_view text) {
        QApplication::clipboard()->setText(ToQString(text));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    }
    void Press(Key key) {
        static constexpr std::pair<Qt::Key, Qt::KeyboardModifier> kKeys[] = {
            {Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Escape, Qt::NoModifier},
            {Qt::Key_Tab, Qt::NoModifier},    {Qt::Key_Backtab, Qt::ShiftModifier},
            {Qt::Key_Left, Qt::NoModifier},   {Qt::Key_Right, Qt::NoModifier},
            {Qt::Key_Up, Qt::NoModifier},     {Qt::Key_Down, Qt::NoModifier},
            {Qt::Key_C, Qt::ControlModifier}, {Qt::Key_Q, Qt::AltModifier}};
        const auto [code, modifier] = kKeys[static_cast<int>(key)];
        QTest::keyClick(QApplication::focusWidget(), code, modifier);
        QCoreApplication::processEvents();
    }
    void Click(ControlId id) { QTest::mouseClick(Widget(id), Qt::LeftButton); }
    std::u16string Text(ControlId id) { return toolkit.GetText(id).Wide(); }
    bool HasFocus(ControlId id) { return QApplication::focusWidget() == Widget(id); }
    bool IsOpen() const { return window.isVisible(); }
    // Clicked past the event loop, which the worker needs for its first step: the run is paused
    // before it can end.
    void StartAPausedRun() {
        const auto numbers = home / "numbers.txt";
        WriteFileBytes(numbers, Repeated("7\r\n", 1000));
        ASSERT_NO_FATAL_FAILURE(ChooseFile(numbers));
        Click(ControlId::LoadFile);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Widget(ControlId::LoadFile)->isEnabled(); }));
        Find<QPushButton>("m_btnConvertFile")->click();
        Find<QPushButton>("m_btnPause")->click();
    }
    bool WaitForTheRunsEnd() {
        return QTest::qWaitFor([&] { return Widget(ControlId::Save)->isVisible(); });
    }
    bool IsShown(ControlId id) { return Widget(id)->isVisible(); }
    // Through the file dialog, answered, and the box that tells the file was saved.
    bool SaveTo(const std::filesystem::path& path) {
        watchdog.AnswerFileDialog(QString::fromStdString(path.string()));
        watchdog.Allow(1);
        Click(ControlId::Save);
        const QString saved = QStringLiteral("messageBox:") + ToQString(message::kSaved);
        return QTest::qWaitFor([&] { return watchdog.Closed().endsWith(saved); }) &&
               QTest::qWaitFor([&] { return Widget(ControlId::Save)->isEnabled(); });
    }
};

class KeyRulesTest : public QtWindowDriver, public testing::WithParamInterface<key_rules::Rule> {};

TEST_P(KeyRulesTest, KeysReachOnlyTheFocusedControl) {
    Open();
    Check(*this, GetParam());
}

INSTANTIATE_TEST_SUITE_P(BothWindows, KeyRulesTest, testing::ValuesIn(key_rules::kRules),
                         [](const auto& row) { return std::string(row.param.name); });

using FileRunTest = QtWindowDriver;

TEST_F(FileRunTest, LoadsConvertsSavesAndExits) {
    Open();
    CheckAFileRun(*this, home / "saved.tbin");
}

}  // namespace
