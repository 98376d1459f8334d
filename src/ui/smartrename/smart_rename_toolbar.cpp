#include "smartrename/smart_rename_toolbar.h"

#include "common/icons.h"
#include "common/lang_binder.h"
#include "model/store.h"
#include "platform/lang.h"
#include "smartrename/smart_rename_run.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
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
    m_copyAll = new QPushButton(symbolIcon("doc.on.doc"), {}, this);
    m_copyAll->setObjectName("copyAllButton");
    for (QWidget* w : {static_cast<QWidget*>(m_recognize), static_cast<QWidget*>(m_progressBar),
                       static_cast<QWidget*>(m_progressLabel), static_cast<QWidget*>(m_clear)})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(m_copyAll);

    LangBinder tr(store);
    tr.bindText(m_recognize, "Recognize", "识别");
    tr.bindText(m_clear, "Clear", "清空");
    tr.bindText(m_copyAll, "Copy All Results", "复制全部结果");
    tr.bind(this, [this] { refresh(); });

    SmartRenameRun& run = store.smartRun();
    connect(m_recognize, &QPushButton::clicked, &run, &SmartRenameRun::recognize);
    connect(m_clear, &QPushButton::clicked, &run, &SmartRenameRun::clear);
    connect(m_copyAll, &QPushButton::clicked, this, &SmartRenameToolbar::copyAllResults);
    connect(&run, &SmartRenameRun::progressChanged, this, &SmartRenameToolbar::refresh);
    connect(&store, &Store::smartChanged, this, &SmartRenameToolbar::refresh);
}

void SmartRenameToolbar::refresh()
{
    const auto& progress = m_store.smartRun().progress();
    const SmartSettings& s = m_store.smart();
    m_recognize->setEnabled(!progress);
    m_clear->setEnabled(!progress && (!s.smartRenameInputText.isEmpty() || !s.smartRenameRows.isEmpty()));
    m_copyAll->setVisible(!s.smartRenameRows.isEmpty());
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
