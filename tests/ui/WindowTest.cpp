#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "jobs/Messages.h"
#include "tests/ui/WindowFixture.h"
#include "ui/ControlTable.h"
#include "ui/qt/QtText.h"

namespace {

QString ShownText(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    return {};
}

TEST_F(WindowTest, ShowsEveryTextWholeAndNoControlsOverlap) {
    Open();
    const auto controls = MainDialogControls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        QWidget* control = Find(controls[i].objectName.data());
        const QString text = ShownText(control);
        if (!text.isEmpty() && qobject_cast<QPushButton*>(control) != nullptr) {
            EXPECT_LE(control->fontMetrics().horizontalAdvance(text), control->width())
                << controls[i].objectName;
        } else if (!text.isEmpty()) {
            EXPECT_LE(control->sizeHint().width(), control->width()) << controls[i].objectName;
        }
        EXPECT_TRUE(window.rect().contains(control->geometry())) << controls[i].objectName;
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(
                control->geometry().intersects(Find(controls[j].objectName.data())->geometry()))
                << controls[i].objectName << " overlaps " << controls[j].objectName;
        }
    }
}

// A window-manager close skips the exit steps: no settings are written.
TEST_F(WindowTest, StartsWithTheRunControlsHiddenAndShowsAboutUntilClosed) {
    Open();
    for (const char* hidden : {"m_btnConvertFile", "m_btnSave", "m_btnPause", "m_btnCancel",
                               "m_editProgress", "m_progress", "m_checkShowMessages"}) {
        EXPECT_FALSE(Find(hidden)->isVisible()) << hidden;
    }
    EXPECT_TRUE(Find("m_btnExit")->hasFocus());
    EXPECT_EQ(Find<QLineEdit>("m_editModulePath")->text(), QCoreApplication::applicationFilePath());
    EXPECT_TRUE(std::filesystem::is_directory(ProductFolder() / "Result"));

    watchdog.Allow(1);
    QTest::mouseClick(Find("m_btnAbout"), Qt::LeftButton);
    EXPECT_EQ(watchdog.Closed(), QStringList{QStringLiteral("aboutBox")});
    EXPECT_TRUE(window.isVisible());
    window.close();
    EXPECT_EQ(window.result(), IDCANCEL);
    EXPECT_FALSE(std::filesystem::exists(ProductFolder() / "temp" / "Radix2A.tmp"));
}

TEST_F(WindowTest, ConvertsATypedNumberAndRefusesOneOutOfRange) {
    Open();
    auto* input = Find<QPlainTextEdit>("m_editDecimal");
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("255"));
    QTest::mouseClick(Find("m_btnConvert"), Qt::LeftButton);
    EXPECT_EQ(Find<QLineEdit>("m_editBinary")->text(), QStringLiteral("11111111"));

    QTest::keyClicks(input, QStringLiteral("0000000"));
    watchdog.Allow(1);
    QTest::mouseClick(Find("m_btnConvert"), Qt::LeftButton);
    EXPECT_EQ(watchdog.Closed(),
              QStringList{QStringLiteral("messageBox:") + ToQString(message::kTooLargeForSingle)});
    EXPECT_EQ(Find<QLineEdit>("m_editBinary")->text(), QString());
}

TEST_F(WindowTest, EnterAndEscapeNeverCloseTheWindow) {
    Open();
    QWidget* exitButton = Find("m_btnExit");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(exitButton, key);
        QTest::keyClick(&window, key);
    }
    QTest::keyClick(exitButton, Qt::Key_Tab);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(exitButton->hasFocus());

    auto* input = Find<QPlainTextEdit>("m_editDecimal");
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("1"));
    QTest::keyClick(input, Qt::Key_Return);
    QTest::keyClicks(input, QStringLiteral("2"));
    EXPECT_EQ(input->toPlainText(), QStringLiteral("1\n2"));
    EXPECT_EQ(toolkit.GetText(ControlId::Decimal).Wide(), u"1\r\n2");
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowTest, ExitKeepsTheArmedFolderAndSavesTheBoxes) {
    Open();
    watchdog.Allow(1);
    QTest::mouseClick(Find("m_checkAutoRun"), Qt::LeftButton);
    EXPECT_EQ(watchdog.Closed(), QStringList{QStringLiteral("messageBox:") +
                                             ToQString(message::kAutoFileFolderCreated)});
    QTest::mouseClick(Find("m_checkShowMessages"), Qt::LeftButton);
    QTest::mouseClick(Find("m_btnExit"), Qt::LeftButton);
    EXPECT_EQ(window.result(), IDOK);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(std::filesystem::is_directory(ProductFolder() / "AutoFile"));
    EXPECT_EQ(ReadFileBytes(ProductFolder() / "temp" / "Radix2A.tmp"), "1\r\n1");
}

}  // namespace
