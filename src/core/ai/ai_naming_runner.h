#pragma once
// Names every listed file from its content, one file after another: the file's text, then the
// model's name for it, stored as the item's AI name with its AI box ticked. Owned by the Store
// (Store::aiRunner); it changes the model only through the Store's edit functions, on the
// main thread, and waits for the text and the model without blocking it.
#include "ai/ai_availability.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>
#include <functional>
#include <optional>

class Store;

class AINamingRunner : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(std::optional<QString>)>;
    // What the runner asks of the AI subsystem; empty members fall back to AIName.
    struct Services {
        std::function<AIName::Availability()> availability;
        std::function<void(const QString& path, QObject* context, Answer done)> contentText;
        std::function<void(const QString& text, const QString& language, QObject* context, Answer done)> suggestName;
    };

    explicit AINamingRunner(Store& store, QObject* parent = nullptr);
    void setServices(Services services);

    // Starts a run and returns at once; finished() tells when it is over. Does nothing while a
    // run is under way.
    void run();
    // The file in hand is finished first; the run stops before the next one.
    void stop();
    bool running() const { return m_running; }

signals:
    void finished();

private:
    void next();
    void askName(const QUuid& id, const QString& text);
    void store(const QUuid& id, std::optional<QString> answer);
    void finish(bool stopped);
    const struct FileItem* itemById(const QUuid& id) const;

    Store& m_store;
    Services m_services;
    bool m_running = false;
    QList<QUuid> m_ids;
    int m_index = 0;
    int m_named = 0;
    int m_skipped = 0;
};
