#pragma once
// A file's fingerprint for finding duplicates: its size and the SHA-256 of its first 512 KiB.
// Files with equal fingerprints count as the same file; what comes after the first 512 KiB is
// not compared, so that a bin of large camera files is scanned in bounded time.
#include <QString>
#include <QtGlobal>
#include <optional>

constexpr qint64 fingerprintBytes = 524288;

// "<size in bytes>-<64 lower-case hex digits>"; nothing when the file's size cannot be read or
// the file cannot be opened (a folder, a device). A read that fails after the open counts as
// no bytes read. Safe off the window's thread.
std::optional<QString> fileFingerprint(const QString& path);
