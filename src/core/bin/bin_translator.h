#pragma once
// Translating one column of the bin into the language chosen for AI output, one cell at a
// time, without blocking the window; the bin is busy meanwhile and Stop ends the run before
// the next cell. The run's cells are one undo step of the bin. Owned by the BinController.
#include "ai/ai_availability.h"
#include "model/enums.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>
#include <functional>
#include <optional>

class BinController;
class Store;

class BinTranslator : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(std::optional<QString>)>;
    // What translation asks of the AI subsystem; empty members fall back to AIName.
    struct Services {
        std::function<AIName::Availability()> availability;
        std::function<void(const QString& text, const QString& language, QObject* context, Answer done)> translate;
    };

    BinTranslator(BinController& bin, Store& store);
    void setServices(Services services);

    // The English name of the language, "English" for the automatic setting.
    static QString targetLanguage(NameLang lang);
    // "Translate column → <language>", the title of the Tools menu's translation submenu.
    QString menuTitle() const;

    // Starts translating the column's editable, non-empty cells and returns at once; finished()
    // tells when it is over. Does nothing while the bin is busy. The typed text is translated:
    // a formula is sent as its formula and replaced by the answer.
    void translateColumn(const QString& key);
    bool running() const { return m_running; }

signals:
    void finished();

private:
    void next();
    void finish();
    int indexOf(const QUuid& id) const;

    BinController& m_bin;
    Store& m_store;
    Services m_services;
    bool m_running = false;
    bool m_snapshotTaken = false;
    QString m_key;
    QString m_language;
    QList<QUuid> m_work;
    int m_index = 0;
    int m_translated = 0;
};
