#include "csv_format.h"

#include <QSet>
#include <algorithm>

namespace Exporter {
namespace {

// UTF-16 order puts U+E000..U+FFFF after the surrogates; this restores code point order.
char16_t codePointKey(char16_t u)
{
    if (u >= 0xE000)
        return char16_t(u - 0x800);
    if (u >= 0xD800)
        return char16_t(u + 0x2000);
    return u;
}

bool codePointLess(const QString& a, const QString& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](QChar x, QChar y) {
        return codePointKey(x.unicode()) < codePointKey(y.unicode());
    });
}

QStringList customNames(const QList<ExportItem>& items)
{
    QSet<QString> seen;
    for (const ExportItem& item : items)
        for (auto it = item.f.custom.keyBegin(); it != item.f.custom.keyEnd(); ++it)
            seen.insert(*it);
    QStringList names(seen.begin(), seen.end());
    std::sort(names.begin(), names.end(), codePointLess);
    return names;
}

bool needsQuotes(const QString& v)
{
    for (QChar c : v)
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return true;
    return false;
}

void appendCell(QString& out, const QString& v)
{
    if (!needsQuotes(v)) {
        out += v;
        return;
    }
    out += QLatin1Char('"');
    for (QChar c : v) {
        if (c == QLatin1Char('"'))
            out += QLatin1Char('"');
        out += c;
    }
    out += QLatin1Char('"');
}

QString cellOf(const CSVFieldMap& column, const ExportItem& item)
{
    if (column.key.startsWith(QLatin1String("custom:")))
        return item.f.custom.value(column.key.mid(7));
    return value(column.key, item);
}

}  // namespace

QString csv(const QList<ExportItem>& items, const std::optional<QList<CSVFieldMap>>& fields)
{
    const QList<CSVFieldMap> columns = fields ? *fields : defaultCSVFields(customNames(items));
    QString out;
    out.reserve((items.size() + 1) * (columns.size() * 12 + 1));  // rarely moved while it grows
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i)
            out += QLatin1Char(',');
        appendCell(out, columns[i].header);
    }
    out += QLatin1Char('\n');
    for (const ExportItem& item : items) {
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (i)
                out += QLatin1Char(',');
            appendCell(out, cellOf(columns[i], item));
        }
        out += QLatin1Char('\n');
    }
    return out;
}

namespace {

class CsvParser {
public:
    explicit CsvParser(const QString& text) : m_text(text) {}

    QList<QStringList> records()
    {
        qsizetype i = m_text.startsWith(QChar(0xFEFF)) ? 1 : 0;
        while (i < m_text.size())
            i = step(i);
        if (!m_field.isEmpty() || !m_record.isEmpty())
            endRecord();
        return m_records;
    }

private:
    // Handles the character at i; returns the index of the next one.
    qsizetype step(qsizetype i)
    {
        const QChar c = m_text[i];
        const bool quote = c == QLatin1Char('"');
        if (m_quoting) {
            if (!quote) {
                m_field += c;
            } else if (i + 1 < m_text.size() && m_text[i + 1] == QLatin1Char('"')) {
                m_field += c;
                return i + 2;
            } else {
                m_quoting = false;
            }
            return i + 1;
        }
        if (quote) {
            m_quoting = true;
        } else if (c == QLatin1Char(',')) {
            m_record.append(std::exchange(m_field, QString()));
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            endRecord();
            if (c == QLatin1Char('\r') && i + 1 < m_text.size() && m_text[i + 1] == QLatin1Char('\n'))
                return i + 2;
        } else {
            m_field += c;
        }
        return i + 1;
    }

    void endRecord()
    {
        m_record.append(std::exchange(m_field, QString()));
        if (m_record.size() != 1 || !m_record.front().isEmpty())
            m_records.append(m_record);
        m_record.clear();
    }

    const QString& m_text;
    QString m_field;
    QStringList m_record;
    QList<QStringList> m_records;
    bool m_quoting = false;
};

}  // namespace

ImportedTable importCSV(const QString& text)
{
    QList<QStringList> records = CsvParser(text).records();
    if (records.isEmpty())
        return {};
    ImportedTable table;
    table.header = records.takeFirst();
    table.rows = std::move(records);
    return table;
}

}  // namespace Exporter
