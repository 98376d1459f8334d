#pragma once
// A folder held open for a run of moves inside it. Such a move hands the kernel the two names
// only: neither whole path is encoded or walked again for every file of a large batch.
#include "platform/safe_move.h"

#include <QString>
#include <optional>

class OpenFolder {
public:
    OpenFolder() = default;
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // The same move as SafeMove::move(): never replaces, and on an error nothing moved. When both
    // paths are directly inside one folder the move goes through that folder, opened on first use
    // and kept while the moves stay in it; a move anywhere else lets it go, so a folder that was
    // itself moved is looked up by its path again. Any refusal is retried by path.
    std::optional<MoveError> move(const QString& from, const QString& to);

private:
    void close();

    int m_fd = -1;
    QString m_path;
    bool m_unsupported = false;  // the volume lacks the no-replace call: always by path
};
