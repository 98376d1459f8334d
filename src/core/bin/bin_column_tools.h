#pragma once
// The column edit tools of the bin table: copy and paste a column, batch input, fill down and
// the Clip Name formula. Owned by the BinController; each run takes one whole-table snapshot
// for undo and writes its rows through the bin's edit path.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class BinController;
class Store;

class BinColumnTools {
public:
    BinColumnTools(BinController& bin, Store& store) : m_bin(bin), m_store(store) {}

    // The selected rows in table order, or every row when none is selected.
    QList<int> targetRows() const;
    // The last copied column, one text per target row.
    const QStringList& colClip() const { return m_colClip; }
    void copyColumn(const QString& key);
    void pasteColumn(const QString& key);
    void batchInput(const QString& key, const QString& title);
    void fillDown();
    void setClipNameFormula();

private:
    std::optional<QString> ask(const QString& title, const QString& message, const QString& start);

    BinController& m_bin;
    Store& m_store;
    QStringList m_colClip;
};
