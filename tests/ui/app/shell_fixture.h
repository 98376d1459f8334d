#pragma once
// A main window on a private Store with scripted dialogs.
#include "app/app_hooks.h"
#include "app/main_window.h"
#include "test_support.h"

#include <QTest>
#include <memory>

struct ShellFixture {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    FakeDialogs dialogs;
    AppHooks hooks;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(*store, dialogs, hooks);

    // Shown and active, so window shortcuts reach their actions.
    bool showActive()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowActive(window.get());
    }
};
