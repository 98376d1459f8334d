#include "ai_name.h"

#include "platform/lang.h"

#include <QMetaObject>
#include <QObject>

namespace AIName {

Availability availability() { return Availability::unavailable; }

QString unavailableMessage() { return unavailableMessage(availability()); }

QString unavailableMessage(Availability state)
{
    switch (state) {
    case Availability::available: return {};
    case Availability::notEligible:
        return L("AI unavailable: this computer can't run the language model.",
                 "AI 不可用:此电脑无法运行语言模型。");
    case Availability::notEnabled:
        return L("AI unavailable: start a local language model server.",
                 "AI 不可用:请启动本机语言模型服务。");
    case Availability::notReady:
        return L("AI model is still downloading. Try again later.", "AI 模型正在下载,请稍后再试。");
    case Availability::unavailable: return L("AI is currently unavailable.", "AI 当前不可用。");
    case Availability::unsupportedOS:
        return L("AI naming needs a local language model server.", "AI 命名需要本机语言模型服务。");
    }
    return {};
}

void contentText(const QString&, QObject* context, std::function<void(std::optional<QString>)> done)
{
    QMetaObject::invokeMethod(context, [done = std::move(done)] { done(std::nullopt); }, Qt::QueuedConnection);
}

void suggestName(const QString&, const QString&, QObject* context, std::function<void(std::optional<QString>)> done)
{
    QMetaObject::invokeMethod(context, [done = std::move(done)] { done(std::nullopt); }, Qt::QueuedConnection);
}

} // namespace AIName
