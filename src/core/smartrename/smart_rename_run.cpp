#include "smartrename/smart_rename_run.h"

#include "model/store.h"
#include "platform/random_ids.h"
#include "smartrename/smart_fix.h"
#include "smartrename/smart_rename_clean.h"

#include <QRegularExpression>
#include <QTimer>

SmartRename::Result SmartCorrector::correctName(const QString& name) const
{
    return SmartRename::smartFix(name, style, cutTypes, config, learnedSplits);
}

namespace {

QString withoutControlCharacters(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const QChar::Category cat = c.category();
        if (cat != QChar::Other_Control && cat != QChar::Other_Format)
            out.append(c);
    }
    return out;
}

SmartRenameRow rowFrom(const QString& original, const SmartRename::Result& r, const QString& ext, bool keepExt)
{
    SmartRenameRow row;
    row.id = randomId();
    row.original = original;
    row.corrected = r.corrected;
    if (keepExt && !ext.isEmpty())
        row.corrected += u'.' + ext;
    row.missingVersion = r.missingVersion;
    row.code = r.productionCode.value_or(QString());
    row.spotName = r.spotName.value_or(QString());
    row.cutType = r.cutType.value_or(QString());
    row.timing = r.timing.value_or(QString());
    row.version = r.version.value_or(QString());
    return row;
}

}  // namespace

SmartRenameRun::SmartRenameRun(Store& store) : m_store(store) {}

SmartCorrector SmartRenameRun::makeCorrector() const
{
    const SmartSettings& s = m_store.smart();
    return {m_store.sections().smartRenameStyle, s.customCutTypes, s.customNamingConfig, s.learnedWordSplits,
            SmartRename::parseIgnoreTags(s.smartRenameIgnoreText)};
}

QStringList SmartRenameRun::pastedLines(const QString& text)
{
    static const QRegularExpression breaks(QStringLiteral("[\\x{000A}-\\x{000D}\\x{0085}\\x{2028}\\x{2029}]"));
    QStringList lines;
    for (const QString& piece : text.split(breaks)) {
        const QString line = piece.trimmed();
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

SmartRenameRow SmartRenameRun::makeRow(const QString& line, const SmartCorrector& corrector, bool keepExt)
{
    const QString original = withoutControlCharacters(line);
    const auto [stem, ext] = SmartRename::splitExtension(original);
    const QString name = SmartRename::removeIgnoredTags(stem, corrector.ignoreTags);
    return rowFrom(original, corrector.correctName(name), ext, keepExt);
}

SmartRenameRow SmartRenameRun::makeRowFromItem(const FileItem& item, const SmartCorrector& corrector, bool keepExt)
{
    const QString name = SmartRename::removeIgnoredTags(item.stem, corrector.ignoreTags);
    SmartRenameRow row = rowFrom(item.name, corrector.correctName(name), item.ext, keepExt);
    row.sourceItem = item;
    return row;
}

void SmartRenameRun::recognize()
{
    const QStringList lines = pastedLines(m_store.smart().smartRenameInputText);
    const SmartCorrector corrector = makeCorrector();
    run(int(lines.size()), [this, lines, corrector](int i) {
        return makeRow(lines.at(i), corrector, m_store.smart().smartRenameKeepExt);
    });
}

void SmartRenameRun::useLoadedFiles()
{
    const SmartCorrector corrector = makeCorrector();
    const QList<FileItem> items = m_store.items();
    run(int(items.size()), [this, items, corrector](int i) {
        return makeRowFromItem(items.at(i), corrector, m_store.smart().smartRenameKeepExt);
    });
}

void SmartRenameRun::clear()
{
    if (isRunning())
        return;
    m_store.setSmartRenameInputText(QString());
    m_store.setSmartRenameRows({});
}

void SmartRenameRun::run(int total, RowBuilder build)
{
    if (isRunning())
        return;
    if (total <= kStepRows) {
        QList<SmartRenameRow> rows;
        rows.reserve(total);
        for (int i = 0; i < total; ++i)
            rows << build(i);
        m_store.setSmartRenameRows(std::move(rows));
        return;
    }
    m_build = std::move(build);
    m_total = total;
    m_built.clear();
    m_built.reserve(total);
    setProgress(Progress{0, total});
    step();
}

void SmartRenameRun::step()
{
    while (m_built.size() < m_total) {
        m_built << m_build(int(m_built.size()));
        if (m_built.size() % kStepRows == 0) {
            setProgress(Progress{int(m_built.size()), m_total});
            QTimer::singleShot(m_pauseMs, this, &SmartRenameRun::step);
            return;
        }
    }
    m_build = {};
    m_store.setSmartRenameRows(std::exchange(m_built, {}));
    setProgress(std::nullopt);
}

void SmartRenameRun::setProgress(std::optional<Progress> progress)
{
    m_progress = progress;
    emit progressChanged();
}
