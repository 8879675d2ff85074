#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "jobs/Messages.h"
#include "tests/support/TestBytes.h"
#include "tests/support/WorkerJoin.h"
#include "tests/ui/WindowFixture.h"
#include "ui/qt/QtText.h"

namespace {

// What keys do is the shared key table's. A window-manager close skips the exit steps: no
// settings are written.
TEST_F(WindowTest, StartsWithTheRunControlsHiddenAndClosesOnlyWhenAskedTo) {
    Open();
    for (const char* hidden : {"m_btnConvertFile", "m_btnSave", "m_btnPause", "m_btnCancel",
                               "m_editProgress", "m_progress", "m_checkShowMessages"}) {
        EXPECT_FALSE(Find(hidden)->isVisible()) << hidden;
    }
    EXPECT_TRUE(Find("m_btnExit")->hasFocus());
    EXPECT_EQ(window.windowIcon().availableSizes().size(), 7) << "the icon's pictures are built in";
    EXPECT_EQ(Find<QLineEdit>("m_editModulePath")->text(), QCoreApplication::applicationFilePath());
    EXPECT_TRUE(std::filesystem::is_directory(ProductFolder() / "Result"));

    watchdog.Allow(1);
    QTest::mouseClick(Find("m_btnAbout"), Qt::LeftButton);
    EXPECT_EQ(watchdog.Closed(), QStringList{QStringLiteral("aboutBox")});
    EXPECT_TRUE(window.isVisible());
    window.close();
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

TEST_F(WindowTest, ExitKeepsTheArmedFolderAndSavesTheBoxes) {
    Open();
    watchdog.Allow(1);
    QTest::mouseClick(Find("m_checkAutoRun"), Qt::LeftButton);
    EXPECT_EQ(watchdog.Closed(), QStringList{QStringLiteral("messageBox:") +
                                             ToQString(message::kAutoFileFolderCreated)});
    QTest::mouseClick(Find("m_checkShowMessages"), Qt::LeftButton);
    QTest::mouseClick(Find("m_btnExit"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(std::filesystem::is_directory(ProductFolder() / "AutoFile"));
    EXPECT_EQ(ReadFileBytes(ProductFolder() / "temp" / "Radix2A.tmp"), "1\r\n1");
}

// 「終了」 pressed right after 「ファイルデータを変換」, before the run has disabled it: the run
// is cancelled, the window closes, and the worker ends without it.
TEST_F(WindowTest, ExitAsARunStartsClosesTheWindowAndEndsTheWorker) {
    Open();
    WriteFileBytes(home / "numbers.txt", CountingList(2'000'000, 1));
    ChooseFile(home / "numbers.txt");
    QTest::mouseClick(Find("m_btnLoadFile"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Find("m_btnExit")->isEnabled(); }, 60000));
    QTest::mouseClick(Find("m_btnConvertFile"), Qt::LeftButton);
    QTest::mouseClick(Find("m_btnExit"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 10000));
    JoinTheWorkerWithoutTheWindow(toolkit);
}

}  // namespace
