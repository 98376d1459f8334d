#include "email/email_tab.h"

#include "email/email_builtins.h"
#include "model/store.h"
#include "platform/atomic_write.h"
#include "platform/lang.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kNewLine = QStringLiteral("- %corrected_name (was %original_name)");

int indexOf(const QList<EmailTemplate>& list, const QUuid& id)
{
    for (int i = 0; i < list.size(); ++i)
        if (list[i].id == id)
            return i;
    return -1;
}

}  // namespace

EmailTemplate EmailTab::TemplateAccess::get() const
{
    const QList<EmailTemplate>& list = m_store->email().emailTemplates;
    const int i = indexOf(list, m_snapshot.id);
    return i >= 0 ? list[i] : m_snapshot;
}

void EmailTab::TemplateAccess::set(const EmailTemplate& t) const
{
    QList<EmailTemplate> list = m_store->email().emailTemplates;
    const int i = indexOf(list, m_snapshot.id);
    if (i < 0)
        return;
    list[i] = t;
    m_store->setEmailTemplates(list);
}

template <typename F> void EmailTab::edit(F&& f)
{
    m_store.editEmailTab(std::forward<F>(f));
}

void EmailTab::setTemplates(const QList<EmailTemplate>& list)
{
    m_store.setEmailTemplates(list);
}

const EmailTabState& EmailTab::state() const
{
    return m_store.email().tab;
}

void EmailTab::enter()
{
    const QList<EmailTemplate>& list = m_store.email().emailTemplates;
    EmailTabState fresh;
    if (!list.isEmpty())
        fresh.selectedTemplateID = list.first().id;
    edit([&](EmailTabState& s) { s = fresh; });
    takePendingContexts();
}

std::optional<EmailTemplate> EmailTab::selectedTemplate() const
{
    const QList<EmailTemplate>& list = m_store.email().emailTemplates;
    if (list.isEmpty())
        return std::nullopt;
    if (const auto& id = state().selectedTemplateID) {
        const int i = indexOf(list, *id);
        if (i >= 0)
            return list[i];
    }
    return list.first();
}

std::optional<EmailTab::TemplateAccess> EmailTab::templateBinding() const
{
    const auto t = selectedTemplate();
    if (!t)
        return std::nullopt;
    return TemplateAccess(m_store, *t);
}

void EmailTab::select(const std::optional<QUuid>& id)
{
    edit([&](EmailTabState& s) { s.selectedTemplateID = id; });
}

void EmailTab::setShowEditor(bool on)
{
    edit([&](EmailTabState& s) { s.showEditor = on; });
}

void EmailTab::setNewFieldName(const QString& text)
{
    edit([&](EmailTabState& s) { s.newFieldName = text; });
}

void EmailTab::setCustomValue(const QString& field, const QString& value)
{
    edit([&](EmailTabState& s) { s.customValues.insert(field, value); });
}

void EmailTab::setBatchResult(const QString& text)
{
    edit([&](EmailTabState& s) { s.batchResult = text; });
}

void EmailTab::setResultText(const QUuid& resultId, const QString& text)
{
    edit([&](EmailTabState& s) {
        for (RenderedEmail& r : s.perFileResults)
            if (r.id == resultId)
                r.text = text;
    });
}

bool EmailTab::canGenerate() const
{
    return selectedTemplate() && !state().contexts.isEmpty();
}

bool EmailTab::canClear() const
{
    const EmailTabState& s = state();
    return !s.contexts.isEmpty() || !s.batchResult.isEmpty() || !s.perFileResults.isEmpty()
        || !s.customValues.isEmpty();
}

void EmailTab::generate()
{
    const auto t = selectedTemplate();
    if (!t || state().contexts.isEmpty())
        return;
    // One date for the whole rendering, so a batch never straddles midnight.
    const QString date = emailDate();
    edit([&](EmailTabState& s) {
        if (t->mode == EmailTemplate::Mode::perFile) {
            s.batchResult.clear();
            s.perFileResults.clear();
            for (const EmailFileContext& c : s.contexts)
                s.perFileResults << RenderedEmail{QUuid::createUuid(), c.correctedName,
                                                  t->renderPerFile(c, s.customValues, date)};
        } else {
            s.batchResult = t->renderBatch(s.contexts, s.customValues, date);
            s.perFileResults.clear();
        }
    });
}

void EmailTab::clearResults()
{
    edit([](EmailTabState& s) {
        s.contexts.clear();
        s.sourceLabel.clear();
        s.customValues.clear();
        s.batchResult.clear();
        s.perFileResults.clear();
    });
}

void EmailTab::takePendingContexts()
{
    const auto pending = m_store.email().pendingEmailContexts;
    if (!pending) {
        if (state().contexts.isEmpty())
            useLoadedFiles();
        return;
    }
    const qsizetype n = pending->size();
    const QString label = L(QStringLiteral("Using %1 file(s) from Smart Rename").arg(n),
                            QStringLiteral("使用来自智能改名的 %1 个文件").arg(n));
    // Consumed before anything else is published, so a screen that takes hand-overs as they
    // arrive does not take this one a second time.
    m_store.setPendingEmailContexts(std::nullopt);
    edit([&](EmailTabState& s) {
        s.contexts = *pending;
        s.sourceLabel = label;
    });

    const EmailTemplate::Mode wanted = n == 1 ? EmailTemplate::Mode::perFile : EmailTemplate::Mode::batch;
    const auto current = selectedTemplate();
    if (!current || current->mode != wanted) {
        for (const EmailTemplate& t : m_store.email().emailTemplates) {
            if (t.mode == wanted) {
                select(t.id);
                break;
            }
        }
    }
    generate();
}

void EmailTab::useLoadedFiles()
{
    const NameSections& sections = m_store.sections();
    const SmartSettings& smart = m_store.smart();
    QList<EmailFileContext> contexts;
    for (const FileItem& item : m_store.items())
        contexts << EmailFileContext::fromFile(item, sections.smartRenameStyle, smart.customCutTypes,
                                               smart.customNamingConfig, smart.learnedWordSplits);
    const QString label = contexts.isEmpty() ? L("No files loaded.", "还没有加载文件。")
                                             : L(QStringLiteral("Using %1 loaded file(s)").arg(contexts.size()),
                                                 QStringLiteral("使用 %1 个已加载文件").arg(contexts.size()));
    edit([&](EmailTabState& s) {
        s.contexts = contexts;
        s.sourceLabel = label;
    });
}

void EmailTab::newTemplate()
{
    const EmailTemplate t{
        QUuid::createUuid(), L("New Template", "新模板"), EmailTemplate::Mode::batch, kNewLine, {}, {}};
    setTemplates(m_store.email().emailTemplates + QList<EmailTemplate>{t});
    edit([&](EmailTabState& s) {
        s.selectedTemplateID = t.id;
        s.showEditor = true;
    });
}

void EmailTab::duplicateTemplate(const EmailTemplate& original)
{
    EmailTemplate copy = original;
    copy.id = QUuid::createUuid();
    copy.name = original.name + QLatin1Char(' ') + L("Copy", "副本");
    setTemplates(m_store.email().emailTemplates + QList<EmailTemplate>{copy});
    select(copy.id);
}

void EmailTab::deleteTemplate(const QUuid& id)
{
    // A copy: the caller's id may live in the list this replaces.
    const QUuid target = id;
    QList<EmailTemplate> list = m_store.email().emailTemplates;
    list.removeIf([&](const EmailTemplate& t) { return t.id == target; });
    setTemplates(list);
    select(list.isEmpty() ? std::nullopt : std::optional<QUuid>(list.first().id));
}

std::optional<QList<EmailTemplate>> EmailTab::importedTemplates(const QByteArray& data)
{
    auto list = decodeEmailTemplates(data);
    if (!list || list->isEmpty())
        return std::nullopt;
    for (EmailTemplate& t : *list) {
        t.id = QUuid::createUuid();
        // A field name written with capitals or blanks could never be filled: tokens are
        // matched in lower case with "_" for blanks.
        QStringList fields;
        for (const QString& f : t.customFields) {
            const QString name = normalizeCustomFieldName(f);
            if (!name.isEmpty())
                fields << name;
        }
        t.customFields = fields;
    }
    return list;
}

void EmailTab::importTemplates(const QString& path)
{
    QFile file(path);
    std::optional<QList<EmailTemplate>> imported;
    if (file.open(QIODevice::ReadOnly))
        imported = importedTemplates(file.readAll());
    if (!imported) {
        m_store.setStatus(L("Import failed — not a valid template file.", "导入失败 —— 不是有效的模板文件。"));
        return;
    }
    setTemplates(m_store.email().emailTemplates + *imported);
    select(imported->first().id);
    m_store.setStatus(L(QStringLiteral("Imported %1 template(s).").arg(imported->size()),
                        QStringLiteral("已导入 %1 个模板。").arg(imported->size())));
}

void EmailTab::exportTemplates(const QString& path)
{
    const QString error = writeAtomically(path, encodeEmailTemplates(m_store.email().emailTemplates));
    if (!error.isEmpty()) {
        m_store.setStatus(L("Export failed.", "导出失败。"));
        return;
    }
    const QString name = QFileInfo(path).fileName();
    m_store.setStatus(L(QStringLiteral("Exported %1").arg(name), QStringLiteral("已导出 %1").arg(name)));
}

void EmailTab::resetAllTemplates()
{
    const QList<EmailTemplate> builtIns = BuiltInEmail::all();
    setTemplates(builtIns);
    select(builtIns.first().id);
}

void EmailTab::addCustomField(const TemplateAccess& access)
{
    const QString name = normalizeCustomFieldName(state().newFieldName);
    EmailTemplate t = access.get();
    if (name.isEmpty() || t.customFields.contains(name))
        return;
    t.customFields << name;
    access.set(t);
    setNewFieldName({});
}

void EmailTab::removeCustomField(const TemplateAccess& access, const QString& name)
{
    EmailTemplate t = access.get();
    t.customFields.removeAll(name);
    access.set(t);
}

QString EmailTab::tokenHelp(const EmailTemplate& t)
{
    QString help = t.mode == EmailTemplate::Mode::perFile ? QStringLiteral(
                       "%original_name  %corrected_name  %code  %spotname  %cuttype  %timing  %version  %date")
                                                          : QStringLiteral("%filelist  %count  %date");
    for (const QString& f : t.customFields)
        help += QStringLiteral("  %") + f;
    return help;
}

QString EmailTab::joinedTexts(const QList<RenderedEmail>& results)
{
    QStringList texts;
    for (const RenderedEmail& r : results)
        texts << r.text;
    return texts.join(QStringLiteral("\n\n----------\n\n"));
}
