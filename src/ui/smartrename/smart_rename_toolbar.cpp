#include "smartrename/smart_rename_toolbar.h"

#include "common/icons.h"
#include "common/lang_binder.h"
#include "model/store.h"
#include "platform/lang.h"
#include "smartrename/smart_rename_handoff.h"
#include "smartrename/smart_rename_run.h"
#include "smartrename/variants_menu.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

SmartRenameToolbar::SmartRenameToolbar(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_recognize = new QPushButton(symbolIcon("wand.and.stars"), {}, this);
    m_recognize->setObjectName("recognizeButton");
    m_recognize->setDefault(true);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setFixedWidth(80);
    m_progressBar->setTextVisible(false);
    m_progressLabel = new QLabel(this);
    m_progressLabel->setObjectName("progressLabel");
    QFont digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    digits.setPointSizeF(font().pointSizeF() * 0.85);
    m_progressLabel->setFont(digits);
    m_progressLabel->setEnabled(false);
    m_clear = new QPushButton(this);
    m_clear->setObjectName("clearButton");
    m_teach = new QPushButton(symbolIcon("text.badge.plus"), {}, this);
    m_teach->setObjectName("teachButton");
    m_applyRename = new QPushButton(symbolIcon("checkmark.seal.fill"), {}, this);
    m_applyRename->setObjectName("applyRenameButton");
    m_applyRename->setStyleSheet("QPushButton { color: #1E8E3E; font-weight: bold; }");
    m_variants = new QPushButton(symbolIcon("rectangle.stack"), {}, this);
    m_variants->setObjectName("variantsButton");
    m_variants->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* variantsMenu = new QMenu(m_variants);
    m_variants->setMenu(variantsMenu);
    m_copyAll = new QPushButton(symbolIcon("doc.on.doc"), {}, this);
    m_copyAll->setObjectName("copyAllButton");
    m_generateEmail = new QPushButton(symbolIcon("envelope"), {}, this);
    m_generateEmail->setObjectName("generateEmailButton");
    for (QWidget* w : {static_cast<QWidget*>(m_recognize), static_cast<QWidget*>(m_progressBar),
                       static_cast<QWidget*>(m_progressLabel), static_cast<QWidget*>(m_clear),
                       static_cast<QWidget*>(m_teach), static_cast<QWidget*>(m_applyRename)})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(m_variants);
    row->addWidget(m_copyAll);
    row->addWidget(m_generateEmail);

    LangBinder tr(store);
    tr.bindText(m_recognize, "Recognize", "识别");
    tr.bindText(m_clear, "Clear", "清空");
    tr.bindText(m_copyAll, "Copy All Results", "复制全部结果");
    tr.bindText(m_teach, "Teach Word Split", "教一个词的拆分");
    tr.bindText(m_applyRename, "Apply Rename", "应用重命名");
    tr.bindToolTip(m_applyRename, "Renames the real files on disk for every row loaded from Use Loaded Files.",
                   "对每一行来自「使用已加载文件」的行,真正重命名磁盘上的文件。");
    tr.bindText(m_variants, "Variants", "变体");
    tr.bindText(m_generateEmail, "Generate Email", "生成邮件");
    tr.bind(this, [this] { refresh(); });

    SmartRenameRun& run = store.smartRun();
    connect(m_recognize, &QPushButton::clicked, &run, &SmartRenameRun::recognize);
    connect(m_clear, &QPushButton::clicked, &run, &SmartRenameRun::clear);
    connect(m_copyAll, &QPushButton::clicked, this, &SmartRenameToolbar::copyAllResults);
    connect(m_applyRename, &QPushButton::clicked, this, [this] { m_store.smartHandOff().applyRename(); });
    connect(m_generateEmail, &QPushButton::clicked, this, [this] { m_store.smartHandOff().generateEmail(); });
    connect(variantsMenu, &QMenu::aboutToShow, this,
            [this, variantsMenu] { fillToolbarVariantsMenu(variantsMenu, m_store); });
    connect(&store, &Store::presetsChanged, this, &SmartRenameToolbar::refresh);
    connect(&run, &SmartRenameRun::progressChanged, this, &SmartRenameToolbar::refresh);
    connect(&store, &Store::smartChanged, this, &SmartRenameToolbar::refresh);
}

void SmartRenameToolbar::refresh()
{
    const auto& progress = m_store.smartRun().progress();
    const SmartSettings& s = m_store.smart();
    m_recognize->setEnabled(!progress);
    m_clear->setEnabled(!progress && (!s.smartRenameInputText.isEmpty() || !s.smartRenameRows.isEmpty()));
    const bool anyRows = !s.smartRenameRows.isEmpty();
    m_copyAll->setVisible(anyRows);
    m_generateEmail->setVisible(anyRows);
    m_variants->setVisible(anyRows && hasVariantsToOffer(m_store));
    m_applyRename->setVisible(std::any_of(s.smartRenameRows.cbegin(), s.smartRenameRows.cend(),
                                          [](const SmartRenameRow& r) { return r.sourceItem.has_value(); }));
    m_progressBar->setVisible(progress.has_value());
    m_progressLabel->setVisible(progress.has_value());
    if (!progress)
        return;
    m_progressBar->setRange(0, progress->second);
    m_progressBar->setValue(progress->first);
    m_progressLabel->setText(L("Recognizing ", "识别中 ") + QString::number(progress->first) + " / "
                             + QString::number(progress->second));
}

void SmartRenameToolbar::copyAllResults()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(SmartRename::joinedResults(m_store.smart().smartRenameRows));
}
