#include "ai_naming_runner.h"

#include "ai/ai_name.h"
#include "model/store.h"
#include "platform/lang.h"

AINamingRunner::AINamingRunner(Store& store, QObject* parent) : QObject(parent), m_store(store)
{
    setServices({});
}

void AINamingRunner::setServices(Services services)
{
    if (!services.availability)
        services.availability = [] { return AIName::availability(); };
    if (!services.contentText)
        services.contentText = AIName::contentText;
    if (!services.suggestName)
        services.suggestName = AIName::suggestName;
    m_services = std::move(services);
}

void AINamingRunner::run()
{
    if (m_running)
        return;
    const AIName::Availability state = m_services.availability();
    if (state != AIName::Availability::available) {
        m_store.setStatus(AIName::unavailableMessage(state));
        return;
    }
    if (m_store.items().isEmpty())
        return;
    m_running = true;
    m_store.editActivity([](Activity& a) {
        a.aiBusy = true;
        a.aiStopRequested = false;
    });
    m_ids.clear();
    for (const FileItem& item : m_store.items())
        m_ids << item.id;
    m_index = 0;
    m_named = 0;
    m_skipped = 0;
    next();
}

void AINamingRunner::stop()
{
    m_store.editActivity([](Activity& a) { a.aiStopRequested = true; });
}

const FileItem* AINamingRunner::itemById(const QUuid& id) const
{
    for (const FileItem& item : m_store.items())
        if (item.id == id)
            return &item;
    return nullptr;
}

void AINamingRunner::next()
{
    const int n = int(m_ids.size());
    for (; m_index < n; ++m_index) {
        if (m_store.activity().aiStopRequested)
            return finish(true);
        const QString progress = QString::number(m_index + 1) + '/' + QString::number(n);
        m_store.editActivity([&](Activity& a) { a.aiProgress = progress; });
        const QUuid id = m_ids.at(m_index);
        const FileItem* item = itemById(id);
        if (!item)
            continue;  // removed before its turn: counts nowhere
        m_services.contentText(item->url, this, [this, id](std::optional<QString> text) {
            if (!text) {
                ++m_skipped;
                ++m_index;
                return next();
            }
            askName(id, *text);
        });
        return;
    }
    finish(false);
}

void AINamingRunner::askName(const QUuid& id, const QString& text)
{
    const QString language = promptName(m_store.sections().aiLang);
    m_services.suggestName(text, language, this, [this, id](std::optional<QString> answer) {
        store(id, std::move(answer));
        ++m_index;
        next();
    });
}

void AINamingRunner::store(const QUuid& id, std::optional<QString> answer)
{
    if (!answer || !itemById(id)) {
        ++m_skipped;
        return;
    }
    auto edit = [&](auto change) {
        m_store.editItems([&](QList<FileItem>& items) {
            for (FileItem& item : items)
                if (item.id == id) {
                    change(item);
                    break;
                }
        });
    };
    edit([&](FileItem& item) { item.aiName = *answer; });
    edit([](FileItem& item) { item.useAI = true; });
    ++m_named;
}

void AINamingRunner::finish(bool stopped)
{
    const bool zh = m_store.langZh();
    const QString named = QString::number(m_named);
    const QString skipped = QString::number(m_skipped);
    m_store.editSections([&](NameSections& s) { s.useAIName = m_named > 0; });
    if (m_skipped == 0)
        m_store.setStatus(L(zh, "AI named ", "AI 命名 ") + named + L(zh, " file(s)", " 个") + L(zh, ".", "。"));
    else
        m_store.setStatus(L(zh, "AI named ", "AI 命名 ") + named + L(zh, " file(s)", " 个") + L(zh, ", ", ",跳过 ")
                          + skipped + L(zh, " skipped (no readable text).", " 个(无可读文本)。"));
    if (stopped) {
        const QString rest = QString::number(m_ids.size() - m_index);
        m_store.setStatus(L(zh, "Stopped. AI named ", "已停止。AI 命名 ") + named + L(zh, " file(s); ", " 个,剩余 ")
                          + rest + L(zh, " not done.", " 个未处理。"));
    }
    m_store.editActivity([](Activity& a) {
        a.aiBusy = false;
        a.aiProgress.clear();
    });
    m_running = false;
    m_ids.clear();
    emit finished();
}
