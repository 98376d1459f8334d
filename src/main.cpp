#include "app/app_shell.h"
#include "app/first_frame_report.h"
#include "app/single_instance.h"
#include "common/first_frame.h"
#include "common/icons.h"
#include "files/history.h"
#include "model/store.h"
#include "platform/start_heap.h"

#include <QApplication>
#include <cstdio>
#include <malloc.h>

int main(int argc, char** argv)
{
    prepareStartHeap();
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
    useInstalledIconTheme();
    QApplication::setDesktopFileName("brindlecove");
    FirstFrameReport::installIfAsked();

    QStringList paths = AppShell::pathsFromArguments(QApplication::arguments().mid(1));
    // A running instance takes the files; this launch has nothing more to do. One busy with a
    // long apply answers late, so it is given time before this launch opens a window of its own
    // (which then leaves the history, log and presets to it).
    if (SingleInstance::handOff(paths, 10000) == SingleInstance::HandOff::delivered)
        return 0;

    loadImageFormatsAhead();
    FirstFrame::holdUntilPainted();
    FirstFrame::afterPainted(&app, settleStartHeap);
    Store& store = Store::shared();
    int rc = 0;
    {
        AppShell shell(store);
        shell.start(paths);
        // Listed now: the arguments' texts go, and after thousands of them their pages go back.
        const bool many = paths.size() > 1000;
        paths = QStringList();
        if (many)
            ::malloc_trim(0);
        rc = app.exec();
    }
    // Renames done just before quitting must reach the history and log files.
    store.history().flushPendingSaves();
    return rc;
}
