#include "csv_field_map_view.h"

#include "bin_toolbar.h"
#include "common/done_button.h"
#include "common/icons.h"
#include "common/prompts.h"
#include "platform/lang.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QFont scaled(qreal factor)
{
    QFont f = QApplication::font();
    f.setPointSizeF(f.pointSizeF() * factor);
    return f;
}

void setRole(QWidget* w, QPalette::ColorRole role)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, p.color(role));
    p.setColor(QPalette::ButtonText, p.color(role));
    w->setPalette(p);
}

QToolButton* menuButton(const char* symbol, const QString& text, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setIcon(symbolIcon(symbol));
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setPopupMode(QToolButton::InstantPopup);
    b->setMenu(new QMenu(b));
    return b;
}
}  // namespace

CSVFieldMapView::CSVFieldMapView(CSVFieldMapState state, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_state(std::move(state)), m_dialogs(dialogs)
{
    m_state.setDismiss([this] { accept(); });
    m_state.loadInitialState();
    setWindowModality(Qt::WindowModal);
    setWindowTitle(L("CSV Export Columns", "CSV 导出字段"));
    setFixedWidth(520);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(12);

    auto* title = new QLabel(L("CSV Export Columns", "CSV 导出字段"), this);
    QFont big = scaled(1.15);
    big.setBold(true);
    title->setFont(big);
    column->addWidget(title);

    auto* explanation = new QLabel(L("Choose which columns export, their order, and the header text written to "
                                     "the file. Drag to reorder.",
                                     "选择导出哪些列、顺序,以及写入文件的表头文字。可拖动排序。"),
                                   this);
    explanation->setWordWrap(true);
    explanation->setFont(scaled(0.9));
    setRole(explanation, QPalette::PlaceholderText);
    column->addWidget(explanation);

    m_list = new QListWidget(this);
    m_list->setObjectName("fieldList");
    m_list->setMinimumHeight(220);
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // The list's own move is the drag; the state follows it at once and the rows are rebuilt
    // from the state once the drop is over.
    connect(m_list->model(), &QAbstractItemModel::rowsMoved, this,
            [this](const QModelIndex&, int first, int last, const QModelIndex&, int destination) {
                QList<int> sources;
                for (int i = first; i <= last; ++i)
                    sources.append(i);
                m_state.moveColumns(sources, destination);
                rebuildLater();
            });
    column->addWidget(m_list, 1);

    auto* tools = new QHBoxLayout;
    m_addField = menuButton("plus", L("Add field", "添加字段"), this);
    m_addField->setObjectName("addField");
    connect(m_addField->menu(), &QMenu::aboutToShow, this, [this] { fillAddMenu(m_addField->menu()); });
    m_reset = new QPushButton(L("Reset to automatic", "恢复自动模式"), this);
    m_reset->setObjectName("resetToAutomatic");
    m_reset->setAutoDefault(false);
    m_reset->setToolTip(L("Include every builtin field plus every custom column actually present when exporting — "
                          "the original default.",
                          "包含所有内置字段和导出时实际存在的自定义列 —— 原始默认行为。"));
    connect(m_reset, &QPushButton::clicked, this, [this] { m_state.resetToAutomatic(); });
    m_presets = menuButton("tray.full", L("Presets", "预设"), this);
    m_presets->setObjectName("presets");
    connect(m_presets->menu(), &QMenu::aboutToShow, this, [this] { fillPresetsMenu(m_presets->menu()); });
    tools->addWidget(m_addField);
    tools->addWidget(m_reset);
    tools->addStretch(1);
    tools->addWidget(m_presets);
    column->addLayout(tools);

    column->addLayout(doneButton(this, [this] { m_state.saveAndDismiss(); }));

    rebuildList();
    fillAddMenu(m_addField->menu());
    fillPresetsMenu(m_presets->menu());
}

void CSVFieldMapView::rebuildLater()
{
    if (m_rebuildPending)
        return;
    m_rebuildPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_rebuildPending = false;
            rebuildList();
        },
        Qt::QueuedConnection);
}

void CSVFieldMapView::rebuildList()
{
    m_list->clear();
    for (int i = 0; i < m_state.included().size(); ++i) {
        auto* item = new QListWidgetItem(m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
        QWidget* row = buildRow(i);
        item->setSizeHint(row->sizeHint());
        m_list->setItemWidget(item, row);
    }
}

QWidget* CSVFieldMapView::buildRow(int index)
{
    const Exporter::CSVFieldMap& field = m_state.included().at(index);
    QListWidgetItem* item = m_list->item(index);
    auto* row = new QWidget;
    row->setObjectName("fieldRow");
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->setSpacing(8);

    auto* title = new QLabel(CSVFieldMapState::defaultTitle(field.key), row);
    title->setObjectName("fieldTitle");
    title->setFont(scaled(0.9));
    setRole(title, QPalette::PlaceholderText);
    title->setFixedWidth(130);
    auto* arrow = new QLabel(row);
    arrow->setPixmap(symbolIcon("arrow.right").pixmap(10, 10, QIcon::Disabled));
    auto* header = new QLineEdit(field.header, row);
    header->setObjectName("fieldHeader");
    header->setPlaceholderText(L("Header", "表头"));
    connect(header, &QLineEdit::textEdited, this,
            [this, item](const QString& text) { m_state.setHeader(m_list->row(item), text); });
    auto* remove = new QToolButton(row);
    remove->setObjectName("removeField");
    remove->setAutoRaise(true);
    remove->setIcon(symbolIcon("minus.circle.fill"));
    remove->setAccessibleName(L("Remove field", "移除字段"));
    remove->setToolTip(remove->accessibleName());
    setRole(remove, QPalette::PlaceholderText);
    connect(remove, &QToolButton::clicked, this, [this, key = field.key] {
        m_state.removeColumn(key);
        rebuildLater();
    });

    layout->addWidget(title, 0, Qt::AlignVCenter);
    layout->addWidget(arrow, 0, Qt::AlignVCenter);
    layout->addWidget(header, 1, Qt::AlignVCenter);
    layout->addWidget(remove, 0, Qt::AlignVCenter);
    return row;
}

void CSVFieldMapView::fillAddMenu(QMenu* menu)
{
    clearMenu(menu);
    if (m_state.excludedKeys().isEmpty()) {
        menu->addAction(L("All fields added", "已全部添加"))->setEnabled(false);
        return;
    }
    for (const QString& key : m_state.excludedKeys())
        menu->addAction(CSVFieldMapState::defaultTitle(key), this, [this, key] {
            m_state.addColumn(key);
            rebuildLater();
        });
}

void CSVFieldMapView::fillPresetsMenu(QMenu* menu)
{
    clearMenu(menu);
    menu->addAction(L("Save as preset…", "存为预设…"), this, [this] { savePreset(); });
    const QStringList names = m_state.presetNames();
    if (names.isEmpty())
        return;
    menu->addSeparator();
    QMenu* load = menu->addMenu(L("Load preset", "载入预设"));
    QMenu* remove = menu->addMenu(L("Delete preset", "删除预设"));
    for (const QString& name : names) {
        load->addAction(name, this, [this, name] {
            m_state.loadPresetNamed(name);
            rebuildLater();
        });
        remove->addAction(name, this, [this, name] { m_state.deletePreset(name); });
    }
}

void CSVFieldMapView::savePreset()
{
    m_state.savePreset(promptText(m_dialogs, L("Save Preset", "保存预设"), L("Preset name:", "预设名:"), {}));
}
