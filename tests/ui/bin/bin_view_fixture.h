#pragma once
// A bin screen shown offscreen over a Store of files in the test's own folder, with a desk that
// records previews, opened files and the clipboard instead of reaching the desktop.
#include "bin/bin_controller.h"
#include "bin/bin_desk.h"
#include "bin/bin_table.h"
#include "bin/bin_table_model.h"
#include "bin/bin_toolbar.h"
#include "bin/bin_view.h"
#include "model/file_item.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <memory>

class RecordingDesk : public BinDesk {
public:
    QStringList previewed, opened, revealed;
    QString clipboard;
    QStringList picked;  // what every files-and-folders panel answers; empty is a cancel
    int previews = 0, panels = 0;
    std::optional<QString> promptText(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<std::pair<QString, bool>> promptCustomColumn() override { return {}; }
    QStringList chooseFolders(const QString&, const QString&) override { return {}; }
    QStringList chooseFilesAndFolders(const QString&) override
    {
        ++panels;
        return picked;
    }
    bool confirm(const QString&, const QString&, const QString&, const QString&) override { return true; }
    void setClipboardText(const QString& text) override { clipboard = text; }
    void openFile(const QString& path) override { opened.append(path); }
    void preview(const QStringList& paths) override
    {
        ++previews;
        previewed = paths;
    }
    void reveal(const QStringList& paths) override { revealed = paths; }
};

struct BinViewFixture {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    FakeDialogs dialogs;
    std::unique_ptr<BinView> view;
    std::shared_ptr<RecordingDesk> desk = std::make_shared<RecordingDesk>();
    double now = 1000;  // the quick-edit clock, in seconds

    BinViewFixture()
    {
        view = std::make_unique<BinView>(*store, dialogs);
        table()->setClock([this] { return now; });
        view->resize(1400, 600);
        view->show();
        bin().setDesk(desk);
    }
    ~BinViewFixture() { store->setLangZh(false); }

    BinController& bin() { return store->bin(); }
    BinTable* table() { return view->table(); }
    BinTableModel* model() { return table()->binModel(); }
    BinToolbar* toolbar() { return view->toolbar(); }

    QList<FileItem> list(const QStringList& names)
    {
        QList<FileItem> items;
        for (const QString& n : names)
            items << FileItem::file(env.makeFile(n));
        store->editItems([&items](QList<FileItem>& all) { all.append(items); });
        QCoreApplication::processEvents();
        return items;
    }
    const BinRow& row(int i) { return bin().rows().at(i); }
    QModelIndex cell(int rowIndex, const QString& key) { return model()->index(rowIndex, model()->columnOf(key)); }
    QVariant data(int rowIndex, const QString& key, int role = Qt::DisplayRole)
    {
        return cell(rowIndex, key).data(role);
    }
    QLineEdit* editor() { return qobject_cast<QLineEdit*>(table()->cellEditor()); }
    // Opens the cell's editor as a click does.
    QLineEdit* focus(int rowIndex, const QString& key)
    {
        table()->focusCell(row(rowIndex).id, key);
        return editor();
    }
    void select(const QList<int>& rows)
    {
        QSet<QUuid> ids;
        for (int i : rows)
            ids.insert(row(i).id);
        bin().setSelection(ids);
    }
    static BinRow offlineRow(const QString& name)
    {
        BinRow row;
        row.id = QUuid::createUuid();
        row.name = name;
        row.kind = metaKindForPath(name);
        row.fields.kind = row.kind;
        return row;
    }
};
