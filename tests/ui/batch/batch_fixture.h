#pragma once
// A Batch Rules screen over a Store of real files in the test's own folder.
#include "batch/batch_list_model.h"
#include "batch/batch_view.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTest>
#include <memory>

// Waits for the screen's conflict check to catch up with its names (it runs on a worker
// thread); false when it did not within a few seconds.
inline bool waitForConflictCheck(BatchView& view)
{
    return QTest::qWaitFor([&] { return view.conflictsCurrent(); }, 5000);
}

struct BatchFixture {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    FakeDialogs dialogs;
    std::unique_ptr<BatchView> view;

    BatchFixture() { view = std::make_unique<BatchView>(*store, dialogs); }

    // Creates the files in the test folder and lists them, in this order.
    QList<FileItem> list(const QStringList& names)
    {
        QList<FileItem> items;
        for (const QString& n : names)
            items << FileItem::file(env.makeFile(n));
        store->setItems(items);
        QCoreApplication::processEvents();  // the list comes into view and is checked
        waitForCheck();
        return items;
    }
    // The conflict check runs on a worker: true once the shown result belongs to the current names.
    bool waitForCheck() { return waitForConflictCheck(*view); }
    QStringList numbered(int count, const QString& pattern = QStringLiteral("IMG_%1.JPG"))
    {
        QStringList names;
        for (int i = 1; i <= count; ++i)
            names << pattern.arg(i, 4, 10, QChar('0'));
        return names;
    }
    void prefix(const QString& text)
    {
        store->editRules([&](RuleSettings& r) {
            r.prefixEnabled = true;
            r.prefixText = text;
        });
    }
    QString rowText(int row, int role) const { return view->model()->index(row).data(role).toString(); }
};
