#include "history_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
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

namespace {

// Writes through a temporary file beside the target and swaps it in, so a failed write leaves
// the old file as it was: the error text, empty on success. Unbuffered: a buffered QSaveFile
// commits even when its final flush failed (a full disk), which would swap an empty file in.
class PieceFile {
public:
    explicit PieceFile(const QString& path) : m_file(path) {}
    bool put(const QByteArray& piece)
    {
        if (!m_error.isEmpty())
            return false;
        if (!m_file.isOpen()) {
            QDir().mkpath(QFileInfo(m_file.fileName()).absolutePath());
            if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                return fail();
        }
        return m_file.write(piece) == piece.size() || fail();
    }
    bool anyWritten() const { return m_file.isOpen() || !m_error.isEmpty(); }
    QString finish()
    {
        if (m_error.isEmpty() && (!m_file.flush() || !m_file.commit()))
            fail();
        return m_error;
    }

private:
    bool fail()
    {
        m_error = m_file.errorString();
        if (m_file.isOpen())
            m_file.cancelWriting();
        return false;
    }
    QSaveFile m_file;
    QString m_error;
};

}  // namespace

void HistoryWriter::write(const QString& path, std::function<void(const Pieces& put)> encode,
                          std::function<void(const QString&)> failed)
{
    m_pool.start([this, path, encode = std::move(encode), failed = std::move(failed)] {
        const QCoreApplication* app = QCoreApplication::instance();
        if (app && QThread::currentThread() == app->thread())
            m_ranOnMainThread = true;
        PieceFile file(path);
        encode([&file](const QByteArray& piece) { return file.put(piece); });
        if (!file.anyWritten())
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
