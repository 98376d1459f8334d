#pragma once
// Small helpers for strict JSON decoding and the stored forms the files rely on.
#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QUuid>
#include <optional>

namespace Json {

std::optional<QJsonObject> parseObject(const QByteArray& data);
std::optional<QJsonArray> parseArray(const QByteArray& data);

// UUIDs are stored as upper-case text without braces.
QString uuidText(const QUuid& id);

// Dates are stored as seconds since 2001-01-01 00:00:00 UTC.
double referenceSeconds(const QDateTime& date);
// Nothing for a number that is no date (not finite, or beyond the years a date can hold).
std::optional<QDateTime> fromReferenceSeconds(double seconds);

// Optional keys: absent or null keeps `out`; a value of another type clears `ok`.
void optString(const QJsonObject& o, const char* key, QString& out, bool& ok);
void optBool(const QJsonObject& o, const char* key, bool& out, bool& ok);

// A JSON number that is a whole number in Int range, else nothing (never a cast out of range).
std::optional<int> wholeInt(const QJsonValue& v);

// Compact JSON written piece by piece, for stored files with many thousands of paths: as read
// back by the parser above, and without a document tree the size of the file.
void appendString(QByteArray& out, QStringView text);
void appendNumber(QByteArray& out, double value);

// Pretty-printed JSON with object keys sorted at every level.
QByteArray sortedPretty(const QJsonValue& v);

}  // namespace Json
