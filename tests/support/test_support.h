#pragma once
// Shared helpers for tests: a private temporary folder per test and a Store built on
// in-memory settings and that folder.
#include "model/store.h"
#include "platform/settings.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

struct TestEnv {
    QTemporaryDir dir;
    std::shared_ptr<MemorySettings> settings = std::make_shared<MemorySettings>();

    QString path(const QString& relative = {}) const;
    // Creates a file (and its parent folders) with the given content; returns its path.
    QString makeFile(const QString& relative, const QByteArray& content = "x") const;
    StoreServices services(const QStringList& languages = {"en-US"}) const;
    std::unique_ptr<Store> makeStore(const QStringList& languages = {"en-US"}) const;
};

// Folder the fixture step writes media samples into.
QString fixturesDir();
