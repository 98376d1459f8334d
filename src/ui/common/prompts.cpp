#include "prompts.h"

#include "dialogs.h"
#include "platform/lang.h"

std::optional<QString> promptText(Dialogs& dialogs, const QString& title, const QString& message,
                                  const QString& initialText)
{
    Dialogs::TextPrompt p;
    p.title = title;
    p.message = message;
    p.text = initialText;
    p.okText = L("OK", "好");
    p.cancelText = L("Cancel", "取消");
    const auto answer = dialogs.promptText(p);
    if (!answer)
        return std::nullopt;
    return answer->trimmed();
}

std::optional<CustomColumnAnswer> promptCustomColumn(Dialogs& dialogs)
{
    Dialogs::TextPrompt p;
    p.title = L("Add custom column", "添加自定义列");
    p.message = L("Column name and type:", "列名与类型:");
    p.okText = L("OK", "好");
    p.cancelText = L("Cancel", "取消");
    const auto answer = dialogs.promptTextAndCheck(p, L("Checkbox (yes / no) field", "复选框(是 / 否)字段"));
    if (!answer)
        return std::nullopt;
    const QString name = answer->text.trimmed();
    if (name.isEmpty())
        return std::nullopt;
    return CustomColumnAnswer{name, answer->checked};
}
