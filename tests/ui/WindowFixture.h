#pragma once

#include <gtest/gtest.h>

#include <QTest>

#include "tests/support/DialogFixture.h"
#include "tests/support/ScratchFolder.h"
#include "tests/ui/ModalWatchdog.h"
#include "ui/TallowDlg.h"
#include "ui/qt/BrowseField.h"
#include "ui/qt/QtToolkit.h"
#include "ui/qt/TallowWindow.h"

// The real window on the offscreen platform, with a home folder of its own.
class WindowTest : public ::testing::Test {
  protected:
    WindowTest() {
        ResetProcessState();
        qputenv("HOME", QByteArray::fromStdString(home.path().string()));
        std::filesystem::create_directories(home / "Documents" / "Merrow");
    }

    void Open() {
        ASSERT_TRUE(window.Start(dialog));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename Widget = QWidget>
    Widget* Find(const char* objectName) {
        auto* widget = window.findChild<Widget*>(QString::fromLatin1(objectName));
        EXPECT_NE(widget, nullptr) << objectName;
        return widget;
    }

    // Types the path of a new file with these bytes into the file field.
    void ChooseFile(std::string_view bytes) {
        WriteFileBytes(home / "numbers.txt", bytes);
        Find<BrowseField>("m_browseFile")
            ->setText(QString::fromStdString((home / "numbers.txt").string()));
    }
    // Presses Load File and waits for the load, which reads off the window's thread, to end.
    void LoadFile() {
        QTest::mouseClick(Find("m_btnLoadFile"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Find("m_btnLoadFile")->isEnabled(); }, 10000));
    }

    std::filesystem::path ProductFolder() const {
        return home / "Documents" / "Merrow" / "TallowKit";
    }

    ScratchFolder home;
    ModalWatchdog watchdog;
    TallowWindow window{QStringLiteral("working folder"), QStringLiteral("help")};
    QtToolkit toolkit{window};
    CTallowDlg dialog{toolkit};
};
