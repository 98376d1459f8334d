#pragma once
#include <QByteArray>
#include <QString>

// Writes through a temporary file beside the target and swaps it in, so a failed write leaves
// the old file as it was. Returns an error text, empty on success.
QString writeAtomically(const QString& path, const QByteArray& data);
