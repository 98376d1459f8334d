#pragma once
// A Store listing `count` camera-style names with the typical preview rule set: a regex
// find/replace, blanks to underscores and numbering; `caseAndDate` adds upper case and a
// capture-date insertion.
#include "model/store.h"
#include "platform/settings.h"

#include <QTemporaryDir>
#include <memory>

inline std::unique_ptr<Store> makeBenchStore(const QTemporaryDir& dir, int count, bool caseAndDate)
{
    StoreServices services;
    services.settings = std::make_shared<MemorySettings>();
    services.supportFolder = dir.filePath("support");
    services.loadHistoryOnStart = false;
    auto store = std::make_unique<Store>(std::move(services));
    QList<FileItem> items;
    items.reserve(count);
    const QDateTime base(QDate(2024, 5, 31), QTime(9, 0));
    for (int i = 0; i < count; ++i) {
        FileItem item = FileItem::file(dir.filePath(QStringLiteral("A%1_C%2_take %3.mov")
                                                        .arg(i / 100, 3, 10, QChar('0'))
                                                        .arg(i % 100, 3, 10, QChar('0'))
                                                        .arg(i % 7)));
        if (caseAndDate)
            item.captureDate = base.addSecs(i);
        items.append(item);
    }
    store->setItems(std::move(items));
    store->editRules([caseAndDate](RuleSettings& r) {
        r.findEnabled = true;
        r.useRegex = true;
        r.find = "^A([0-9]+)_C([0-9]+)";
        r.replace = "Reel$1_Clip$2";
        r.spaceMode = SpaceMode::underscore;
        r.numberEnabled = true;
        r.numPad = 5;
        if (caseAndDate) {
            r.caseMode = CaseMode::upper;
            r.dateEnabled = true;
            r.dateFormat = "yyyyMMdd";
        }
    });
    return store;
}
