#pragma once
// The Email tab's operations: picking the template, editing it in place (every edit saved at
// once), the template list's actions, taking files from Smart Rename or from the loaded list,
// and generating the e-mails. Owned by the Store; the tab's state lives in the Store's e-mail
// group and changes only through it.
#include "email/email_tab_state.h"
#include "email/email_template.h"

#include <QString>
#include <QUuid>
#include <optional>

class Store;

class EmailTab {
public:
    explicit EmailTab(Store& store) : m_store(store) {}

    // Read and write access to one template of the list. Reading gives the list's template with
    // the remembered id, or the copy made with the access once that id is gone; writing
    // replaces it in place and saves the list, and does nothing once the id is gone.
    class TemplateAccess {
    public:
        TemplateAccess(Store& store, EmailTemplate snapshot) : m_store(&store), m_snapshot(std::move(snapshot)) {}
        EmailTemplate get() const;
        void set(const EmailTemplate& t) const;
        QUuid id() const { return m_snapshot.id; }

    private:
        Store* m_store;
        EmailTemplate m_snapshot;
    };

    const EmailTabState& state() const;

    // The tab is shown: fresh state, the first template picked, then the hand-over is taken.
    void enter();

    // The picked template, else the list's first; nothing for an empty list.
    std::optional<EmailTemplate> selectedTemplate() const;
    std::optional<TemplateAccess> templateBinding() const;
    void select(const std::optional<QUuid>& id);
    void setShowEditor(bool on);
    void setNewFieldName(const QString& text);
    void setCustomValue(const QString& field, const QString& value);
    void setBatchResult(const QString& text);
    void setResultText(const QUuid& resultId, const QString& text);

    bool canGenerate() const;
    bool canClear() const;
    void generate();
    void clearResults();
    // Files handed over by Smart Rename; without a hand-over, the loaded files when none are
    // held yet.
    void takePendingContexts();
    void useLoadedFiles();

    // The template list's actions; each saves the whole list at once.
    void newTemplate();
    void duplicateTemplate(const EmailTemplate& t);
    void deleteTemplate(const QUuid& id);
    // Reads a template file and appends its templates under new ids; reports in the status.
    void importTemplates(const QString& path);
    // Writes the whole list to the path in one atomic step; reports in the status.
    void exportTemplates(const QString& path);
    void resetAllTemplates();

    // The editor's custom-field entry: adds newFieldName in its stored form, or removes a name.
    void addCustomField(const TemplateAccess& access);
    void removeCustomField(const TemplateAccess& access, const QString& name);

    // The tokens a template's body can use, as the editor shows them.
    static QString tokenHelp(const EmailTemplate& t);
    // What Copy All puts on the clipboard: the per-file texts joined by a dashed line.
    static QString joinedTexts(const QList<RenderedEmail>& results);
    // Templates read from a file, under new ids, custom field names in their stored form;
    // nothing when the file is not a template list or holds none.
    static std::optional<QList<EmailTemplate>> importedTemplates(const QByteArray& data);

private:
    template <typename F> void edit(F&& f);
    void setTemplates(const QList<EmailTemplate>& list);

    Store& m_store;
};
