#include "atomic_write.h"

QString writeAtomically(const QString& path, const QByteArray& data)
{
    AtomicFile file(path);
    file.write(data);
    return file.finish();
}

bool AtomicFile::write(const QByteArray& piece)
{
    if (!m_error.isEmpty())
        return false;
    // Unbuffered: a buffered QSaveFile commits even when its final flush failed (a full disk),
    // which would swap an empty file in for the old one.
    if (!m_file.isOpen() && !m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail();
    return m_file.write(piece) == piece.size() || fail();
}

QString AtomicFile::finish()
{
    if (m_error.isEmpty() && !m_file.isOpen())
        write({});
    if (m_error.isEmpty() && (!m_file.flush() || !m_file.commit()))
        fail();
    return m_error;
}

bool AtomicFile::fail()
{
    m_error = m_file.errorString();
    if (m_file.isOpen())
        m_file.cancelWriting();
    return false;
}
