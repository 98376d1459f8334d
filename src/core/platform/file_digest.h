#pragma once
// SHA-256 of files, for telling identical files apart (the bin table's duplicate finder).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Each byte of a digest as two lower-case hexadecimal digits, in order; joined without a
// separator they give the usual 64-character form.
QStringList sha256Hex(const QByteArray& digest);

// The SHA-256 digest of a file's content, read in chunks; nothing when it can't be read.
std::optional<QByteArray> fileSha256(const QString& path);
