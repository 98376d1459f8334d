#include "presets_header.h"

#include "common/dialogs.h"
#include "common/icons.h"
#include "common/prompts.h"
#include "model/presets.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxPresetButtons = 6;
const char* const kBundleName = "Brindlecove Presets.json";
}  // namespace

PresetsHeader::PresetsHeader(Store& store, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_store(store), m_dialogs(dialogs), m_tr(store)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    column->addWidget(buildTitleRow());
    column->addWidget(buildPresetButtons());
    connect(&m_store, &Store::presetsChanged, this, &PresetsHeader::rebuild);
    m_tr.bind(this, [this] { rebuild(); });
}

void PresetsHeader::rebuild()
{
    rebuildPresetsMenu();
    rebuildPresetButtons();
}

QWidget* PresetsHeader::buildTitleRow()
{
    auto* w = new QWidget;
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel;
    QFont headline = title->font();
    headline.setBold(true);
    title->setFont(headline);
    m_tr.bindText(title, "Rules  ·  applied top to bottom", "规则  ·  自上而下应用");

    auto* menuButton = new QToolButton;
    menuButton->setObjectName("presetsMenuButton");
    menuButton->setAutoRaise(true);
    menuButton->setPopupMode(QToolButton::InstantPopup);
    menuButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    menuButton->setIcon(symbolIcon("bookmark"));
    m_tr.bindText(menuButton, "Presets", "预设");
    m_presetsMenu = new QMenu(menuButton);
    menuButton->setMenu(m_presetsMenu);

    layout->addWidget(title);
    layout->addStretch(1);
    layout->addWidget(menuButton);
    return w;
}

void PresetsHeader::rebuildPresetsMenu()
{
    QMenu* menu = m_presetsMenu;
    menu->clear();
    const QStringList names = m_store.presetNames();
    menu->addAction(L("Save Preset", "保存预设"), this, &PresetsHeader::savePreset);
    if (!names.isEmpty()) {
        menu->addSeparator();
        for (const QString& name : names)
            menu->addAction(name, this, [this, name] { m_store.presets().load(name); });
        menu->addSeparator();
        QMenu* remove = menu->addMenu(L("Delete", "删除"));
        for (const QString& name : names)
            remove->addAction(name, this, [this, name] { m_store.presets().remove(name); });
    }
    menu->addSeparator();
    menu->addAction(L("Import Presets…", "导入预设…"), this, &PresetsHeader::importPresetsFromFile);
    QAction* exportAction = menu->addAction(L("Export Presets…", "导出预设…"), this,
                                            &PresetsHeader::exportPresetsToFile);
    exportAction->setEnabled(!names.isEmpty());
}

QWidget* PresetsHeader::buildPresetButtons()
{
    m_presetScroll = new QScrollArea;
    m_presetScroll->setObjectName("presetButtons");
    m_presetScroll->setFrameShape(QFrame::NoFrame);
    m_presetScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_presetScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_presetScroll->setWidgetResizable(true);
    auto* inner = new QWidget;
    m_presetButtonsLayout = new QHBoxLayout(inner);
    m_presetButtonsLayout->setContentsMargins(0, 0, 0, 0);
    m_presetButtonsLayout->setSpacing(6);
    m_presetScroll->setWidget(inner);
    m_presetScroll->hide();
    return m_presetScroll;
}

QWidget* PresetsHeader::buttonRow() const
{
    return m_presetScroll;
}

void PresetsHeader::rebuildPresetButtons()
{
    while (QLayoutItem* item = m_presetButtonsLayout->takeAt(0)) {
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    const QStringList names = m_store.presetNames().mid(0, kMaxPresetButtons);
    for (const QString& name : names) {
        auto* button = new QPushButton(name);
        QFont small = button->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        button->setFont(small);
        button->setToolTip(L("Apply preset “", "套用预设「") + name + L("”", "」"));
        connect(button, &QPushButton::clicked, this, [this, name] { m_store.presets().load(name); });
        m_presetButtonsLayout->addWidget(button);
        button->show();  // a layout would only show it on the next event-loop turn
    }
    m_presetButtonsLayout->addStretch(1);
    m_presetScroll->setFixedHeight(m_presetScroll->widget()->sizeHint().height());
    m_presetScroll->setVisible(!names.isEmpty());
}

void PresetsHeader::savePreset()
{
    const std::optional<QString> name = promptText(m_dialogs, L("Save Preset", "保存预设"),
                                                   L("Name for this rule set:", "为这组规则命名:"), QString());
    if (name && !name->isEmpty())
        m_store.presets().save(*name);
}

void PresetsHeader::exportPresetsToFile()
{
    Dialogs::SavePanel panel;
    panel.title = L("Export Presets…", "导出预设…");
    panel.fileName = QString::fromUtf8(kBundleName);
    panel.nameFilters = {QStringLiteral("JSON (*.json)")};
    const std::optional<QString> path = m_dialogs.savePanel(panel);
    if (!path || path->isEmpty())
        return;
    const QString error = m_store.presets().exportAll(*path);
    if (!error.isEmpty()) {
        m_store.setStatus(L("Export failed: ", "导出失败:") + error);
        return;
    }
    const QString n = QString::number(m_store.presetNames().size());
    m_store.setStatus(L("Exported " + n + " preset(s).", "已导出 " + n + " 个预设。"));
}

void PresetsHeader::importPresetsFromFile()
{
    Dialogs::OpenPanel panel;
    panel.title = L("Import Presets…", "导入预设…");
    panel.multiple = false;
    panel.nameFilters = {QStringLiteral("JSON (*.json)")};
    const Dialogs::OpenResult chosen = m_dialogs.openPanel(panel);
    if (!chosen.accepted())
        return;
    const PresetImport result = m_store.presets().importFrom(chosen.paths.first());
    const QString n = QString::number(result.imported);
    switch (result.failure) {
    case PresetImport::Failure::none:
        m_store.setStatus(L("Imported " + n + " preset(s).", "已导入 " + n + " 个预设。"));
        break;
    case PresetImport::Failure::notPresets:
        m_store.setStatus(L("That file isn't a Brindlecove preset file.", "这不是 Brindlecove 预设文件。"));
        break;
    case PresetImport::Failure::unreadable:
        m_store.setStatus(L("Couldn't read the preset file: ", "无法读取预设文件:") + result.error);
        break;
    case PresetImport::Failure::notSaved: {
        const QString total = QString::number(result.total);
        m_store.setStatus(L("Imported " + n + " of " + total + " preset(s); the others could not be saved: ",
                            "已导入 " + total + " 个预设中的 " + n + " 个;其余的无法保存:")
                          + result.error);
        break;
    }
    }
}
