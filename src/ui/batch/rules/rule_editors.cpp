#include "rule_editors.h"

#include "common/icons.h"
#include "model/file_dates.h"
#include "model/store.h"
#include "platform/lang.h"
#include "rules_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QVBoxLayout* column(QWidget* w, int spacing = 6)
{
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

template <typename E> QList<E> casesOf()
{
    const auto all = allCases<E>();
    return QList<E>(all.begin(), all.end());
}

QLabel* plainLabel(const LangBinder& tr, const char* en, const char* zh)
{
    auto* l = new QLabel;
    tr.bindText(l, en, zh);
    return l;
}

const QStringList& dateFormatPresets()
{
    static const QStringList presets = {"yyyy-MM-dd",      "yyyyMMdd",   "yyyy-MM-dd_HHmmss",
                                        "yyyyMMdd_HHmmss", "yyyy.MM.dd", "yyyy_MM"};
    return presets;
}

// The futures finish on the main thread and report through the Store; nothing to await here.
void startCaptureDateWork(Store& store, bool stamp)
{
    if (stamp)
        store.dates().setFileDatesFromCapture();
    else
        store.dates().extractCaptureDates();
}
}  // namespace

RuleEditors::RuleEditors(RuleControls& controls, std::function<void()> showRegexHelp)
    : m_c(controls), m_showRegexHelp(std::move(showRegexHelp))
{}

QWidget* RuleEditors::build(BatchRuleKind kind)
{
    switch (kind) {
    case BatchRuleKind::findReplace: return findReplaceEditor();
    case BatchRuleKind::deleteBefore: return deleteEditor(true);
    case BatchRuleKind::deleteAfter: return deleteEditor(false);
    case BatchRuleKind::remove: return removeEditor();
    case BatchRuleKind::caseRule: return caseEditor();
    case BatchRuleKind::truncate: return truncateEditor();
    case BatchRuleKind::whitespace: return whitespaceEditor();
    case BatchRuleKind::prefix: return prefixEditor();
    case BatchRuleKind::suffix: return suffixEditor();
    case BatchRuleKind::sequentialNumber: return numberEditor();
    case BatchRuleKind::insertDate: return dateEditor();
    }
    return new QWidget;
}

QWidget* RuleEditors::findReplaceEditor()
{
    auto* w = new QWidget;
    auto* layout = column(w);
    auto* arrow = new QLabel;
    arrow->setPixmap(symbolIcon("arrow.right").pixmap(14, 14));
    setSecondary(arrow);
    auto* fieldsRow = new QWidget;
    auto* fields = new QHBoxLayout(fieldsRow);
    fields->setContentsMargins(0, 0, 0, 0);
    fields->addWidget(m_c.textField(m_c.rule(&RuleSettings::find), "find", "查找"), 1);
    fields->addWidget(arrow);
    fields->addWidget(m_c.textField(m_c.rule(&RuleSettings::replace), "replace", "替换为"), 1);
    layout->addWidget(fieldsRow);

    auto* help = new QToolButton;
    help->setObjectName("regexHelpButton");
    help->setAutoRaise(true);
    help->setIcon(symbolIcon("questionmark.circle"));
    if (help->icon().isNull())
        help->setText("?");
    m_c.tr().bind(help, [help] {
        help->setAccessibleName(L("Regex help", "正则帮助"));
        help->setToolTip(L("Regex help & examples", "正则用法与示例"));
    });
    QObject::connect(help, &QToolButton::clicked, help, [show = m_showRegexHelp] { show(); });
    layout->addWidget(
        row({m_c.checkBox(m_c.rule(&RuleSettings::useRegex), "Regular expression", "正则表达式", true), help}));
    layout->addWidget(m_c.smallHelp(
        "Tip: # inserts the sequential number. In regex, use capture groups: find (\\d{4})(\\d{2}) → replace $1-$2.",
        "提示:# 插入序号。正则可用捕获组:查找 (\\d{4})(\\d{2}) → 替换 $1-$2。"));
    return w;
}

QWidget* RuleEditors::deleteEditor(bool before)
{
    auto* w = new QWidget;
    auto* layout = column(w);
    if (before) {
        layout->addWidget(m_c.textField(m_c.rule(&RuleSettings::delBefore), "marker — everything before it is removed",
                                        "标记 —— 删除它前面的所有内容"));
        layout->addWidget(m_c.checkBox(m_c.rule(&RuleSettings::delBeforeIncl), "Also delete the marker itself",
                                       "同时删除标记本身", true));
    } else {
        layout->addWidget(m_c.textField(m_c.rule(&RuleSettings::delAfter), "marker — everything after it is removed",
                                        "标记 —— 删除它后面的所有内容"));
        layout->addWidget(m_c.checkBox(m_c.rule(&RuleSettings::delAfterIncl), "Also delete the marker itself",
                                       "同时删除标记本身", true));
    }
    return w;
}

QWidget* RuleEditors::removeEditor()
{
    return m_c.textField(m_c.rule(&RuleSettings::removeStr), "string to remove (all occurrences)",
                         "要删除的字符串(全部出现)");
}

QWidget* RuleEditors::caseEditor()
{
    return row({plainLabel(m_c.tr(), "Case", "大小写"),
                m_c.enumPicker(m_c.rule(&RuleSettings::caseMode), casesOf<CaseMode>(), 160)});
}

QWidget* RuleEditors::truncateEditor()
{
    return row({m_c.enumPicker(m_c.rule(&RuleSettings::keepSide), casesOf<KeepSide>(), 90),
                m_c.stepper(m_c.rule(&RuleSettings::keepN), 1, 100, "keep ", "保留 ", " 位")});
}

QWidget* RuleEditors::whitespaceEditor()
{
    return row({plainLabel(m_c.tr(), "Whitespace", "空格处理"),
                m_c.enumPicker(m_c.rule(&RuleSettings::spaceMode), casesOf<SpaceMode>(), 160)});
}

QWidget* RuleEditors::prefixEditor()
{
    return m_c.textField(m_c.rule(&RuleSettings::prefixText), "prefix", "前缀");
}

QWidget* RuleEditors::suffixEditor()
{
    return m_c.textField(m_c.rule(&RuleSettings::suffixText), "suffix (before extension)", "后缀(扩展名之前)");
}

QWidget* RuleEditors::numberEditor()
{
    auto* w = new QWidget;
    auto* layout = column(w);
    layout->addWidget(row({plainLabel(m_c.tr(), "Format", "格式"),
                           m_c.enumPicker(m_c.rule(&RuleSettings::numFormat), casesOf<NumberFormat>(), 150),
                           plainLabel(m_c.tr(), "Order", "顺序"),
                           m_c.enumPicker(m_c.rule(&RuleSettings::numDir), casesOf<NumberDir>(), 150)}));
    QSpinBox* pad = m_c.stepper(m_c.rule(&RuleSettings::numPad), 0, 8, "pad ", "补零 ", "", 110);
    pad->setObjectName("numPad");
    m_c.onSync([&store = m_c.store(), pad] { pad->setEnabled(store.rules().numFormat == NumberFormat::digit); });
    layout->addWidget(
        row({m_c.stepper(m_c.rule(&RuleSettings::numStart), 0, 100000, "start ", "起始 ", "", 130), pad}));
    layout->addWidget(positionEditor(m_c.rule(&RuleSettings::numSep), m_c.rule(&RuleSettings::numPos),
                                     casesOf<NumberPosition>(), m_c.rule(&RuleSettings::numCustomAt)));
    QLabel* customHelp =
        m_c.smallHelp("Counted from the start of each file's name (before the extension). Longer/shorter "
                      "names are clamped, not skipped.",
                      "从每个文件名开头(扩展名之前)数起。名字比这个位置短就插在末尾,不会跳过。");
    m_c.onSync(
        [&store = m_c.store(), customHelp] { customHelp->setVisible(store.rules().numPos == NumberPosition::custom); });
    layout->addWidget(customHelp);
    layout->addWidget(m_c.smallHelp(
        "Number follows the list order above — reorder files to control it. Padding applies to digits only. "
        "“Renumber existing” replaces the first number already in the name (e.g. Scene_007 → Scene_012) instead "
        "of adding a new one.",
        "序号按上方列表顺序编排 —— 拖动文件即可调整。补零仅对数字有效。「重新编号」会替换名字里已有的第一个数字(如 "
        "Scene_007→Scene_012),而不是新增一个。"));
    return w;
}

QWidget* RuleEditors::positionEditor(Field<QString> sep, Field<NumberPosition> pos, QList<NumberPosition> offered,
                                     Field<int> customAt)
{
    QSpinBox* at = m_c.stepper(customAt, 0, 200, "after char ", "第 ", " 字符后", 160);
    m_c.onSync([at, get = pos.get] { at->setVisible(get() == NumberPosition::custom); });
    return row({m_c.textField(sep, "separator", "分隔符", 90), m_c.enumPicker(pos, offered, 0), at});
}

QWidget* RuleEditors::dateEditor()
{
    auto* w = new QWidget;
    auto* layout = column(w);
    layout->addWidget(row({plainLabel(m_c.tr(), "Source", "来源"),
                           m_c.enumPicker(m_c.rule(&RuleSettings::dateSource), casesOf<DateSource>(), 210)}));

    auto* formatLabel = plainLabel(m_c.tr(), "Format", "格式");
    formatLabel->setFont(captionFont());
    setSecondary(formatLabel);
    auto* presets = new QToolButton;
    presets->setObjectName("dateFormatPresets");
    presets->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(presets);
    for (const QString& format : dateFormatPresets())
        menu->addAction(format, menu, [&store = m_c.store(), format] {
            store.editRules([&](RuleSettings& r) { r.dateFormat = format; });
        });
    presets->setMenu(menu);
    m_c.tr().bindText(presets, "Presets", "预设");
    QLineEdit* format = m_c.textField(m_c.rule(&RuleSettings::dateFormat), "yyyy-MM-dd", "yyyy-MM-dd", 150);
    layout->addWidget(row({formatLabel, format, presets}));

    layout->addWidget(positionEditor(m_c.rule(&RuleSettings::dateSep), m_c.rule(&RuleSettings::datePos),
                                     {NumberPosition::suffix, NumberPosition::prefix, NumberPosition::replace,
                                      NumberPosition::custom},
                                     m_c.rule(&RuleSettings::dateCustomAt)));

    auto* extract = new QPushButton(symbolIcon("calendar.badge.clock"), {});
    extract->setObjectName("extractCaptureDates");
    m_c.tr().bindText(extract, "Extract capture dates", "提取拍摄/创建日期");
    QObject::connect(extract, &QPushButton::clicked, extract,
                     [&store = m_c.store()] { startCaptureDateWork(store, false); });
    auto* spinner = new QProgressBar;
    spinner->setRange(0, 0);
    spinner->setMaximumSize(40, 10);
    spinner->setTextVisible(false);
    QWidget* captureRow = row({extract, spinner});
    QLabel* captureHelp =
        m_c.smallHelp("Reads EXIF (photos) / creation date (videos); falls back to file modified date.",
                      "读取 EXIF(照片)/创建日期(视频),无则回退文件修改时间。");
    layout->addWidget(captureRow);
    layout->addWidget(captureHelp);
    m_c.onSync([&store = m_c.store(), extract, spinner, captureRow, captureHelp] {
        const bool capture = store.rules().dateSource == DateSource::capture;
        captureRow->setVisible(capture);
        captureHelp->setVisible(capture);
        extract->setEnabled(!store.items().isEmpty() && !store.activity().dateBusy);
        spinner->setVisible(store.activity().dateBusy);
    });

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    auto* stamp = new QPushButton(symbolIcon("clock.arrow.2.circlepath"), {});
    stamp->setObjectName("setFileDates");
    m_c.tr().bindText(stamp, "Set file date from capture date", "把文件日期设为拍摄日期");
    QObject::connect(stamp, &QPushButton::clicked, stamp,
                     [&store = m_c.store()] { startCaptureDateWork(store, true); });
    m_c.onSync([&store = m_c.store(), stamp] { stamp->setEnabled(!store.items().isEmpty()); });
    layout->addWidget(row({stamp}));
    layout->addWidget(
        m_c.smallHelp("Writes each file's created & modified date to its photo/video capture date (no rename).",
                      "把每个文件的创建/修改时间改为其拍摄/创建日期(不改名)。"));
    return w;
}
