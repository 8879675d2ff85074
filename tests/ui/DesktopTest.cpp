#include <QAccessible>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "tests/support/ClickRecorder.h"
#include "tests/ui/DesktopRules.h"
#include "tests/ui/WindowFixture.h"
#include "ui/qt/QtText.h"

namespace {

using namespace desktop_rules;

// The real window as the desktop table drives it, its clicks recorded rather than carried out.
class DesktopTest : public WindowTest {
  public:
    void OpenRecording() {
        ASSERT_TRUE(window.Start(recorder));
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QWidget* Widget(std::string_view control) {
        return Find(control == "m_browseFile" ? "browsePath" : std::string(control).c_str());
    }
    // As the screen reader's bridge reads it: the first action's key, or the accelerator.
    std::optional<std::u16string> KeyBinding(std::string_view control) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(Widget(control));
        QAccessibleActionInterface* actions = face->actionInterface();
        const QStringList bindings = actions == nullptr || actions->actionNames().isEmpty()
                                         ? QStringList{}
                                         : actions->keyBindingsForAction(actions->actionNames()[0]);
        return bindings.value(0, face->text(QAccessible::Accelerator)).toStdU16String();
    }
    // A button pressed by its key clicks 100 ms later.
    void AltKey(const KeyRow& row) {
        m_opensBox = row.control == "browseButton" && row.usable;
        watchdog.Allow(m_opensBox ? 1 : 0);
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(row.key),
                        Qt::AltModifier);
        QTest::qWait(150);
    }
    bool HasFocus(std::string_view control) { return Widget(control)->hasFocus(); }
    bool WasPressed(std::string_view control) {
        if (control == "browseButton") {
            return m_opensBox && QTest::qWaitFor([&] { return !watchdog.Closed().isEmpty(); });
        }
        const ControlTemplate* item = FindControl(control);
        return item != nullptr && recorder.Clicked(*item->id);
    }

    bool DragOver(const std::vector<std::filesystem::path>& files) {
        Prepare(files);
        // Offered as a move too, and proposed as one, as a file manager does with Shift held.
        QDragEnterEvent enter(Over(), Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &m_data,
                              Qt::LeftButton, Qt::ShiftModifier);
        enter.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(window.windowHandle(), &enter);
        return enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    }
    void Drop(const std::vector<std::filesystem::path>& files) {
        Prepare(files);
        QDropEvent drop(Over(), Qt::CopyAction | Qt::MoveAction, &m_data, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(window.windowHandle(), &drop);
        QTest::qWait(50);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Find("m_btnLoadFile")->isEnabled(); }));
    }
    std::u16string Text(ControlId id) { return toolkit.GetText(id).Wide(); }

    ClickRecorder recorder{dialog};

  private:
    static const ControlTemplate* FindControl(std::string_view name) {
        for (const ControlTemplate& item : MainDialogControls()) {
            if (item.objectName == name) {
                return &item;
            }
        }
        return nullptr;
    }
    void Prepare(const std::vector<std::filesystem::path>& files) {
        QList<QUrl> urls;
        for (const auto& file : files) {
            urls << QUrl::fromLocalFile(QString::fromStdString(file.string()));
        }
        m_data.setUrls(urls);
    }
    // Over the number field, which takes no file itself.
    QPoint Over() { return Find("m_editDecimal")->geometry().center(); }

    QMimeData m_data;
    bool m_opensBox = false;
};

class AccessKeyTest : public DesktopTest, public testing::WithParamInterface<KeyRow> {};

TEST_P(AccessKeyTest, ReachesItsControlOnlyWhereAUserCould) {
    OpenRecording();
    Check(*this, GetParam());
}

INSTANTIATE_TEST_SUITE_P(BothWindows, AccessKeyTest, testing::ValuesIn(kKeys),
                         [](const auto& row) { return std::string(row.param.control); });

class DropTest : public DesktopTest, public testing::WithParamInterface<DropRow> {};

TEST_P(DropTest, LoadsOneFileDroppedAnywhere) {
    Open();
    Check(*this, GetParam(), home.path());
}

INSTANTIATE_TEST_SUITE_P(BothWindows, DropTest, testing::ValuesIn(kDrops),
                         [](const auto& row) { return std::string(row.param.name); });

// Opened links reach this object instead of the desktop.
class OpenedLinks : public QObject {
    Q_OBJECT
  public:
    OpenedLinks() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~OpenedLinks() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList opened;

  public slots:
    void Open(const QUrl& url) { opened << url.toLocalFile(); }
};

TEST_F(DesktopTest, ALinkReachedByItsKeyOpensOnEnter) {
    OpenedLinks links;
    OpenRecording();
    window.SetLinks(QStringLiteral("/tmp/working"), QStringLiteral("/tmp/help.md"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(links.opened, QStringList{QStringLiteral("/tmp/help.md")});
}

// Run again at each scale factor (see the CMake file): labels and check boxes grow, buttons take
// a smaller font.
TEST_F(DesktopTest, EveryCaptionShowsWhole) {
    Open();
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
    for (const QCheckBox* box : window.findChildren<QCheckBox*>()) {
        EXPECT_GE(box->width(), box->sizeHint().width()) << box->text().toStdString();
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 4, button->width())
            << button->text().toStdString();
    }
}

// Long paths keep their ends in sight, and give the whole path when pointed at or read.
TEST_F(DesktopTest, LongPathsShowTheirEndsAndGiveTheWholePath) {
    Open();
    const QString path = QStringLiteral("/home/user/ドキュメント ") + QString(150, u'x') +
                         QStringLiteral(" 最後/TallowKit");
    window.SetLinks(path, path + QStringLiteral("/README.md"));
    auto* link = Find<QLabel>("linkWorkingFolder");
    EXPECT_EQ(link->toolTip(), path);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(link)->text(QAccessible::Name), path);
    EXPECT_TRUE(link->text().contains(u'…'));
    EXPECT_TRUE(link->text().contains(QStringLiteral(">/home/user/")));
    EXPECT_TRUE(link->text().contains(QStringLiteral("最後/TallowKit<")));
    EXPECT_LE(link->sizeHint().width(), link->width());
    const auto* modulePath = Find("m_editModulePath");
    EXPECT_EQ(modulePath->toolTip(), QCoreApplication::applicationFilePath());
}

}  // namespace

#include "DesktopTest.moc"
