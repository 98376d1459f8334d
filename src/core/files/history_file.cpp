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

namespace {
constexpr qsizetype kPiece = 1 << 18;

// Hands the text made so far on once it is a piece long, or at the end.
bool handOn(QByteArray& out, const Pieces& put, bool last)
{
    if (!last && out.size() < kPiece)
        return true;
    const bool ok = put(out);
    out.resize(0);
    return ok;
}
}  // namespace

// Written piece by piece: a document tree of a 100,000-move batch would take several times the
// memory of the history itself while the file is saved.
bool encodeHistory(const QList<MoveBatch>& stack, const QList<QDateTime>& dates,
                   const QList<QList<QByteArray>>& bookmarks, const Pieces& put)
{
    QByteArray out;
    out.reserve(kPiece + 4096);
    out += '[';
    for (qsizetype i = 0; i < stack.size(); ++i) {
        if (i > 0)
            out += ',';
        out += "{\"date\":";
        Json::appendNumber(out, Json::referenceSeconds(dates.value(i)));
        out += ",\"folderBookmarks\":[";
        const QList<QByteArray> marks = bookmarks.value(i);
        for (qsizetype k = 0; k < marks.size(); ++k) {
            if (k > 0)
                out += ',';
            out += '"' + marks[k].toBase64() + '"';
        }
        out += "],\"moves\":[";
        for (qsizetype k = 0; k < stack[i].size(); ++k) {
            const Move& m = stack[i][k];
            out += k > 0 ? ",{\"from\":" : "{\"from\":";
            Json::appendString(out, m.from);
            out += ",\"to\":";
            Json::appendString(out, m.to);
            out += '}';
            if (!handOn(out, put, false))
                return false;
        }
        out += "]}";
    }
    out += ']';
    return handOn(out, put, true);
}

QByteArray encodeHistory(const QList<MoveBatch>& stack, const QList<QDateTime>& dates,
                         const QList<QList<QByteArray>>& bookmarks)
{
    QByteArray out;
    encodeHistory(stack, dates, bookmarks, [&out](const QByteArray& piece) {
        out += piece;
        return true;
    });
    return out;
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

bool encodeLog(const QList<RenameLogEntry>& entries, const Pieces& put)
{
    QByteArray out;
    out.reserve(kPiece + 4096);
    out += '[';
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const RenameLogEntry& e = entries[i];
        out += i > 0 ? ",{\"action\":" : "{\"action\":";
        Json::appendString(out, rawValue(e.action));
        out += ",\"date\":";
        Json::appendNumber(out, Json::referenceSeconds(e.date));
        out += ",\"from\":";
        Json::appendString(out, e.from);
        out += ",\"id\":";
        Json::appendString(out, Json::uuidText(e.id));
        out += ",\"to\":";
        Json::appendString(out, e.to);
        out += '}';
        if (!handOn(out, put, false))
            return false;
    }
    out += ']';
    return handOn(out, put, true);
}

QByteArray encodeLog(const QList<RenameLogEntry>& entries)
{
    QByteArray out;
    encodeLog(entries, [&out](const QByteArray& piece) {
        out += piece;
        return true;
    });
    return out;
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
