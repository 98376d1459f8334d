#pragma once
// Renaming on disk: a batch of proposed names (worked out by rename_batch.h and carried out
// here against the real disk) and single items renamed by typing a name.
#include "files/rename_batch.h"

#include <QSet>
#include <QString>
#include <QUuid>
#include <optional>

class Store;

class Renamer {
public:
    explicit Renamer(Store& store) : m_store(store) {}

    // The new names of the current rules for the listed items in scope.
    void applyInScope(const QSet<QUuid>& selection);
    void applyRenames(const RenamePlan& plan);

    bool renameOne(const QUuid& id, const QString& typedName);
    void finishRenameOne(const FileItem& item, const QString& target);
    bool renameItemByID(const QUuid& id, const QString& stem, const std::optional<QString>& ext);

private:
    Store& m_store;
};
