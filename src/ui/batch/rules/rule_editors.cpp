// The editors inside the eleven rule cards. Each binds its controls to the rule's settings.
#include "common/icons.h"
#include "model/store.h"
#include "platform/lang.h"
#include "rules_form.h"
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

QLabel* plainLabel(LangBinder& tr, const char* en, const char* zh)
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
}  // namespace

QWidget* RulesForm::findReplaceEditor()
{
    auto* w = new QWidget;
    auto* layout = column(w);
    auto* arrow = new QLabel;
    arrow->setPixmap(symbolIcon("arrow.right").pixmap(14, 14));
    setSecondary(arrow);
    auto* fieldsRow = new QWidget;
    auto* fields = new QHBoxLayout(fieldsRow);
    fields->setContentsMargins(0, 0, 0, 0);
    fields->addWidget(textField(rule(&RuleSettings::find), "find", "查找"), 1);
    fields->addWidget(arrow);
    fields->addWidget(textField(rule(&RuleSettings::replace), "replace", "替换为"), 1);
    layout->addWidget(fieldsRow);

    auto* help = new QToolButton;
    help->setObjectName("regexHelpButton");
    help->setAutoRaise(true);
    help->setIcon(symbolIcon("questionmark.circle"));
    if (help->icon().isNull())
        help->setText("?");
    m_tr.bind(help, [help] {
        help->setAccessibleName(L("Regex help", "正则帮助"));
        help->setToolTip(L("Regex help & examples", "正则用法与示例"));
    });
    connect(help, &QToolButton::clicked, this, &RulesForm::showRegexHelp);
    layout->addWidget(row({checkBox(rule(&RuleSettings::useRegex), "Regular expression", "正则表达式", true), help}));
    layout->addWidget(smallHelp(
        "Tip: # inserts the sequential number. In regex, use capture groups: find (\\d{4})(\\d{2}) → replace $1-$2.",
        "提示:# 插入序号。正则可用捕获组:查找 (\\d{4})(\\d{2}) → 替换 $1-$2。"));
    return w;
}

QWidget* RulesForm::deleteEditor(bool before)
{
    auto* w = new QWidget;
    auto* layout = column(w);
    if (before) {
        layout->addWidget(textField(rule(&RuleSettings::delBefore), "marker — everything before it is removed",
                                    "标记 —— 删除它前面的所有内容"));
        layout->addWidget(
            checkBox(rule(&RuleSettings::delBeforeIncl), "Also delete the marker itself", "同时删除标记本身", true));
    } else {
        layout->addWidget(textField(rule(&RuleSettings::delAfter), "marker — everything after it is removed",
                                    "标记 —— 删除它后面的所有内容"));
        layout->addWidget(
            checkBox(rule(&RuleSettings::delAfterIncl), "Also delete the marker itself", "同时删除标记本身", true));
    }
    return w;
}

QWidget* RulesForm::removeEditor()
{
    return textField(rule(&RuleSettings::removeStr), "string to remove (all occurrences)", "要删除的字符串(全部出现)");
}

QWidget* RulesForm::caseEditor()
{
    return row(
        {plainLabel(m_tr, "Case", "大小写"), enumPicker(rule(&RuleSettings::caseMode), casesOf<CaseMode>(), 160)});
}

QWidget* RulesForm::truncateEditor()
{
    return row({enumPicker(rule(&RuleSettings::keepSide), casesOf<KeepSide>(), 90),
                stepper(rule(&RuleSettings::keepN), 1, 100, "keep ", "保留 ", " 位")});
}

QWidget* RulesForm::whitespaceEditor()
{
    return row({plainLabel(m_tr, "Whitespace", "空格处理"),
                enumPicker(rule(&RuleSettings::spaceMode), casesOf<SpaceMode>(), 160)});
}

QWidget* RulesForm::prefixEditor()
{
    return textField(rule(&RuleSettings::prefixText), "prefix", "前缀");
}

QWidget* RulesForm::suffixEditor()
{
    return textField(rule(&RuleSettings::suffixText), "suffix (before extension)", "后缀(扩展名之前)");
}

QWidget* RulesForm::numberEditor()
{
    auto* w = new QWidget;
    auto* layout = column(w);
    layout->addWidget(row(
        {plainLabel(m_tr, "Format", "格式"), enumPicker(rule(&RuleSettings::numFormat), casesOf<NumberFormat>(), 150),
         plainLabel(m_tr, "Order", "顺序"), enumPicker(rule(&RuleSettings::numDir), casesOf<NumberDir>(), 150)}));
    QSpinBox* pad = stepper(rule(&RuleSettings::numPad), 0, 8, "pad ", "补零 ", "", 110);
    pad->setObjectName("numPad");
    onSync([this, pad] { pad->setEnabled(m_store.rules().numFormat == NumberFormat::digit); });
    layout->addWidget(row({stepper(rule(&RuleSettings::numStart), 0, 100000, "start ", "起始 ", "", 130), pad}));
    layout->addWidget(positionEditor(rule(&RuleSettings::numSep), rule(&RuleSettings::numPos),
                                     casesOf<NumberPosition>(), rule(&RuleSettings::numCustomAt)));
    QLabel* customHelp = smallHelp("Counted from the start of each file's name (before the extension). Longer/shorter "
                                   "names are clamped, not skipped.",
                                   "从每个文件名开头(扩展名之前)数起。名字比这个位置短就插在末尾,不会跳过。");
    onSync([this, customHelp] { customHelp->setVisible(m_store.rules().numPos == NumberPosition::custom); });
    layout->addWidget(customHelp);
    layout->addWidget(smallHelp(
        "Number follows the list order above — reorder files to control it. Padding applies to digits only. "
        "“Renumber existing” replaces the first number already in the name (e.g. Scene_007 → Scene_012) instead "
        "of adding a new one.",
        "序号按上方列表顺序编排 —— 拖动文件即可调整。补零仅对数字有效。「重新编号」会替换名字里已有的第一个数字(如 "
        "Scene_007→Scene_012),而不是新增一个。"));
    return w;
}

QWidget* RulesForm::positionEditor(Field<QString> sep, Field<NumberPosition> pos, QList<NumberPosition> offered,
                                   Field<int> customAt)
{
    QSpinBox* at = stepper(customAt, 0, 200, "after char ", "第 ", " 字符后", 160);
    onSync([at, get = pos.get] { at->setVisible(get() == NumberPosition::custom); });
    return row({textField(sep, "separator", "分隔符", 90), enumPicker(pos, offered, 0), at});
}

QWidget* RulesForm::dateEditor()
{
    auto* w = new QWidget;
    auto* layout = column(w);
    layout->addWidget(row(
        {plainLabel(m_tr, "Source", "来源"), enumPicker(rule(&RuleSettings::dateSource), casesOf<DateSource>(), 210)}));

    auto* formatLabel = plainLabel(m_tr, "Format", "格式");
    formatLabel->setFont(captionFont());
    setSecondary(formatLabel);
    auto* presets = new QToolButton;
    presets->setObjectName("dateFormatPresets");
    presets->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(presets);
    for (const QString& format : dateFormatPresets())
        menu->addAction(format, this,
                        [this, format] { m_store.editRules([&](RuleSettings& r) { r.dateFormat = format; }); });
    presets->setMenu(menu);
    m_tr.bindText(presets, "Presets", "预设");
    QLineEdit* format = textField(rule(&RuleSettings::dateFormat), "yyyy-MM-dd", "yyyy-MM-dd", 150);
    layout->addWidget(row({formatLabel, format, presets}));

    layout->addWidget(positionEditor(rule(&RuleSettings::dateSep), rule(&RuleSettings::datePos),
                                     {NumberPosition::suffix, NumberPosition::prefix, NumberPosition::replace,
                                      NumberPosition::custom},
                                     rule(&RuleSettings::dateCustomAt)));

    auto* extract = new QPushButton(symbolIcon("calendar.badge.clock"), {});
    extract->setObjectName("extractCaptureDates");
    m_tr.bindText(extract, "Extract capture dates", "提取拍摄/创建日期");
    connect(extract, &QPushButton::clicked, this, [this] { startCaptureDateWork(false); });
    auto* spinner = new QProgressBar;
    spinner->setRange(0, 0);
    spinner->setMaximumSize(40, 10);
    spinner->setTextVisible(false);
    QWidget* captureRow = row({extract, spinner});
    QLabel* captureHelp = smallHelp("Reads EXIF (photos) / creation date (videos); falls back to file modified date.",
                                    "读取 EXIF(照片)/创建日期(视频),无则回退文件修改时间。");
    layout->addWidget(captureRow);
    layout->addWidget(captureHelp);
    onSync([this, extract, spinner, captureRow, captureHelp] {
        const bool capture = m_store.rules().dateSource == DateSource::capture;
        captureRow->setVisible(capture);
        captureHelp->setVisible(capture);
        extract->setEnabled(!m_store.items().isEmpty() && !m_store.activity().dateBusy);
        spinner->setVisible(m_store.activity().dateBusy);
    });

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    auto* stamp = new QPushButton(symbolIcon("clock.arrow.2.circlepath"), {});
    stamp->setObjectName("setFileDates");
    m_tr.bindText(stamp, "Set file date from capture date", "把文件日期设为拍摄日期");
    connect(stamp, &QPushButton::clicked, this, [this] { startCaptureDateWork(true); });
    onSync([this, stamp] { stamp->setEnabled(!m_store.items().isEmpty()); });
    layout->addWidget(row({stamp}));
    layout->addWidget(
        smallHelp("Writes each file's created & modified date to its photo/video capture date (no rename).",
                  "把每个文件的创建/修改时间改为其拍摄/创建日期(不改名)。"));
    return w;
}
