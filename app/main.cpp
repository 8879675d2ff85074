#include <QApplication>

#include "app/TallowApp.h"

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

}  // namespace

// The command line is never read: Qt gets the program's name alone, so no argument can change
// the platform, the style or the layout.
int main(int, char*[]) {
    qputenv("QT_QPA_PLATFORM", PlatformsToTry());
    static char name[] = "Tallow";
    static char* arguments[] = {name, nullptr};
    static int count = 1;
    QApplication application(count, arguments);
    CTallowApp app(ShowsWindows(QGuiApplication::platformName()));
    return app.InitInstance();
}
