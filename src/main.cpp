#include "app/main_window.h"
#include "model/store.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // Without a display Qt would abort with a long plugin message; say it plainly instead.
    const bool offscreen = qgetenv("QT_QPA_PLATFORM") == "offscreen";
    if (!offscreen && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "brindlecove: no display found (DISPLAY and WAYLAND_DISPLAY are unset).\n"
                             "Start it from a desktop session, or under xvfb-run.\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Brindlecove");
    QApplication::setOrganizationName("Wendlethorpe");
    QApplication::setApplicationVersion(BRINDLECOVE_VERSION);

    MainWindow window(Store::shared());
    window.show();
    return app.exec();
}
