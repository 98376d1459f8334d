#pragma once
// AI classification of the bin's files into a "Category" column, and the move of every file
// into a folder beside it named after its category. Owned by the BinController.
//
// Classification asks the local model one file at a time without blocking the window; the bin
// is busy meanwhile and Stop ends it before the next file. Its cells are one undo step of the
// bin. The move is one synchronous pass whose moves are one batch of the rename undo history.
#include "ai/ai_availability.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUuid>
#include <functional>
#include <optional>

class BinController;
class Store;

// The folder name for a category: blanks of any kind and tabs trimmed at both ends (line
// breaks stay), every "/" made "_". Empty when nothing is left.
QString categoryFolderName(const QString& category);
// A folder name that stays a child of the file's folder and is not hidden: not ".", "..",
// empty, starting with "." or holding "/".
bool isUsableCategoryFolder(const QString& name);

class BinCategories : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(std::optional<QString>)>;
    // What classification asks of the AI subsystem; empty members fall back to AIName.
    struct Services {
        std::function<AIName::Availability()> availability;
        std::function<void(const QString& path, QObject* context, Answer done)> contentText;
        std::function<void(const QString& text, bool chinese, QObject* context, Answer done)> classify;
    };

    BinCategories(BinController& bin, Store& store);
    void setServices(Services services);

    // Starts classifying every file of the table and returns at once; finished() tells when it
    // is over. Does nothing while the bin is busy.
    void classifyWithAI();
    bool running() const { return m_running; }

    // Moves every file with a usable category into "<its folder>/<category>/" and reports the
    // moved and skipped counts. Never replaces a file.
    void moveToCategoryFolders();

signals:
    void finished();

private:
    void next();
    void ask(const QUuid& id, const QString& text);
    void store(const QUuid& id, const std::optional<QString>& category);
    void finish();

    BinController& m_bin;
    Store& m_store;
    Services m_services;
    bool m_running = false;
    bool m_snapshotTaken = false;
    QList<QPair<QUuid, QString>> m_work;
    int m_index = 0;
    int m_classified = 0;
};
