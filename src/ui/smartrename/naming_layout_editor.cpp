#include "smartrename/naming_layout_editor.h"

#include "common/drag_chip.h"
#include "common/internal_drags.h"
#include "common/lang_binder.h"
#include "common/segmented_control.h"
#include "model/store.h"
#include "smartrename/cut_type_editor.h"
#include "smartrename/smart_rename_editors.h"
#include "smartrename/smart_rename_widgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
using Config = SmartRename::CustomNamingConfig;

QHBoxLayout* labelled(QLabel* label, QWidget* field)
{
    auto* h = new QHBoxLayout;
    h->setSpacing(6);
    h->addWidget(label);
    h->addWidget(field);
    return h;
}

QCheckBox* smallToggle(QWidget* parent, const char* name)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(name);
    QFont f = box->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    box->setFont(f);
    return box;
}
}  // namespace

NamingLayoutEditor::NamingLayoutEditor(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->setSpacing(10);

    auto* shapeHeading = smartHeading(this, "outputShapeHeading");
    shapeHeading->setContentsMargins(0, 6, 0, 0);
    layout->addWidget(shapeHeading);

    auto* separatorLabel = smartCaption(this, "separatorLabel");
    separatorLabel->setStyleSheet({});
    m_separator = new QLineEdit(this);
    m_separator->setObjectName("separatorField");
    m_separator->setPlaceholderText("_");
    m_separator->setFixedWidth(50);
    auto* caseLabel = smartCaption(this, "caseLabel");
    caseLabel->setStyleSheet({});
    m_case = new SegmentedControl(this);
    m_case->setObjectName("casePicker");
    m_case->setFixedWidth(220);
    for (Config::CaseStyle style :
         {Config::CaseStyle::titleCase, Config::CaseStyle::upperCase, Config::CaseStyle::asIs})
        m_case->addSegment(Config::rawValue(style), int(style));
    auto* row2 = new QHBoxLayout;
    row2->setSpacing(16);
    row2->addLayout(labelled(separatorLabel, m_separator));
    row2->addLayout(labelled(caseLabel, m_case));
    row2->addStretch(1);
    layout->addLayout(row2);

    m_includeCode = smallToggle(this, "includeCodeBox");
    m_quoteSpot = smallToggle(this, "quoteSpotBox");
    m_spaceSpot = smallToggle(this, "spaceSpotBox");
    auto* row3 = new QHBoxLayout;
    row3->setSpacing(16);
    for (QCheckBox* box : {m_includeCode, m_quoteSpot, m_spaceSpot})
        row3->addWidget(box);
    row3->addStretch(1);
    layout->addLayout(row3);

    auto* versionLabel = new QLabel(this);
    m_versionPrefix = new QLineEdit(this);
    m_versionPrefix->setObjectName("versionPrefixField");
    m_versionPrefix->setPlaceholderText("V");
    m_versionPrefix->setFixedWidth(60);
    auto* timingLabel = new QLabel(this);
    m_timingPrefix = new QLineEdit(this);
    m_timingPrefix->setObjectName("timingPrefixField");
    m_timingPrefix->setFixedWidth(60);
    auto* row4 = new QHBoxLayout;
    row4->setSpacing(16);
    row4->addLayout(labelled(versionLabel, m_versionPrefix));
    row4->addLayout(labelled(timingLabel, m_timingPrefix));
    row4->addStretch(1);
    layout->addLayout(row4);

    layout->addWidget(smartDivider(this));
    auto* orderHeading = smartHeading(this, "sectionOrderHeading");
    layout->addWidget(orderHeading);
    auto* orderHelp = smartCaption(this, "sectionOrderHelp", true);
    orderHelp->setWordWrap(true);
    layout->addWidget(orderHelp);
    m_chipRow = new QHBoxLayout;
    m_chipRow->setSpacing(6);
    m_resetOrder = smartLinkButton(this, "resetOrderButton");
    QFont small = m_resetOrder->font();
    small.setPointSizeF(font().pointSizeF() * 0.75);
    m_resetOrder->setFont(small);
    m_chipRow->addStretch(1);
    m_chipRow->addWidget(m_resetOrder);
    layout->addLayout(m_chipRow);
    layout->addWidget(smartDivider(this));
    m_cutTypes = new CutTypeEditor(store, this);
    layout->addWidget(m_cutTypes);

    LangBinder tr(store);
    tr.bindText(shapeHeading, "Output shape", "输出格式");
    tr.bindText(separatorLabel, "Separator", "分隔符");
    tr.bindText(caseLabel, "Case", "大小写");
    tr.bindText(m_includeCode, "Include code", "包含代码");
    tr.bindText(m_quoteSpot, "Quote spot name", "片名加引号");
    tr.bindText(m_spaceSpot, "Space spot name", "片名保留空格");
    tr.bindText(versionLabel, "Version prefix", "版本号前缀");
    tr.bindText(timingLabel, "Timing prefix", "时长前缀");
    tr.bindText(orderHeading, "Section order", "字段顺序");
    tr.bindText(orderHelp,
                "Drag to rearrange — e.g. Type_Code_SpotName_Version instead of the default "
                "Code_SpotName_Type_Timing_Version.",
                "拖动调整顺序 —— 比如把默认的 代码_片名_片型_时长_版本号 改成 片型_代码_片名_版本号。");
    tr.bindText(m_resetOrder, "Reset order", "恢复默认顺序");
    tr.bind(this, [this] {
        m_shownOrder.clear();  // chip labels follow the language
        rebuildChips();
    });

    connect(m_separator, &QLineEdit::textEdited, this,
            [this](const QString& t) { edit([&](Config& c) { c.separator = t; }); });
    connect(m_versionPrefix, &QLineEdit::textEdited, this,
            [this](const QString& t) { edit([&](Config& c) { c.versionPrefix = t; }); });
    connect(m_timingPrefix, &QLineEdit::textEdited, this,
            [this](const QString& t) { edit([&](Config& c) { c.timingPrefix = t; }); });
    connect(m_case, &SegmentedControl::activated, this,
            [this](int tag) { edit([&](Config& c) { c.caseStyle = Config::CaseStyle(tag); }); });
    connect(m_includeCode, &QCheckBox::clicked, this,
            [this](bool on) { edit([&](Config& c) { c.includeProductionCode = on; }); });
    connect(m_quoteSpot, &QCheckBox::clicked, this,
            [this](bool on) { edit([&](Config& c) { c.quoteSpotName = on; }); });
    connect(m_spaceSpot, &QCheckBox::clicked, this,
            [this](bool on) { edit([&](Config& c) { c.spotNameSpaced = on; }); });
    connect(m_resetOrder, &QPushButton::clicked, this, [this] { m_store.smartEditors().resetSectionOrder(); });
    connect(&store, &Store::smartChanged, this, &NamingLayoutEditor::follow);
    follow();
}

template <typename F> void NamingLayoutEditor::edit(F&& f)
{
    Config config = m_store.smart().customNamingConfig;
    f(config);
    m_store.smartEditors().setNamingConfig(config);
}

void NamingLayoutEditor::follow()
{
    const Config& c = m_store.smart().customNamingConfig;
    for (auto [field, text] : {std::pair{m_separator, &c.separator}, std::pair{m_versionPrefix, &c.versionPrefix},
                               std::pair{m_timingPrefix, &c.timingPrefix}})
        if (field->text() != *text)
            field->setText(*text);
    m_case->setCurrentTag(int(c.caseStyle));
    m_includeCode->setChecked(c.includeProductionCode);
    m_quoteSpot->setChecked(c.quoteSpotName);
    m_spaceSpot->setChecked(c.spotNameSpaced);
    rebuildChips();
}

void NamingLayoutEditor::rebuildChips()
{
    const QList<Config::SectionKind>& order = m_store.smart().customNamingConfig.sectionOrder;
    if (order == m_shownOrder && !m_chips.isEmpty())
        return;
    // A drop on a chip rebuilds the row from inside that chip's handler: delete later.
    for (DragChip* chip : std::as_const(m_chips)) {
        chip->hide();
        chip->deleteLater();
    }
    m_chips.clear();
    int at = 0;
    for (Config::SectionKind kind : order) {
        auto* chip = new DragChip(Config::label(kind), InternalDrag::sectionChip, Config::rawValue(kind), this);
        chip->setObjectName("sectionChip");
        QFont f = chip->font();
        f.setPointSizeF(font().pointSizeF() * 0.85);
        chip->setFont(f);
        chip->setPadding(8);
        chip->setSelected(false);
        chip->setOnDrop(
            [this, kind](const QStringList& dropped) { return m_store.smartEditors().moveSection(dropped, kind); });
        m_chipRow->insertWidget(at++, chip);
        m_chips << chip;
    }
    m_shownOrder = order;
}
