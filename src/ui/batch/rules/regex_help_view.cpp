#include "regex_help_view.h"

#include "common/done_button.h"
#include "platform/lang.h"
#include "rules_style.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

QList<RegexHelpView::Token> RegexHelpView::makeTokens()
{
    return {
        {".", L("any single character", "任意单个字符")},
        {"\\d", L("a digit 0-9", "数字 0-9")},
        {"\\w", L("a word character (letter/digit/_)", "单词字符(字母/数字/_)")},
        {"\\s", L("a whitespace", "空白字符")},
        {"+", L("one or more of the previous", "前一项一个或多个")},
        {"*", L("zero or more", "零个或多个")},
        {"?", L("zero or one", "零个或一个")},
        {"{n}", L("exactly n times, e.g. \\d{4}", "恰好 n 次,如 \\d{4}")},
        {"[abc]", L("any of a, b, c", "a、b、c 中任一")},
        {"[^abc]", L("anything except a, b, c", "除 a、b、c 外任意")},
        {"^ $", L("start / end of the name", "名字开头 / 结尾")},
        {"(...)", L("capture group → use $1, $2 in replace", "捕获组 → 在替换里用 $1、$2")},
    };
}

QList<RegexHelpView::Example> RegexHelpView::makeExamples()
{
    return {
        {L("Reformat date", "重排日期"), "(\\d{4})(\\d{2})(\\d{2})", "$1-$2-$3"},
        {L("Swap two parts", "交换两段"), "(\\w+)_(\\w+)", "$2_$1"},
        {L("Remove all digits", "删除所有数字"), "\\d+", ""},
        {L("Keep only after last “-”", "只保留最后一个 - 之后"), ".*-", ""},
        {L("Collapse spaces to _", "空格并为 _"), "\\s+", "_"},
    };
}

namespace {
QLabel* plain(const QString& text)
{
    auto* l = new QLabel(text);
    l->setTextFormat(Qt::PlainText);
    return l;
}
}  // namespace

RegexHelpView::RegexHelpView(QWidget* parent) : QDialog(parent), m_tokens(makeTokens()), m_examples(makeExamples())
{
    setWindowModality(Qt::WindowModal);
    setWindowTitle(L("Regular Expression Help", "正则表达式用法"));
    setFixedWidth(460);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(12);

    QLabel* title = plain(L("Regular Expression Help", "正则表达式用法"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.25);
    big.setBold(true);
    title->setFont(big);
    column->addWidget(title);

    QLabel* intro = plain(L("In Find, write a pattern; in Replace, use $1, $2… for captured groups.",
                            "在「查找」里写模式;在「替换为」里用 $1、$2… 引用捕获组。"));
    intro->setWordWrap(true);
    intro->setFont(captionFont());
    setSecondary(intro);
    column->addWidget(intro);

    auto* tokenBox = new QGroupBox(L("Tokens", "记号"));
    auto* tokenList = new QVBoxLayout(tokenBox);
    tokenList->setSpacing(3);
    for (const Token& t : m_tokens) {
        auto* line = new QHBoxLayout;
        QLabel* token = plain(t.token);
        token->setFont(monoFont(0.95));
        token->setFixedWidth(70);
        QLabel* meaning = plain(t.meaning);
        setSecondary(meaning);
        line->addWidget(token, 0, Qt::AlignTop);
        line->addWidget(meaning, 1, Qt::AlignTop);
        tokenList->addLayout(line);
    }
    column->addWidget(tokenBox);

    auto* exampleBox = new QGroupBox(L("Examples (Find → Replace)", "示例(查找 → 替换)"));
    exampleBox->setObjectName("examples");
    auto* exampleList = new QVBoxLayout(exampleBox);
    exampleList->setSpacing(4);
    for (const Example& e : m_examples) {
        auto* block = new QVBoxLayout;
        block->setSpacing(1);
        QLabel* description = plain(e.description);
        description->setFont(captionFont());
        setSecondary(description);
        QLabel* pair = plain(e.find + QStringLiteral("  →  ")
                             + (e.replace.isEmpty() ? QStringLiteral("(empty)") : e.replace));
        pair->setObjectName("examplePair");
        pair->setFont(monoFont(0.95));
        pair->setTextInteractionFlags(Qt::TextSelectableByMouse);
        block->addWidget(description);
        block->addWidget(pair);
        exampleList->addLayout(block);
    }
    column->addWidget(exampleBox);

    column->addLayout(doneButton(this, [this] { accept(); }));
}
