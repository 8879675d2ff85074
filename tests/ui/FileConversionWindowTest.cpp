#include <QApplication>
#include <QClipboard>

#include "jobs/Messages.h"
#include "tests/ui/WindowFixture.h"
#include "ui/qt/QtText.h"
#include "ui/qt/TextView.h"

namespace {

using FileConversionWindowTest = WindowTest;

// The window thread handles the load's end only once it is back in its event loop, so right
// after the click the load is still under way, whatever the file's size.
TEST_F(FileConversionWindowTest, LoadsConvertsAndSavesAFile) {
    Open();
    const auto numbers = home / "numbers.txt";
    WriteFileBytes(numbers, "5\r\n3\r\n0007\n");
    ChooseFile(numbers);
    QTest::mouseClick(Find("m_btnLoadFile"), Qt::LeftButton);
    for (const char* control : {"m_btnLoadFile", "m_btnConvert", "m_btnExit", "m_checkAutoRun",
                                "m_browseFile", "m_editDecimal"}) {
        EXPECT_FALSE(Find(control)->isEnabled()) << control;
    }
    EXPECT_FALSE(Find("m_btnConvertFile")->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Find("m_btnLoadFile")->isEnabled(); }, 10000));
    EXPECT_TRUE(Find("m_btnConvertFile")->isEnabled());
    EXPECT_EQ(Find<TextView>("m_editFileContents")->Text().Wide(), u"5\r\n3\r\n0007\r\n");
    EXPECT_EQ(Find<TextView>("m_editFileContents")->LineCount(), 4U);

    QTest::mouseClick(Find("m_btnConvertFile"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Find("m_btnSave")->isVisible(); }, 5000));
    auto* result = Find<TextView>("m_editResult");
    EXPECT_EQ(result->Text().Wide(), u"101\r\n11\r\n111\r\n");
    result->setFocus();
    QTest::keySequence(result, QKeySequence::SelectAll);
    QTest::keySequence(result, QKeySequence::Copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("101\r\n11\r\n111\r\n"));
    EXPECT_FALSE(Find("m_progress")->isVisible());
    EXPECT_TRUE(Find("m_btnExit")->isEnabled());

    const auto saved = home / "saved.tbin";
    watchdog.AnswerFileDialog(QString::fromStdString(saved.string()));
    watchdog.Allow(1);
    QTest::mouseClick(Find("m_btnSave"), Qt::LeftButton);
    const QString savedMessage = QStringLiteral("messageBox:") + ToQString(message::kSaved);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watchdog.Closed().last() == savedMessage; }, 10000));
    EXPECT_EQ(ReadFileBytes(saved), "101\r\n11\r\n111\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Find("m_btnSave")->isEnabled(); }, 10000));
}

}  // namespace
