#include "files/watch_rules.h"

#include "model/rule_engine.h"
#include "model/store.h"

QString watchStem(const Store& store, const FileItem& item, int index)
{
    GUIPreset rules = store.rulesSnapshot();
    rules.numDir = QStringLiteral("asc");
    return applyRules(rules, item.stem, index, int(store.items().size()), store.dateText(item),
                      store.rules().batchRuleOrder);
}
