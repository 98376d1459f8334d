#include "rename_log_export.h"

#include "platform/atomic_write.h"

#include "model/file_item.h"

#include <QSaveFile>

RenameLogRow renameLogRow(const RenameLogEntry& e)
{
    return {e.date, rawValue(e.action), e.from, e.to};
}

QList<RenameLogRow> filterRenameLog(const QList<RenameLogEntry>& log, const QString& query)
{
    QList<RenameLogRow> rows;
    for (auto it = log.crbegin(); it != log.crend(); ++it) {
        RenameLogRow row = renameLogRow(*it);
        if (query.isEmpty() || row.from.contains(query, Qt::CaseInsensitive)
            || row.to.contains(query, Qt::CaseInsensitive))
            rows.append(std::move(row));
    }
    return rows;
}

QString csvField(const QString& text)
{
    // A carriage return is quoted too: a reader that takes CR as a line end would otherwise
    // split the row.
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    QString quoted = text;
    quoted.replace('"', QStringLiteral("\"\""));
    return '"' + quoted + '"';
}

QString renameLogCsv(const QList<RenameLogEntry>& log)
{
    QString out = QStringLiteral("Time,Action,Old Name,New Name,Folder,Old Path,New Path\n");
    for (const RenameLogEntry& e : log) {
        const RenameLogRow r = renameLogRow(e);
        const QStringList fields = {
            r.date.toUTC().toString(Qt::ISODate),
            r.action,
            PathText::lastComponent(r.from),
            PathText::lastComponent(r.to),
            PathText::parent(r.to),
            r.from,
            r.to,
        };
        QStringList quoted;
        for (const QString& f : fields)
            quoted << csvField(f);
        out += quoted.join(',') + '\n';
    }
    return out;
}

QString writeRenameLogCsv(const QList<RenameLogEntry>& log, const QString& path)
{
    return writeAtomically(path, renameLogCsv(log).toUtf8());
}
