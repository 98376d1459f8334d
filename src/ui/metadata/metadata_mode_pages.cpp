#include "metadata/metadata_mode_pages.h"

#include "bin/bin_view.h"
#include "common/lang_binder.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
// Stands in for a mode whose screen is not part of this build yet.
QWidget* comingPage(Store& store, const char* en, const char* zh, QWidget* parent)
{
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* note = new QLabel(page);
    note->setObjectName("modePageNote");
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignCenter);
    note->setStyleSheet("color: palette(mid);");
    LangBinder(store).bindText(note, en, zh);
    layout->addStretch(1);
    layout->addWidget(note);
    layout->addStretch(1);
    return page;
}
}  // namespace

QWidget* makeMetadataModePage(int mode, Store& store, Dialogs& dialogs, QWidget* parent)
{
    if (mode == MetadataModes::log)
        return comingPage(store,
                          "Log mode will hold quick Scene/Take entry for the listed clips, one clip after another.",
                          "打板记录模式将用于逐个片段快速录入场次/镜次。", parent);
    return new BinView(store, dialogs, parent);
}
