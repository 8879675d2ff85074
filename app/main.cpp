#include <QApplication>

#include "app/TallowApp.h"

namespace {

// A display the user can see: an X or Wayland one, or a platform the user chose that shows
// windows.
bool HasDisplay() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty()) {
        return !platform.startsWith("offscreen") && !platform.startsWith("minimal");
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool hasDisplay = HasDisplay();
    // Without one, the automatic run still takes place, on Qt's offscreen platform.
    if (!hasDisplay && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    CTallowApp app(hasDisplay);
    return app.InitInstance();
}
