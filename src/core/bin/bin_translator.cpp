#include "bin_translator.h"

#include "ai/ai_name.h"
#include "bin/bin_controller.h"
#include "model/store.h"
#include "platform/lang.h"

BinTranslator::BinTranslator(BinController& bin, Store& store) : m_bin(bin), m_store(store)
{
    setServices({});
}

void BinTranslator::setServices(Services services)
{
    if (!services.availability)
        services.availability = [] { return AIName::availability(); };
    if (!services.translate)
        services.translate = AIName::translate;
    m_services = std::move(services);
}

QString BinTranslator::targetLanguage(NameLang lang)
{
    const QString name = promptName(lang);
    return name.isEmpty() ? QStringLiteral("English") : name;
}

QString BinTranslator::menuTitle() const
{
    return L("Translate column → ", "翻译列 → ") + targetLanguage(m_store.sections().aiLang);
}

void BinTranslator::translateColumn(const QString& key)
{
    if (m_running || m_bin.busy())
        return;
    const AIName::Availability state = m_services.availability();
    if (state != AIName::Availability::available) {
        m_store.setStatus(AIName::unavailableMessage(state));
        return;
    }
    m_key = key;
    m_language = targetLanguage(m_store.sections().aiLang);
    m_running = true;
    m_bin.setBusy(true);
    m_bin.setStopRequested(false);
    m_work.clear();
    for (const BinRow& row : m_bin.rows())
        if (row.isEditable(key))
            m_work.append(row.id);
    m_index = 0;
    m_translated = 0;
    m_snapshotTaken = false;
    next();
}

int BinTranslator::indexOf(const QUuid& id) const
{
    const QList<BinRow>& rows = m_bin.rows();
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].id == id)
            return i;
    return -1;
}

// Rows are looked up by id before the request and again after it: the user may sort, edit or
// remove rows while the model answers.
void BinTranslator::next()
{
    for (; m_index < m_work.size(); ++m_index) {
        if (m_bin.stopRequested())
            break;
        const QUuid id = m_work.at(m_index);
        const int index = indexOf(id);
        if (index < 0)
            continue;
        const QString text = m_bin.rows().at(index).value(m_key);
        if (text.isEmpty())
            continue;
        m_services.translate(text, m_language, this, [this, id](std::optional<QString> answer) {
            const int at = answer ? indexOf(id) : -1;
            if (at >= 0) {
                // The whole run is one undo step, taken before its first cell.
                if (!m_snapshotTaken)
                    m_bin.pushToolSnapshot();
                m_snapshotTaken = true;
                m_bin.editRows([&](QList<BinRow>& rows) {
                    rows[at].setValue(*answer, m_key);
                    return QList<int>{at};
                });
                ++m_translated;
            }
            ++m_index;
            next();
        });
        return;
    }
    finish();
}

void BinTranslator::finish()
{
    const QString n = QString::number(m_translated);
    m_store.setStatus(L("Translated ", "已翻译 ") + n + L(" cell(s) to ", " 个单元格为 ") + m_language + L(".", "。"));
    m_running = false;
    m_work.clear();
    m_bin.setBusy(false);
    emit finished();
}
