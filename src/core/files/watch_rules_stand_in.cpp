// Stand-in until the rule engine is available here: prefix, suffix and numbering as suffix
// only, enough for the watch to rename. Replace the body of watchStem with
//     GUIPreset rules = store.rulesSnapshot(); rules.numDir = "asc";
//     return applyRules(rules, item.stem, index, int(store.items().size()),
//                       store.dateText(item), store.rules().batchRuleOrder);
// and delete this file.
#include "files/watch_rules.h"
#include "model/store.h"

QString watchStem(const Store& store, const FileItem& item, int index)
{
    const GUIPreset& r = store.rulesSnapshot();
    QString s = item.stem;
    for (BatchRuleKind kind : store.rules().batchRuleOrder) {
        if (kind == BatchRuleKind::prefix && r.prefixEnabled)
            s = r.prefixText + s;
        else if (kind == BatchRuleKind::suffix && r.suffixEnabled)
            s += r.suffixText;
        else if (kind == BatchRuleKind::sequentialNumber && r.numberEnabled)
            s += r.numSep + QString::number(r.numStart + index).rightJustified(r.numPad, QLatin1Char('0'));
    }
    return s.trimmed();
}
