#include "history_writer.h"

#include "platform/atomic_write.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>

HistoryWriter::HistoryWriter()
{
    m_pool.setMaxThreadCount(1);
    m_pool.setThreadPriority(QThread::LowPriority);
}

HistoryWriter::~HistoryWriter()
{
    m_pool.waitForDone();
}

void HistoryWriter::write(const QString& path, std::function<void(const Pieces& put)> encode,
                          std::function<void(const QString&)> failed)
{
    m_pool.start([this, path, encode = std::move(encode), failed = std::move(failed)] {
        const QCoreApplication* app = QCoreApplication::instance();
        if (app && QThread::currentThread() == app->thread())
            m_ranOnMainThread = true;
        AtomicFile file(path);
        encode([&](const QByteArray& piece) {
            if (!file.started())
                QDir().mkpath(QFileInfo(path).absolutePath());
            return file.write(piece);
        });
        if (!file.started())
            return;
        const QString error = file.finish();
        if (!error.isEmpty()) {
            if (failed)
                failed(error);
            return;  // the next save tries again with the whole state
        }
        QMutexLocker lock(&m_mutex);
        ++m_writes[path];
    });
}

void HistoryWriter::then(std::function<void()> job)
{
    m_pool.start(std::move(job));
}

void HistoryWriter::waitForIdle()
{
    m_pool.waitForDone();
}

int HistoryWriter::writesOf(const QString& path) const
{
    QMutexLocker lock(&m_mutex);
    return m_writes.value(path);
}
