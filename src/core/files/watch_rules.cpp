#include "files/watch_rules.h"

#include "model/file_dates.h"
#include "model/rule_engine.h"
#include "model/store.h"

QString watchStem(const Store& store, const FileItem& item, int index)
{
    RuleSettings rules = store.rules();
    rules.numDir = NumberDir::asc;
    return applyRules(rules, item.stem, index, int(store.items().size()), store.dates().dateText(item),
                      store.rules().batchRuleOrder);
}
