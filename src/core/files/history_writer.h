#pragma once
// The serial writer of the history and log files: one background thread, jobs run in the order
// they were queued, so the newest state of a file is always written last.
#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <functional>

class HistoryWriter {
public:
    HistoryWriter();
    ~HistoryWriter();
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    // Takes each piece of the file's text; false once the write has failed.
    using Pieces = std::function<bool(const QByteArray& piece)>;
    // Queues a write of `path`; `encode` runs on the writer thread and hands the bytes on piece
    // by piece (nothing is written when it hands on none). The file is replaced atomically; on
    // any failure the old file stays as it was and `failed` is called, on the writer thread,
    // with the reason.
    void write(const QString& path, std::function<void(const Pieces& put)> encode,
               std::function<void(const QString&)> failed = {});
    // Queues `job` to run on the writer thread once the writes queued before it have finished.
    void then(std::function<void()> job);
    // Blocks until every queued write has finished.
    void waitForIdle();

    // Diagnostics for tests and benchmarks.
    int writesOf(const QString& path) const;
    bool ranOnMainThread() const { return m_ranOnMainThread.load(); }

private:
    QThreadPool m_pool;
    mutable QMutex m_mutex;
    QHash<QString, int> m_writes;
    std::atomic<bool> m_ranOnMainThread{false};
};
