#pragma once
// A Batch Rules screen over a Store of real files in the test's own folder.
#include "batch/batch_list_model.h"
#include "batch/batch_view.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QStringList>
#include <memory>

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
        return items;
    }
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
