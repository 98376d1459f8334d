// What the panel asks of the rule engine: the template check against the first listed file,
// the capture-date reading and the file-date stamping, and the regex help sheet.
#include "model/file_dates.h"
#include "model/name_preview.h"
#include "model/store.h"
#include "model/token_template.h"
#include "regex_help_view.h"
#include "rules_form.h"

QStringList RulesForm::unrecognizedTemplateTokens() const
{
    const NameSections& s = m_store.sections();
    if (!s.templateEnabled || s.templateText.isEmpty() || m_store.items().isEmpty())
        return {};
    const FileItem& first = m_store.items().first();
    return expandTemplate(s.templateText, templateTokens(0, m_store.preview().templateRow(first))).unresolved;
}

void RulesForm::startCaptureDateWork(bool stamp)
{
    // The futures finish on the main thread and report through the Store; nothing to await here.
    if (stamp)
        m_store.dates().setFileDatesFromCapture();
    else
        m_store.dates().extractCaptureDates();
}

void RulesForm::showRegexHelp()
{
    if (m_regexHelp)
        return;
    auto* sheet = new RegexHelpView(this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    m_regexHelp = sheet;
    sheet->open();
}
