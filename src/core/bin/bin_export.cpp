#include "bin_export.h"

#include "interchange/ale_format.h"
#include "interchange/csv_format.h"
#include "interchange/edl_format.h"
#include "interchange/fcp7_xml_format.h"
#include "interchange/fcpxml_format.h"
#include "model/store.h"
#include "platform/atomic_write.h"
#include "platform/lang.h"

namespace BinExport {
namespace {
QString extensionOf(const QString& formatId)
{
    if (formatId == u"ale" || formatId == u"fcpxml" || formatId == u"edl")
        return formatId;
    return formatId == u"xml7" ? QStringLiteral("xml") : QStringLiteral("csv");
}
}  // namespace

FileText render(const QList<BinRow>& rows, const QString& formatId,
                const std::optional<QList<Exporter::CSVFieldMap>>& csvFields)
{
    QList<ExportItem> items;
    items.reserve(rows.size());
    for (const BinRow& row : rows)
        items.append(ExportItem::fromRow(row, row.resolvedFields()));
    QString text;
    if (formatId == u"ale")
        text = Exporter::ale(items);
    else if (formatId == u"fcpxml")
        text = Exporter::fcpxml(items);
    else if (formatId == u"xml7")
        text = Exporter::fcp7XML(items);
    else if (formatId == u"edl")
        text = Exporter::edl(items);
    else
        text = Exporter::csv(items, csvFields);
    return {text, extensionOf(formatId)};
}

QString proposedFileName(const QString& formatId)
{
    return QStringLiteral("metadata.") + extensionOf(formatId);
}

bool writeFile(Store& store, const QString& path, const QString& text)
{
    const bool ok = writeAtomically(path, text.toUtf8()).isEmpty();
    store.setStatus(ok ? L("Exported ", "已导出 ") + path.mid(path.lastIndexOf(u'/') + 1)
                       : L("Export failed.", "导出失败。"));
    return ok;
}

}  // namespace BinExport
