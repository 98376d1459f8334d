#pragma once
// A bin on a Store with a reader that records what it was asked, and a desk with scripted
// answers.
#include "bin/bin_column_tools.h"
#include "bin/bin_controller.h"
#include "bin/bin_custom_columns.h"
#include "bin/bin_desk.h"
#include "bin/bin_presets.h"
#include "bin/bin_row_actions.h"
#include "metadata/metadata_reader.h"
#include "model/file_item.h"
#include "test_support.h"

#include <QEventLoop>
#include <QFuture>
#include <QMutex>
#include <QPromise>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>

// Every file reads as its kind with the title "read <name>" and a technical fact.
class RecordingReader : public MetadataReader {
public:
    int delayMs = 0;  // per still, to keep reads in flight

    MetaFields readImageOrPDF(const QString& path) const override
    {
        QThread::msleep(delayMs);
        QMutexLocker lock(&m_mutex);
        m_paths.append(path);
        return fieldsFor(path);
    }
    QFuture<MetaFields> read(const QString& path) const override
    {
        QMutexLocker lock(&m_mutex);
        m_paths.append(path);
        return QtFuture::makeReadyFuture(fieldsFor(path));
    }
    static MetaFields fieldsFor(const QString& path)
    {
        MetaFields f;
        f.kind = metaKindForPath(path);
        f.title = "read " + PathText::lastComponent(path);
        f.caption = f.title;
        f.custom.insert("Format", "fmt");
        return f;
    }
    QStringList paths() const
    {
        QMutexLocker lock(&m_mutex);
        return m_paths;
    }

private:
    mutable QMutex m_mutex;
    mutable QStringList m_paths;
};

// Movies are read only when the test says so, to land a read after typing.
class DeferredReader : public RecordingReader {
public:
    QFuture<MetaFields> read(const QString& path) const override
    {
        auto promise = std::make_shared<QPromise<MetaFields>>();
        promise->start();
        m_pending.insert(PathText::lastComponent(path), promise);
        return promise->future();
    }
    void land(const QString& name, const MetaFields& fields) const
    {
        const auto promise = m_pending.take(name);
        promise->addResult(fields);
        promise->finish();
        QTest::qWait(10);
    }

private:
    mutable QHash<QString, std::shared_ptr<QPromise<MetaFields>>> m_pending;
};

class ScriptedDesk : public BinDesk {
public:
    QList<std::optional<QString>> answers;  // taken in order; none when used up
    std::optional<std::pair<QString, bool>> column;
    QStringList prompts;  // "title|message|start" of each question
    QString clipboard;
    QStringList opened, previewed, revealed;

    std::optional<QString> promptText(const QString& title, const QString& message, const QString& start) override
    {
        prompts.append(title + "|" + message + "|" + start);
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    std::optional<std::pair<QString, bool>> promptCustomColumn() override { return column; }
    QStringList chooseFolders(const QString&, const QString&) override { return {}; }
    QStringList chosenFiles;            // what the files-and-folders panel answers
    std::optional<bool> confirmAnswer;  // none: no alert expected
    QStringList confirmations;          // "message|informative|accept|cancel" of each alert
    QStringList chooseFilesAndFolders(const QString& message) override
    {
        prompts.append(message);
        return chosenFiles;
    }
    bool confirm(const QString& message, const QString& informative, const QString& accept,
                 const QString& cancel) override
    {
        confirmations.append(message + "|" + informative + "|" + accept + "|" + cancel);
        return confirmAnswer.value_or(false);
    }
    void setClipboardText(const QString& text) override { clipboard = text; }
    void openFile(const QString& path) override { opened.append(path); }
    void preview(const QStringList& paths) override { previewed = paths; }
    void reveal(const QStringList& paths) override { revealed = paths; }
};

struct BinFixture {
    TestEnv env;
    std::shared_ptr<RecordingReader> reader = std::make_shared<RecordingReader>();
    std::shared_ptr<ScriptedDesk> desk = std::make_shared<ScriptedDesk>();
    std::unique_ptr<Store> store;

    BinFixture()
    {
        StoreServices s = env.services();
        s.metadataReader = reader;
        store = std::make_unique<Store>(std::move(s));
        bin().setDesk(desk);
    }
    BinController& bin() { return store->bin(); }

    // Lists files by name (they need not exist: the reader never opens them).
    QList<FileItem> list(const QStringList& names)
    {
        QList<FileItem> added;
        for (const QString& name : names)
            added.append(FileItem::file(env.path(name)));
        store->editItems([&added](QList<FileItem>& items) { items.append(added); });
        return added;
    }
    bool settle()
    {
        return QTest::qWaitFor([this] { return !bin().loading(); }, 10000);
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
    const BinRow& row(int i) { return bin().rows().at(i); }
    MetaFields draft(const QUuid& id) { return store->meta().metaDraft.value(id); }
    MetaFields original(const QUuid& id) { return store->meta().metaOriginal.value(id); }
};

// Starts an asynchronous bin tool and waits, at most 20 seconds, for its finished signal; true
// when it finished.
template <typename Tool> bool runTool(Tool& tool, const std::function<void()>& start)
{
    QEventLoop loop;
    QObject::connect(&tool, &Tool::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    start();
    if (tool.running())
        loop.exec();
    return !tool.running();
}
