#include "history_file.h"

#include "platform/json_util.h"

#include <QJsonDocument>

namespace {

bool readString(const QJsonObject& o, const char* key, QString& out)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isString())
        return false;
    out = v.toString();
    return true;
}

bool readDate(const QJsonObject& o, QDateTime& out)
{
    const QJsonValue v = o.value(QLatin1String("date"));
    if (!v.isDouble())
        return false;
    const auto date = Json::fromReferenceSeconds(v.toDouble());
    if (!date)
        return false;
    out = *date;
    return true;
}

std::optional<SavedBatch> decodeBatch(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject o = value.toObject();
    SavedBatch batch;
    const QJsonValue moves = o.value(QLatin1String("moves"));
    const QJsonValue marks = o.value(QLatin1String("folderBookmarks"));
    if (!readDate(o, batch.date) || !moves.isArray() || !marks.isArray())
        return std::nullopt;
    for (const QJsonValue& m : moves.toArray()) {
        SavedMove move;
        if (!m.isObject() || !readString(m.toObject(), "from", move.from) || !readString(m.toObject(), "to", move.to))
            return std::nullopt;
        batch.moves << move;
    }
    for (const QJsonValue& b : marks.toArray()) {
        if (!b.isString())
            return std::nullopt;
        auto decoded = QByteArray::fromBase64Encoding(b.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return std::nullopt;
        batch.folderBookmarks << *decoded;
    }
    return batch;
}

std::optional<RenameLogEntry> decodeEntry(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject o = value.toObject();
    RenameLogEntry e;
    QString id, action;
    if (!readString(o, "id", id) || !readDate(o, e.date) || !readString(o, "action", action)
        || !readString(o, "from", e.from) || !readString(o, "to", e.to))
        return std::nullopt;
    e.id = QUuid::fromString(id);
    const auto a = lookupRawValue<RenameLogEntry::Action>(action);
    if (e.id.isNull() || !a)
        return std::nullopt;
    e.action = *a;
    return e;
}

}  // namespace

namespace HistoryFile {

QByteArray encodeHistory(const QList<MoveBatch>& stack, const QList<QDateTime>& dates,
                         const QList<QList<QByteArray>>& bookmarks)
{
    QJsonArray out;
    for (qsizetype i = 0; i < stack.size(); ++i) {
        QJsonArray moves;
        for (const Move& m : stack[i])
            moves.append(QJsonObject{{"from", m.from}, {"to", m.to}});
        QJsonArray marks;
        for (const QByteArray& b : bookmarks.value(i))
            marks.append(QString::fromLatin1(b.toBase64()));
        out.append(QJsonObject{{"date", Json::referenceSeconds(dates.value(i))},
                               {"moves", moves},
                               {"folderBookmarks", marks}});
    }
    return QJsonDocument(out).toJson(QJsonDocument::Compact);
}

std::optional<QList<SavedBatch>> decodeHistory(const QByteArray& data)
{
    const auto array = Json::parseArray(data);
    if (!array)
        return std::nullopt;
    QList<SavedBatch> out;
    for (const QJsonValue& v : *array) {
        auto batch = decodeBatch(v);
        if (!batch)
            return std::nullopt;
        out << *batch;
    }
    return out;
}

QByteArray encodeLog(const QList<RenameLogEntry>& entries)
{
    QJsonArray out;
    for (const RenameLogEntry& e : entries)
        out.append(QJsonObject{{"id", Json::uuidText(e.id)},
                               {"date", Json::referenceSeconds(e.date)},
                               {"action", rawValue(e.action)},
                               {"from", e.from},
                               {"to", e.to}});
    return QJsonDocument(out).toJson(QJsonDocument::Compact);
}

std::optional<QList<RenameLogEntry>> decodeLog(const QByteArray& data)
{
    const auto array = Json::parseArray(data);
    if (!array)
        return std::nullopt;
    QList<RenameLogEntry> out;
    out.reserve(array->size());
    for (const QJsonValue& v : *array) {
        auto entry = decodeEntry(v);
        if (!entry)
            return std::nullopt;
        out << *entry;
    }
    return out;
}

}  // namespace HistoryFile
