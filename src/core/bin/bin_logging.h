#pragma once
// Log mode's work on the drafts: the Scene and Take of one clip loaded from its draft (read
// first when it has none), and every change of either stored as that clip's draft. The bin owns
// it, so a movie's read that lands after log mode was left still keeps what was typed.
#include "metadata/meta_fields.h"
#include "model/file_item.h"

#include <QObject>
#include <QSet>
#include <QUuid>
#include <optional>

class BinController;
class Store;

class BinLogging : public QObject {
    Q_OBJECT
public:
    static inline const QString kScene = QStringLiteral("Scene");
    static inline const QString kTake = QStringLiteral("Take");

    struct Loaded {
        QString scene;
        QString take;
        bool reading = false;  // a movie's read runs; the texts are empty until it lands
    };

    BinLogging(Store& store, BinController& bin);
    ~BinLogging() override;

    // The clip's Scene and Take; it becomes the current clip. A still or PDF without a draft is
    // read now, a movie without one on a worker; a read becomes the file's draft and original.
    Loaded load(const FileItem& item);
    // None while log mode shows no clip. A movie's read that lands for a clip that is not current
    // and was not typed into is dropped.
    void setCurrent(std::optional<QUuid> id) { m_current = id; }
    const std::optional<QUuid>& current() const { return m_current; }
    bool isReading(const QUuid& id) const { return m_reading.contains(id); }

    // Sets the clip's custom `key` ("Scene" or "Take") to `text` in its draft, also when empty;
    // a clip without a draft starts from an empty record.
    void write(const QUuid& id, const QString& key, const QString& text);

signals:
    // A movie's read landed as the current clip's draft.
    void clipRead(const QUuid& id);

private:
    void finishRead(const QUuid& id, const MetaFields& read);

    Store& m_store;
    BinController& m_bin;
    std::optional<QUuid> m_current;
    QSet<QUuid> m_reading;
    // Clips typed into while their read ran: their drafts are empty records until it lands.
    QSet<QUuid> m_typedWhileReading;
};
