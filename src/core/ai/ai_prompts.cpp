// The three questions put to the model and the clean-up of its answers.
#include "ai_prompts.h"

#include "ai/ai_name.h"
#include "model/rule_engine.h"

namespace AIName {

namespace {

constexpr qsizetype promptChars = 1500;
constexpr qsizetype nameChars = 60;

// Local reasoning models open their answer with their thinking; only what follows is the
// answer. An unclosed block means the answer never came.
QString withoutReasoning(const QString& answer)
{
    static const QString open = QStringLiteral("<think>");
    static const QString close = QStringLiteral("</think>");
    const QString start = answer.trimmed();
    if (!start.startsWith(open, Qt::CaseInsensitive))
        return answer;
    const qsizetype end = start.indexOf(close, open.size(), Qt::CaseInsensitive);
    return end < 0 ? QString() : start.mid(end + close.size());
}

// Control characters have no place in a name or a table cell; line breaks stay for the
// first-line rule, and a tab separates words like a blank.
QString withoutControls(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == '\t')
            out += ' ';
        else if (c == '\n' || c == '\r' || c.category() != QChar::Other_Control)
            out += c;
    }
    return out;
}

QString trimSet(const QString& text, QStringView set)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && set.contains(text.at(from)))
        ++from;
    while (to > from && set.contains(text.at(to - 1)))
        --to;
    return text.mid(from, to - from);
}

bool isInlineSpace(QChar c)
{
    return c == '\t' || c.category() == QChar::Separator_Space;
}

QString trimInlineSpace(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isInlineSpace(text.at(from)))
        ++from;
    while (to > from && isInlineSpace(text.at(to - 1)))
        --to;
    return text.mid(from, to - from);
}

std::optional<QString> nonEmpty(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

}  // namespace

QString nameInstructions(const QString& language)
{
    return QStringLiteral("You create a concise, descriptive filename (without extension) from the file content. ")
         + QStringLiteral("Write the filename entirely in ")
         + (language.isEmpty() ? QStringLiteral("the same language as the content") : language)
         + QStringLiteral(", translating the meaning if the content is in another language. ")
         + QStringLiteral("Use 2 to 6 words, no file extension, no quotes, no trailing punctuation. Reply with only "
                          "the filename.");
}

QString classifyInstructions(bool chinese)
{
    if (chinese)
        return QString::fromUtf8(
            "把文件归入一个简短的类别(1-4个字),例如:"
            "发票、收据、合同、报告、照片、截图、证件、信函、演示文稿、表格、代码、其他。只回类别名。");
    return QStringLiteral(
        "Classify the file into ONE short category (one or two words), e.g. Invoice, Receipt, Contract, "
        "Report, Photo, Screenshot, ID Document, Letter, Presentation, Spreadsheet, Code, Other. "
        "Reply with only the category.");
}

QString translateInstructions(const QString& language)
{
    return QStringLiteral("Translate the given text into ") + language
         + QStringLiteral(". Reply with only the translation, no quotes, no explanation.");
}

QString contentPrompt(const QString& text)
{
    return QStringLiteral("File content:\n") + text.left(graphemeOffset(text, promptChars));
}

QString cleanAnswer(const QString& answer)
{
    QString s = withoutControls(withoutReasoning(answer)).trimmed();
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i) == '\n' || s.at(i) == '\r') {
            s.truncate(i);
            break;
        }
    }
    s = trimSet(s, u"\"'`\u3002.\u201C\u201D\u300C\u300D\u300A\u300B");
    for (QChar& c : s)
        if (QStringView(u"/\\:*?\"<>|").contains(c))
            c = '_';
    s = s.split(' ', Qt::SkipEmptyParts).join(' ');
    if (graphemeCount(s) <= nameChars)
        return s;
    return trimInlineSpace(s.left(graphemeOffset(s, nameChars)));
}

std::optional<QString> cleanTranslation(const QString& answer)
{
    return nonEmpty(trimSet(withoutReasoning(answer), u" \n\"'`\u3002"));
}

std::optional<QString> suggestNameNow(const QString& text, const QString& language)
{
    const auto answer = ModelServer::chat(serverConfig(), nameInstructions(language), contentPrompt(text));
    return answer ? nonEmpty(cleanAnswer(*answer)) : std::nullopt;
}

std::optional<QString> classifyNow(const QString& text, bool chinese)
{
    const auto answer = ModelServer::chat(serverConfig(), classifyInstructions(chinese), contentPrompt(text));
    return answer ? nonEmpty(cleanAnswer(*answer)) : std::nullopt;
}

std::optional<QString> translateNow(const QString& text, const QString& language)
{
    const QString input = text.trimmed();
    if (input.isEmpty())
        return QString();
    const auto answer = ModelServer::chat(serverConfig(), translateInstructions(language), input);
    return answer ? cleanTranslation(*answer) : std::nullopt;
}

}  // namespace AIName
