#include "mode_screens.h"

#include "app/rename_log_sheet.h"
#include "batch/batch_view.h"
#include "batch/one_by_one_view.h"
#include "batch/rules/rules_form.h"
#include "common/clipboard.h"
#include "common/lang_binder.h"
#include "email/email_view.h"
#include "metadata/metadata_view.h"
#include "smartrename/smart_rename_view.h"

#include <QDialog>

#include <QLabel>
#include <QVBoxLayout>

namespace {
const char* const kTitles[kModeCount][2] = {
    {"Batch Rules", "批量规则"}, {"One by One", "逐个重命名"}, {"Metadata", "元数据"}, {"Smart Rename", "智能改名"},
    {"Email", "邮件"},
};

int clampTab(int tab)
{
    return tab >= 0 && tab < kModeCount ? tab : kModeCount - 1;
}

QWidget* emptyPage(Store& store, const char* en, const char* zh, QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* title = new QLabel(page);
    title->setObjectName("emptyPageTitle");
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    title->setFont(f);
    auto* note = new QLabel(page);
    note->setEnabled(false);
    LangBinder tr(store);
    tr.bindText(title, en, zh);
    tr.bindText(note, "Not available in this version yet.", "此版本暂不提供。");
    layout->addStretch(1);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(note, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    return page;
}
}  // namespace

const char* modeTitleEn(int tab)
{
    return kTitles[clampTab(tab)][0];
}
const char* modeTitleZh(int tab)
{
    return kTitles[clampTab(tab)][1];
}

QWidget* makeModeScreen(int tab, Store& store, Dialogs& dialogs, QWidget* parent)
{
    // Each mode's screen joins here when it is built.
    const int t = clampTab(tab);
    if (t == 0) {
        auto* batch = new BatchView(store, dialogs, parent);
        batch->setRulesPanel(new RulesForm(store, dialogs));
        batch->setObjectName(QStringLiteral("modeScreen0"));
        return batch;
    }
    QWidget* page = nullptr;
    if (t == 1)
        page = new OneByOneView(store, parent);
    else if (t == 2)
        page = new MetadataView(store, dialogs, parent);
    else if (t == 3)
        page = new SmartRenameView(store, dialogs, parent);
    else if (t == 4)
        page = new EmailView(store, dialogs, SystemClipboard::instance(), parent);
    else
        page = emptyPage(store, kTitles[t][0], kTitles[t][1], parent);
    page->setObjectName(QStringLiteral("modeScreen%1").arg(t));
    return page;
}

QWidget* makeRenameLogContent(Store& store, Dialogs& dialogs, QWidget* parent)
{
    auto* sheet = new RenameLogSheet(store, dialogs, {}, parent);
    if (auto* dialog = qobject_cast<QDialog*>(parent))
        QObject::connect(sheet, &RenameLogSheet::finished, dialog, &QDialog::accept);
    return sheet;
}
