#include "section_editors.h"

#include "common/icons.h"
#include "model/name_preview.h"
#include "model/store.h"
#include "model/token_template.h"
#include "platform/lang.h"
#include "rules_style.h"
#include "smartrename/smart_rename_style_picker.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
QVBoxLayout* column(QWidget* w)
{
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    return layout;
}

const char* const kTokenList =
    "%scene %shot %take %title %author %keywords %city %name %n %ext … (any column on the row)";
}  // namespace

QWidget* SectionEditors::templateEditor()
{
    auto* w = new QWidget;
    auto* layout = column(w);
    layout->addWidget(
        m_c.textField(m_c.section(&NameSections::templateText), "%scene_%shot_%take", "%scene_%shot_%take"));

    m_templateWarning = new QWidget;
    m_templateWarning->setObjectName("templateWarning");
    auto* warnRow = new QHBoxLayout(m_templateWarning);
    warnRow->setContentsMargins(0, 0, 0, 0);
    warnRow->setSpacing(4);
    auto* icon = new QLabel;
    icon->setPixmap(symbolIcon("exclamationmark.triangle.fill").pixmap(12, 12));
    m_templateWarningText = new QLabel;
    m_templateWarningText->setTextFormat(Qt::PlainText);
    m_templateWarningText->setWordWrap(true);
    m_templateWarningText->setFont(caption2Font());
    setWarningColour(m_templateWarningText);
    warnRow->addWidget(icon, 0, Qt::AlignTop);
    warnRow->addWidget(m_templateWarningText, 1);
    m_templateWarning->hide();
    layout->addWidget(m_templateWarning);

    layout->addWidget(m_c.smallHelp([] {
        return L("Tokens: ", "可用 token:") + QString::fromUtf8(kTokenList)
             + L(" … and every Bin logging/technical field name — either as shown (e.g. %Camera Roll) or lowercased "
                 "with spaces as underscores (%camera_roll), both work. Uses whatever's already in each file's "
                 "Metadata — visit the Metadata tab first if a field comes out blank.",
                 " … 以及 Bin 里所有场记/技术列的名字——直接照表头写(如 %Camera "
                 "Roll)或者小写加下划线(%camera_roll)都可以。"
                 "用的是每个文件当前已有的元数据 —— 如果某个字段是空的,先去 Metadata 页看一眼该文件。");
    }));
    return w;
}

void SectionEditors::updateTemplateWarning()
{
    if (!m_templateWarning)
        return;
    const QStringList tokens = unrecognizedTemplateTokens();
    m_templateWarning->setVisible(!tokens.isEmpty());
    if (tokens.isEmpty())
        return;
    m_templateWarningText->setText(
        L("Unrecognized: ", "无法识别:") + tokens.join(L(", ", "、"))
        + L(" (checked against the first file) — left as literal text.", "(按第一个文件检查)—— 会按原文字显示。"));
}

QWidget* SectionEditors::smartRenameSection()
{
    auto* w = new QWidget;
    auto* layout = column(w);
    auto* caption = new QLabel;
    m_c.tr().bindText(caption, "Naming preset", "命名预制");
    auto* picker = new SmartRenameStylePicker(m_c.store(), false);
    picker->setFixedWidth(340);
    auto* top = new QWidget;
    auto* topRow = new QHBoxLayout(top);
    topRow->setContentsMargins(0, 0, 0, 0);
    topRow->addWidget(caption);
    topRow->addWidget(picker);
    topRow->addStretch(1);
    layout->addWidget(top);
    layout->addWidget(m_c.smallHelp(
        "FINISHING keeps SpotName/CutType in TitleCase (WelcomeBack_Sizzle). POSTING renders them in ALL CAPS "
        "(WELCOMEBACK_SIZZLE) for broadcast traffic/delivery. Production Code is always uppercase either way.",
        "FINISHING:片名/片型保持首字母大写(WelcomeBack_Sizzle)。POSTING:片名/片型全部大写(WELCOMEBACK_SIZZLE),"
        "用于送播/交付。Production Code 两种预制下都始终大写。"));
    layout->addWidget(m_c.smallHelp(
        "Rebuilds each name as CODE_SpotName_CutType_Timing_V# from whatever's already in the filename — recognizes "
        "cut types (Trlr, Tsr, Sizzle, Featurette, Radio, Misc, Stringout, Select, Graphic, Clip, and "
        "Digital<width>x<height> for ANY resolution, e.g. Digital4x5 or Digital2037x7384), a version like V2, and a "
        "bare or \"TV\"/\"AV\"-prefixed timing number. Anything after the version number is dropped as a trailing "
        "note. See the “Smart Rename” tab to preview many names at once before committing.",
        "从文件名里已有的内容重新拼出 代码_片名_片型_时长_V版本号 —— 能识别片型(Trlr、Tsr、Sizzle、Featurette、Radio、"
        "Misc、Stringout、Select、Graphic、Clip,以及任意分辨率的 Digital<宽>x<高>,比如 Digital4x5 或 "
        "Digital2037x7384)、V2 这样的版本号,以及裸数字或 TV/AV 开头的时长。版本号之后的内容会被当作无意义尾缀丢弃。"
        "想批量预览效果,去「智能改名」页签。"));
    return w;
}

QWidget* SectionEditors::extensionEditor()
{
    auto* w = new QWidget;
    auto* layout = column(w);
    layout->addWidget(
        m_c.textField(m_c.section(&NameSections::extText), "new extension, no dot", "新扩展名,不带点", 180));
    layout->addWidget(m_c.smallHelp(
        "Renames the file type — the file's actual contents aren't converted. Governed by the “Apply to” scope "
        "below the file list.",
        "只改文件类型后缀,不会转换文件本身的内容格式。受下方文件列表的「应用范围」控制。"));
    return w;
}

QStringList SectionEditors::unrecognizedTemplateTokens() const
{
    const Store& store = m_c.store();
    const NameSections& s = store.sections();
    if (!s.templateEnabled || s.templateText.isEmpty() || store.items().isEmpty())
        return {};
    const FileItem& first = store.items().first();
    return expandTemplate(s.templateText, templateTokens(0, store.preview().templateRow(first))).unresolved;
}
