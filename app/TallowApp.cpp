#include "app/TallowApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "storage/WorkingFolders.h"
#include "ui/TallowDlg.h"
#include "ui/qt/QtToolkit.h"
#include "ui/qt/TallowWindow.h"

namespace {

QString WorkingFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir::toNativeSeparators(
        QString::fromStdU16String(ProductFolder(documents.toStdU16String()).u16string()));
}

// The installed help, or the one in the source tree when running from a build folder.
QString HelpFile() {
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/doc/tallow/README.md");
    if (QFileInfo::exists(installed)) {
        return QDir::toNativeSeparators(QFileInfo(installed).canonicalFilePath());
    }
    return QDir::toNativeSeparators(QStringLiteral(TALLOW_SOURCE_DIR "/README.md"));
}

}  // namespace

int CTallowApp::InitInstance() {
    TallowWindow window(WorkingFolder(), HelpFile());
    QtToolkit toolkit(window);
    CTallowDlg dialog(toolkit);
    window.RunModal(dialog);
    return 0;
}
