#pragma once
// Recognition of the Smart Rename tab's input, pasted lines or the loaded files, into result
// rows. Owned by the Store so that a long run survives leaving the tab and cannot be started
// twice. Up to 20 names are recognised at once; a longer list is built in steps of 20 rows from
// the event loop with a short pause between steps, and its rows are stored together at the end.
#include "model/enums.h"
#include "model/file_item.h"
#include "smartrename/smart_rename_row.h"
#include "smartrename/smart_rename_types.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

class Store;

// The recognition settings taken once at the start of a run; every row of the run uses them.
struct SmartCorrector {
    SmartRenameStyle style = SmartRenameStyle::finishing;
    QList<SmartRename::CutType> cutTypes;
    SmartRename::CustomNamingConfig config;
    QMap<QString, QStringList> learnedSplits;
    QStringList ignoreTags;

    SmartRename::Result correctName(const QString& name) const;
};

class SmartRenameRun : public QObject {
    Q_OBJECT
public:
    using Progress = std::pair<int, int>;  // (rows built, total)
    static constexpr int kStepRows = 20;

    explicit SmartRenameRun(Store& store);

    SmartCorrector makeCorrector() const;
    // Recognises the pasted text, one name per non-blank line.
    void recognize();
    // Recognises the names of the loaded files; the rows keep their items.
    void useLoadedFiles();
    // Empties the pasted text and the results.
    void clear();

    // Present while a paced run builds rows; no other run starts meanwhile.
    const std::optional<Progress>& progress() const { return m_progress; }
    bool isRunning() const { return m_progress.has_value(); }
    // The pause between two steps of a paced run. Each step returns to the event loop, which
    // redraws and handles input before the next one; a longer pause only slows the run.
    void setPauseMs(int ms) { m_pauseMs = ms; }

    // The lines of a pasted text: split at every line break, trimmed, blank lines dropped.
    static QStringList pastedLines(const QString& text);
    static SmartRenameRow makeRow(const QString& line, const SmartCorrector& corrector, bool keepExt);
    static SmartRenameRow makeRowFromItem(const FileItem& item, const SmartCorrector& corrector, bool keepExt);

signals:
    void progressChanged();

private:
    using RowBuilder = std::function<SmartRenameRow(int index)>;
    void run(int total, RowBuilder build);
    void step();
    void setProgress(std::optional<Progress> progress);

    Store& m_store;
    std::optional<Progress> m_progress;
    RowBuilder m_build;
    QList<SmartRenameRow> m_built;
    int m_total = 0;
    int m_pauseMs = 0;
};
