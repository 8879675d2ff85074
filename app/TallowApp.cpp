#include "app/TallowApp.h"

#include "app/AutomaticRunEnd.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "storage/WorkingFolders.h"
#include "ui/TallowDlg.h"
#include "ui/qt/QtToolkit.h"
#include "ui/qt/TallowWindow.h"

namespace {

// The installed help, or the one in the source tree when running from a build folder.
QString HelpFile() {
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/" TALLOW_HELP_FROM_PROGRAM);
    if (QFileInfo::exists(installed)) {
        return QDir::toNativeSeparators(QFileInfo(installed).canonicalFilePath());
    }
    return QDir::toNativeSeparators(QStringLiteral(TALLOW_SOURCE_DIR "/README.md"));
}

}  // namespace

int CTallowApp::InitInstance() {
    TallowWindow window;
    QtToolkit toolkit(window);
    window.SetLinks(QFile::decodeName(ProductFolder(toolkit.DocumentsFolder()).c_str()),
                    HelpFile());
    toolkit.SetMessagesShown(m_hasDisplay);
    CTallowDlg dialog(toolkit);
    if (!window.Start(dialog)) {
        return ReportAutomaticRun(dialog.AutomaticOutcome());
    }
    if (!m_hasDisplay) {
        std::fprintf(stderr, "Tallow: no display could be opened to show the window on.\n");
        return 1;
    }
    window.exec();
    return 0;
}
