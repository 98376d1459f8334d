#pragma once
#include <QByteArray>
#include <QSaveFile>
#include <QString>

// Writes through a temporary file beside the target and swaps it in, so a failed write leaves
// the old file as it was. Returns an error text, empty on success.
QString writeAtomically(const QString& path, const QByteArray& data);

// The same for a text handed on piece by piece, so that a large file never has to be held whole.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path) : m_file(path) {}
    // False once the write has failed; the pieces after that are dropped.
    bool write(const QByteArray& piece);
    // True once a piece was handed on (the temporary file exists or could not be made).
    bool started() const { return m_file.isOpen() || !m_error.isEmpty(); }
    // Swaps the file in: the error text, empty on success.
    QString finish();

private:
    bool fail();
    QSaveFile m_file;
    QString m_error;
};
