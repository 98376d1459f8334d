#include "json_util.h"

#include <QJsonDocument>
#include <QLocale>
#include <QTimeZone>
#include <climits>
#include <cmath>

namespace Json {

std::optional<QJsonObject> parseObject(const QByteArray& data)
{
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(data, &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

std::optional<QJsonArray> parseArray(const QByteArray& data)
{
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(data, &err);
    if (err.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    return doc.array();
}

QString uuidText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

namespace {
const QDateTime& referenceDate()
{
    static const QDateTime ref(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    return ref;
}
}  // namespace

namespace {
void appendEscaped(QByteArray& out, QStringView text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    for (char c : text.toUtf8()) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (b < 0x20) {
                out += "\\u00";
                out += kHex[b >> 4];
                out += kHex[b & 0xF];
            } else {
                out += c;
            }
        }
    }
}
}  // namespace

void appendString(QByteArray& out, QStringView text)
{
    // Nearly every path is printable ASCII, copied straight across.
    const qsizetype start = out.size() + 1;
    out.resize(start + text.size());
    out[start - 1] = '"';
    char* dst = out.data() + start;
    const char16_t* src = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = src[i];
        if (c < 0x20 || c >= 0x7F || c == u'"' || c == u'\\') {
            out.truncate(start + i);
            appendEscaped(out, text.sliced(i));
            break;
        }
        dst[i] = char(c);
    }
    out += '"';
}

void appendNumber(QByteArray& out, double value)
{
    out += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

double referenceSeconds(const QDateTime& date)
{
    return double(referenceDate().msecsTo(date)) / 1000.0;
}

std::optional<QDateTime> fromReferenceSeconds(double seconds)
{
    // About 3,000 years either way; range first, as converting a larger double is undefined.
    constexpr double kLimit = 1e11;
    if (!(seconds >= -kLimit && seconds <= kLimit))
        return std::nullopt;
    return referenceDate().addMSecs(qint64(seconds * 1000.0)).toLocalTime();
}

void optString(const QJsonObject& o, const char* key, QString& out, bool& ok)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull())
        return;
    if (!v.isString()) {
        ok = false;
        return;
    }
    out = v.toString();
}

std::optional<int> wholeInt(const QJsonValue& v)
{
    if (!v.isDouble())
        return std::nullopt;
    const double d = v.toDouble();
    // Range first: converting a double outside int's range is undefined.
    if (!(d >= double(INT_MIN) && d <= double(INT_MAX)) || d != std::trunc(d))
        return std::nullopt;
    return int(d);
}

void optBool(const QJsonObject& o, const char* key, bool& out, bool& ok)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull())
        return;
    if (!v.isBool()) {
        ok = false;
        return;
    }
    out = v.toBool();
}

namespace {
void writeValue(const QJsonValue& v, QByteArray& out, int indent)
{
    const QByteArray pad(indent * 2, ' ');
    const QByteArray inner((indent + 1) * 2, ' ');
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        if (o.isEmpty()) {
            out += "{}";
            return;
        }
        QStringList keys = o.keys();
        std::sort(keys.begin(), keys.end());  // code-point order
        out += "{\n";
        for (qsizetype i = 0; i < keys.size(); ++i) {
            out += inner;
            out += QJsonDocument(QJsonArray{keys[i]}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
            out += " : ";
            writeValue(o.value(keys[i]), out, indent + 1);
            out += i + 1 < keys.size() ? ",\n" : "\n";
        }
        out += pad + "}";
    } else if (v.isArray()) {
        const QJsonArray a = v.toArray();
        if (a.isEmpty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        for (qsizetype i = 0; i < a.size(); ++i) {
            out += inner;
            writeValue(a.at(i), out, indent + 1);
            out += i + 1 < a.size() ? ",\n" : "\n";
        }
        out += pad + "]";
    } else {
        out += QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
    }
}
}  // namespace

QByteArray sortedPretty(const QJsonValue& v)
{
    QByteArray out;
    writeValue(v, out, 0);
    out += '\n';
    return out;
}

}  // namespace Json
