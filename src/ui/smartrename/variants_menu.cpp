#include "smartrename/variants_menu.h"

#include "model/store.h"
#include "platform/lang.h"
#include "smartrename/smart_variants.h"

#include <QMenu>

namespace {
// A heading inside a menu: a disabled entry, since not every style draws a section's text.
void addHeading(QMenu* menu, const QString& text)
{
    menu->addAction(text)->setEnabled(false);
}
}  // namespace

void addVariantAndPresetEntries(QMenu* menu, Store& store, const std::optional<QUuid>& rowId)
{
    const QList<SmartVariant>& variants = store.smart().smartVariants;
    for (const SmartVariant& v : variants) {
        const QUuid id = v.id;
        QObject::connect(menu->addAction(v.name), &QAction::triggered, menu, [&store, id, rowId] {
            for (const SmartVariant& variant : store.smart().smartVariants)
                if (variant.id == id)
                    return store.variants().applyRules(variant.name, variant.rules, rowId);
        });
    }
    if (store.presetNames().isEmpty())
        return;
    if (!variants.isEmpty())
        menu->addSeparator();
    addHeading(menu, L("Batch Rules presets", "Batch Rules 预设"));
    for (const QString& name : store.presetNames())
        QObject::connect(menu->addAction(name), &QAction::triggered, menu,
                         [&store, name, rowId] { store.variants().applySavedPreset(name, rowId); });
}

void fillToolbarVariantsMenu(QMenu* menu, Store& store)
{
    menu->clear();
    addHeading(menu, L("Apply to all names", "套用到全部名字"));
    addVariantAndPresetEntries(menu, store, std::nullopt);
    menu->addSeparator();
    QAction* reset = menu->addAction(L("Reset all to recognized names", "全部还原为识别结果"));
    const QList<SmartRenameRow>& rows = store.smart().smartRenameRows;
    reset->setEnabled(
        std::any_of(rows.cbegin(), rows.cend(), [](const SmartRenameRow& r) { return r.preVariantName; }));
    QObject::connect(reset, &QAction::triggered, menu, [&store] { store.variants().resetToRecognized(); });
}

void fillRowVariantMenu(QMenu* menu, Store& store, const QUuid& rowId)
{
    menu->clear();
    addVariantAndPresetEntries(menu, store, rowId);
    for (const SmartRenameRow& row : store.smart().smartRenameRows) {
        if (row.id != rowId || !row.preVariantName)
            continue;
        menu->addSeparator();
        QObject::connect(menu->addAction(L("Reset to recognized name", "还原为识别结果")), &QAction::triggered, menu,
                         [&store, rowId] { store.variants().resetToRecognized(rowId); });
    }
}

bool hasVariantsToOffer(const Store& store)
{
    return !store.smart().smartVariants.isEmpty() || !store.presetNames().isEmpty();
}
