#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "jobs/TallowDlg.h"
#include "tests/support/DialogFixture.h"
#include "tests/support/ScratchFolder.h"
#include "tests/ui/ModalWatchdog.h"
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

    // The browse button opens its dialog once back in the event loop.
    void ChooseFile(const std::filesystem::path& file) {
        const QString path = QString::fromStdString(file.string());
        watchdog.AnswerFileDialog(path);
        QTest::mouseClick(Find("browseButton"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Find<QLineEdit>("browsePath")->text() == path; }));
    }

    std::filesystem::path ProductFolder() const {
        return home / "Documents" / "Merrow" / "TallowKit";
    }

    ScratchFolder home;
    ModalWatchdog watchdog;
    TallowWindow window;
    QtToolkit toolkit{window};
    CTallowDlg dialog{toolkit};
};
