#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/StandardStreams.h"
#include "app/UnattendedRun.h"
#include "jobs/TallowDlg.h"
#include "process/AutoRunOutcome.h"
#include "storage/UserDocuments.h"
#include "storage/WorkingFolders.h"
#include "ui/qt/QtToolkit.h"
#include "ui/qt/TallowWindow.h"

namespace {

// The platform the user asked for or the session has, with offscreen behind it: when a named
// display cannot be opened (a gone X server, an ssh or cron session), Qt falls back to offscreen
// instead of aborting, and the automatic run still takes place.
QByteArray PlatformsToTry() {
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (!chosen.isEmpty()) {
        return chosen + ";offscreen";
    }
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!x11 && !wayland) {
        return "offscreen";
    }
    return wayland ? "wayland;xcb;offscreen" : "xcb;offscreen";
}

bool ShowsWindows(const QString& platform) {
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

// Qt gets the program's name alone, so no argument can change the platform, the style or the
// layout.
char gName[] = "Tallow";
char* gArguments[] = {gName, nullptr};
int gCount = 1;

// The boxes an automatic run asked for, once its files are done and its status stands. A display
// that does not answer (a stopped X server) must not keep the caller waiting: after a few seconds
// without a connection the process ends with the status. Qt's own warnings stay off standard
// error, which holds the run's one line.
void ShowBoxesAfterTheRun(const std::vector<HeadlessToolkit::Message>& messages, int status) {
    if (messages.empty() || PlatformsToTry() == "offscreen") {
        return;
    }
    static std::atomic<bool> connected{false};
    std::thread([status] {
        std::this_thread::sleep_for(std::chrono::seconds(5));
        if (!connected.load()) {
            std::_Exit(status);
        }
    }).detach();
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    qputenv("QT_QPA_PLATFORM", PlatformsToTry());
    QApplication application(gCount, gArguments);
    connected.store(true);
    if (!ShowsWindows(QGuiApplication::platformName())) {
        return;
    }
    for (const HeadlessToolkit::Message& message : messages) {
        QtToolkit::ExecMessageBox(message.text, message.icon, nullptr);
    }
}

// The installed help, or the one in the source tree when running from a build folder.
QString HelpFile() {
    const QString installed =
        QCoreApplication::applicationDirPath() + QStringLiteral("/" TALLOW_HELP_FROM_PROGRAM);
    if (QFileInfo::exists(installed)) {
        return QDir::toNativeSeparators(QFileInfo(installed).canonicalFilePath());
    }
    return QDir::toNativeSeparators(QStringLiteral(TALLOW_SOURCE_DIR "/README.md"));
}

// Runs the dialog in its window; returns the process's exit status: the automatic run's outcome,
// 0 for an interactive session, 1 when the window cannot be shown.
int RunWindow(bool hasDisplay) {
    TallowWindow window;
    QtToolkit toolkit(window);
    window.SetLinks(QFile::decodeName(ProductFolder(toolkit.DocumentsFolder()).c_str()),
                    HelpFile());
    toolkit.SetMessagesShown(hasDisplay);
    CTallowDlg dialog(toolkit);
    if (!window.Start(dialog)) {
        return ReportAutomaticRun(dialog.AutomaticOutcome());
    }
    if (!hasDisplay) {
        std::fprintf(stderr, "Tallow: no display could be opened to show the window on.\n");
        return 1;
    }
    window.exec();
    return 0;
}

}  // namespace

// The command line is never read. An armed AutoFile folder is converted before any display is
// connected to; the window's toolkit starts only for an interactive session.
int main(int, char*[]) {
    KeepStatusApartFromStandardStreams();
    std::error_code ignored;
    HeadlessToolkit toolkit(UserDocumentsFolder(),
                            std::filesystem::read_symlink("/proc/self/exe", ignored));
    if (const std::optional<int> status = RunUnattended(toolkit)) {
        ShowBoxesAfterTheRun(toolkit.Messages(), *status);
        return *status;
    }
    qputenv("QT_QPA_PLATFORM", PlatformsToTry());
    QApplication application(gCount, gArguments);
    return RunWindow(ShowsWindows(QGuiApplication::platformName()));
}
