#include "rename_log_sheet.h"

#include "common/dialogs.h"
#include "files/history.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

enum Column { TimeCol, ActionCol, OldNameCol, NewNameCol, FolderCol, ColumnCount };

// Short date, time with seconds, in the language shown and the user's time zone.
QString tableDate(const QDateTime& date)
{
    const QLocale locale = Lang::locale();
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    if (!timeFormat.contains('s'))
        timeFormat.replace("mm", "mm:ss");
    const QDateTime local = date.toLocalTime();
    return locale.toString(local.date(), QLocale::ShortFormat) + ' ' + locale.toString(local.time(), timeFormat);
}

QString withTilde(const QString& path)
{
    const QString home = QDir::homePath();
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + '/'))
        return '~' + path.mid(home.size());
    return path;
}

// Names can be selected and copied: a double click opens a read-only field over the cell.
class ReadOnlyTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setReadOnly(true);
        return editor;
    }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
};

// The secondary style: readable, unlike the disabled look, which is too faint for a count.
void setSecondary(QLabel* label)
{
    label->setForegroundRole(QPalette::PlaceholderText);
}

}  // namespace

// The filtered rows; cells are made only for the rows on screen.
class RenameLogModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    QList<RenameLogRow> rows;

    void setRows(QList<RenameLogRow> r)
    {
        beginResetModel();
        rows = std::move(r);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(rows.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : ColumnCount; }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        Qt::ItemFlags f = Qt::ItemIsEnabled;
        if (index.column() == OldNameCol || index.column() == NewNameCol)
            f |= Qt::ItemIsEditable;
        return f;
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case TimeCol: return L("Time", "时间");
        case ActionCol: return L("Action", "操作");
        case OldNameCol: return L("Old name", "原名称");
        case NewNameCol: return L("New name", "新名称");
        case FolderCol: return L("Folder", "文件夹");
        }
        return {};
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rows.size())
            return {};
        const RenameLogRow& r = rows[index.row()];
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            switch (index.column()) {
            case TimeCol: return tableDate(r.date);
            case ActionCol: return RenameLogSheet::actionTitle(r.action);
            case OldNameCol: return PathText::lastComponent(r.from);
            case NewNameCol: return PathText::lastComponent(r.to);
            case FolderCol: return withTilde(PathText::parent(r.to));
            }
        }
        if (role == Qt::ToolTipRole && index.column() == FolderCol)
            return r.to;
        if (role == Qt::ForegroundRole && index.column() == FolderCol)
            return QColor(128, 128, 128);
        if (role == Qt::FontRole && index.column() == TimeCol)
            return QFontDatabase::systemFont(QFontDatabase::FixedFont);
        return {};
    }
};

RenameLogSheet::RenameLogSheet(Store& store, Dialogs& dialogs, std::function<void()> clearLog, QWidget* parent)
    : QWidget(parent), m_store(store), m_dialogs(dialogs), m_clearLog(std::move(clearLog)),
      m_model(new RenameLogModel(this))
{
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(16, 16, 16, 16);
    col->setSpacing(10);
    setMinimumSize(860, 480);

    auto* header = new QHBoxLayout;
    m_title = new QLabel;
    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    header->addWidget(m_title);
    header->addStretch();
    m_search = new QLineEdit;
    m_search->setFixedWidth(240);
    m_search->setClearButtonEnabled(true);
    header->addWidget(m_search);
    col->addLayout(header);

    m_content = new QStackedWidget;
    m_empty = new QLabel;
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setWordWrap(true);
    setSecondary(m_empty);
    m_content->addWidget(m_empty);
    m_table = new QTableView;
    m_table->setModel(m_model);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setSortingEnabled(false);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked);
    m_table->setItemDelegate(new ReadOnlyTextDelegate(m_table));
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setMinimumSectionSize(44);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->setColumnWidth(OldNameCol, 200);
    m_table->setColumnWidth(NewNameCol, 200);
    m_content->addWidget(m_table);
    col->addWidget(m_content, 1);

    auto* footer = new QHBoxLayout;
    m_count = new QLabel;
    QFont caption = m_count->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    m_count->setFont(caption);
    setSecondary(m_count);
    footer->addWidget(m_count);
    footer->addStretch();
    m_clear = new QPushButton;
    m_export = new QPushButton;
    m_done = new QPushButton;
    m_done->setDefault(true);
    for (QPushButton* b : {m_clear, m_export, m_done})
        footer->addWidget(b);
    col->addLayout(footer);

    connect(m_search, &QLineEdit::textChanged, this, &RenameLogSheet::refresh);
    connect(m_clear, &QPushButton::clicked, this, &RenameLogSheet::clearLog);
    connect(m_export, &QPushButton::clicked, this, &RenameLogSheet::exportCSV);
    connect(m_done, &QPushButton::clicked, this, &RenameLogSheet::finished);
    // Return closes the sheet, also from the search field.
    auto* returnKey = new QShortcut(QKeySequence(Qt::Key_Return), this);
    returnKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(returnKey, &QShortcut::activated, m_done, &QPushButton::click);
    connect(&m_store, &Store::historyChanged, this, &RenameLogSheet::refresh);
    connect(&m_store, &Store::prefsChanged, this, &RenameLogSheet::relabel);
    relabel();
}

QList<RenameLogRow> RenameLogSheet::filteredEntries() const
{
    return filterRenameLog(m_store.historyState().renameLog, m_search->text());
}

QString RenameLogSheet::actionTitle(const QString& action)
{
    if (action == u"rename")
        return L("Rename", "改名");
    if (action == u"undo")
        return L("Undo", "撤销");
    if (action == u"auto")
        return L("Auto", "自动");
    return action;
}

void RenameLogSheet::relabel()
{
    m_title->setText(L("Rename Log", "改名记录"));
    m_search->setPlaceholderText(L("Search names", "搜索名称"));
    m_empty->setText(L("Renames you apply will be listed here — they're kept after you quit.",
                       "你应用的每次改名都会记录在这里,退出 app 后也会保留。"));
    m_clear->setText(L("Clear Log…", "清空记录…"));
    m_export->setText(L("Export CSV…", "导出 CSV…"));
    m_done->setText(L("Done", "完成"));
    // Room for a whole date and the longest action title in the current language.
    const QFontMetrics fixed(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const int timeWidth = fixed.horizontalAdvance(tableDate(QDateTime(QDate(2026, 12, 28), QTime(23, 59, 59)))) + 16;
    int actionWidth = 0;
    for (const char* a : {"rename", "undo", "auto"})
        actionWidth = std::max(actionWidth, m_table->fontMetrics().horizontalAdvance(actionTitle(a)) + 16);
    m_table->setColumnWidth(TimeCol, std::max(150, timeWidth));
    m_table->setColumnWidth(ActionCol, std::max(56, actionWidth));
    refresh();
}

void RenameLogSheet::refresh()
{
    const QList<RenameLogEntry>& log = m_store.historyState().renameLog;
    m_content->setCurrentWidget(log.isEmpty() ? static_cast<QWidget*>(m_empty) : m_table);
    m_model->setRows(filteredEntries());
    // The count is of the whole log, not of the rows a search leaves.
    const QString n = QString::number(log.size());
    m_count->setText(Lang::zh() ? "共 " + n + " 条" : n + " entries");
    m_model->headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void RenameLogSheet::clearLog()
{
    const bool confirmed = m_dialogs.question(L("Clear the whole rename log?", "要清空全部改名记录吗?"),
                                              L("Files aren't changed, and Undo keeps working.",
                                                "不会改动任何文件,撤销仍然可用。"),
                                              L("Cancel", "取消"), L("Clear Log", "清空记录"), true);
    if (!confirmed)
        return;
    if (m_clearLog)
        m_clearLog();
    else
        m_store.history().clearRenameLog();
}

void RenameLogSheet::exportCSV()
{
    Dialogs::SavePanel panel;
    panel.fileName = QStringLiteral("Brindlecove Log.csv");
    panel.nameFilters = {L("Comma-separated text (*.csv)", "逗号分隔文本 (*.csv)")};
    const std::optional<QString> path = m_dialogs.savePanel(panel);
    if (!path || path->isEmpty())
        return;
    const QString error = writeRenameLogCsv(m_store.historyState().renameLog, *path);
    if (error.isEmpty())
        m_store.setStatus(L("Exported ", "已导出 ") + PathText::lastComponent(*path));
    else
        m_store.setStatus(L("Export failed: ", "导出失败:") + error);
}
