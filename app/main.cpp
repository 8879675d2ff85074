#include <QApplication>

#include "app/TallowApp.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CTallowApp app;
    return app.InitInstance();
}
