#pragma once
// The layout of the CUSTOM style: separator, letter case, the three switches, the version and
// timing prefixes, and the order of the sections, changed by dragging one section chip onto
// another. Every control writes the Store's naming configuration at once; the cut type editor
// sits below.
#include "smartrename/smart_rename_types.h"

#include <QList>
#include <QWidget>

class Store;
class DragChip;
class CutTypeEditor;
class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class SegmentedControl;

class NamingLayoutEditor : public QWidget {
    Q_OBJECT
public:
    explicit NamingLayoutEditor(Store& store, QWidget* parent = nullptr);

    QLineEdit* separatorField() const { return m_separator; }
    SegmentedControl* casePicker() const { return m_case; }
    QCheckBox* includeCodeBox() const { return m_includeCode; }
    QCheckBox* quoteSpotBox() const { return m_quoteSpot; }
    QCheckBox* spaceSpotBox() const { return m_spaceSpot; }
    QLineEdit* versionPrefixField() const { return m_versionPrefix; }
    QLineEdit* timingPrefixField() const { return m_timingPrefix; }
    const QList<DragChip*>& sectionChips() const { return m_chips; }
    QPushButton* resetOrderButton() const { return m_resetOrder; }
    CutTypeEditor* cutTypeEditor() const { return m_cutTypes; }

private:
    void follow();
    void rebuildChips();
    template <typename F> void edit(F&& f);

    Store& m_store;
    QLineEdit* m_separator;
    SegmentedControl* m_case;
    QCheckBox* m_includeCode;
    QCheckBox* m_quoteSpot;
    QCheckBox* m_spaceSpot;
    QLineEdit* m_versionPrefix;
    QLineEdit* m_timingPrefix;
    QHBoxLayout* m_chipRow;
    QList<DragChip*> m_chips;
    QList<SmartRename::CustomNamingConfig::SectionKind> m_shownOrder;
    QPushButton* m_resetOrder;
    CutTypeEditor* m_cutTypes;
};
