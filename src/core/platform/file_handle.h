#pragma once
// A read handle on a file, for readers that take a bounded slice of a file themselves.
#include <QByteArray>
#include <QString>

struct FileHandle {
    int fd = -1;
    int error = 0;  // errno of a failed open

    bool isOpen() const { return fd >= 0; }
};

// Opens a regular file for reading. A FIFO, device or folder is refused (error set), so that a
// reader never blocks on a file that is not one.
FileHandle openFileForReading(const QString& path);

// Closes the handle; a close error is dropped. Safe on a handle that never opened.
void closeFileHandle(FileHandle& handle);

// Up to maxBytes from the start of the file; a read error gives nothing.
QByteArray readFileHead(const FileHandle& handle, qint64 maxBytes);
