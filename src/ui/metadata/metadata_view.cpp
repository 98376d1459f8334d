#include "metadata/metadata_view.h"

#include "common/lang_binder.h"
#include "common/segmented_control.h"
#include "metadata/metadata_editor.h"
#include "metadata/metadata_mode_pages.h"

#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

MetadataView::MetadataView(Store& store, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_store(store), m_dialogs(dialogs)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(6);
    m_picker = new SegmentedControl(this);
    m_picker->setObjectName("metadataModePicker");
    m_picker->setMaximumWidth(340);
    LangBinder tr(store);
    tr.bindText(m_picker->addSegment({}, MetadataModes::editor), "Editor", "编辑器");
    tr.bindText(m_picker->addSegment({}, MetadataModes::binTable), "Bin (table)", "表格");
    tr.bindText(m_picker->addSegment({}, MetadataModes::log), "Log", "打板记录");
    m_picker->setCurrentTag(MetadataModes::editor);
    connect(m_picker, &SegmentedControl::activated, this, &MetadataView::setMode);
    layout->addWidget(m_picker, 0, Qt::AlignHCenter);

    m_pages = new QStackedWidget(this);
    m_editor = new MetadataEditor(store, dialogs, m_pages);
    m_pages->addWidget(m_editor);
    layout->addWidget(m_pages, 1);
    m_editor->appear();
}

void MetadataView::setMode(int mode)
{
    mode = mode == MetadataModes::binTable || mode == MetadataModes::log ? mode : MetadataModes::editor;
    if (mode == m_mode)
        return;
    m_mode = mode;
    m_picker->setCurrentTag(m_mode);
    // A screen left behind is dropped with its state.
    if (m_modePage) {
        m_pages->removeWidget(m_modePage);
        m_modePage->deleteLater();
        m_modePage = nullptr;
    }
    if (m_mode == MetadataModes::editor) {
        m_pages->setCurrentWidget(m_editor);
        m_editor->appear();
        return;
    }
    m_modePage = makeMetadataModePage(m_mode, m_store, m_dialogs, m_pages);
    m_pages->addWidget(m_modePage);
    m_pages->setCurrentWidget(m_modePage);
}
