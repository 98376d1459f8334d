#pragma once
// The Metadata tab's editor mode: the listed files on the left and, on the right, the form that
// edits the draft of the first selected file, with its rows and the action bar. The draft, the
// selection and the undo history of field edits are this screen's state; the drafts of every
// file, loading and saving belong to the Store (MetadataDrafts).
#include "metadata/meta_fields.h"
#include "metadata/metadata_drafts.h"

#include <QPointer>
#include <QSet>
#include <QUuid>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class Dialogs;
class MetadataFileListModel;
class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QTreeView;
class QVBoxLayout;
class Store;

class MetadataEditor : public QWidget {
    Q_OBJECT
public:
    MetadataEditor(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MetadataEditor() override;

    // Editor mode comes on screen: with nothing selected the first listed file is selected; the
    // draft is loaded anew either way.
    void appear();

    // ---- state ----
    const QSet<QUuid>& selection() const { return m_selection; }
    // Selects the rows of these ids in the file list (which loads the draft).
    void setSelection(const QSet<QUuid>& ids);
    std::optional<FileItem> primary() const;
    QList<FileItem> targets() const;
    const MetaFields& draft() const { return m_draft; }
    const QString& nameDraft() const { return m_nameDraft; }
    int historySize() const { return m_history.size(); }
    bool reading() const { return m_reading; }

    // ---- operations ----
    void loadDraft();
    void pushDraftHistory();
    void undoMetaEdit();
    void saveSelected();
    void applyToFiles();
    void revertDraft();
    void renameConfirmation();

    // ---- widgets, for tests ----
    QTreeView* fileList() const { return m_list; }
    QWidget* emptyPlaceholder() const { return m_placeholder; }
    QWidget* form() const { return m_form; }
    QLabel* selectPrompt() const { return m_selectPrompt; }
    QLineEdit* nameField() const { return m_nameField; }
    QPushButton* renameButton() const { return m_renameButton; }
    QPushButton* saveButton() const { return m_saveButton; }
    QPushButton* applyButton() const { return m_applyButton; }
    QPushButton* revertButton() const { return m_revertButton; }
    QPushButton* undoButton() const { return m_undoButton; }
    QProgressBar* progress() const { return m_progress; }
    QCheckBox* dateSwitch() const { return m_dateSwitch; }
    QDateTimeEdit* datePicker() const { return m_datePicker; }
    // The text field of the row with this label (as shown now); nullptr when there is none.
    QLineEdit* field(const QString& label) const;
    // The checkbox of a logging or custom key shown as one; nullptr when there is none.
    QCheckBox* flag(const QString& key) const;
    // The labels of the text rows, top to bottom.
    QStringList fieldLabels() const;
    // The keys of the read-only technical rows, top to bottom.
    QStringList technicalKeys() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TextRow {
        QString label;
        QLineEdit* edit;
        std::function<QString(const MetaFields&)> get;
    };
    struct Shape;

    QWidget* buildPlaceholder();
    QWidget* buildSplit();
    void onListSelectionChanged();
    void onItemsChanged();
    void selectRows(const QSet<QUuid>& ids);
    void setDraft(const MetaFields& draft);
    void refresh();
    Shape currentShape() const;
    void rebuildForm();
    void syncValues();
    void updateActions();

    QWidget* buildHeader(const FileItem& item, int targetCount);
    QWidget* buildKindSection();
    QWidget* buildDateRow(const char* en, const char* zh);
    QWidget* fieldRow(const QString& label, std::function<QString(const MetaFields&)> get,
                      std::function<void(MetaFields&, const QString&)> set);
    QWidget* infoLine(double scale);
    QWidget* buildCustomBox();
    QWidget* buildTechnicalBox(const QStringList& keys);
    QWidget* buildActionBar();
    QStringList customKeys() const;
    QStringList shownTechnicalKeys() const;
    void editCustomFlag(const QString& key, bool on);
    void switchDate(bool on);

    Store& m_store;
    Dialogs& m_dialogs;

    // The screen's own state.
    QSet<QUuid> m_selection;
    MetaFields m_draft;
    QString m_nameDraft;
    DraftHistory m_history;
    std::optional<QString> m_lastFieldKey;
    bool m_reading = false;  // the shown movie's read has not ended

    MetadataFileListModel* m_model = nullptr;
    QStackedWidget* m_stack = nullptr;
    QWidget* m_placeholder = nullptr;
    QTreeView* m_list = nullptr;
    QScrollArea* m_scroll = nullptr;
    QVBoxLayout* m_paneLayout = nullptr;
    QLabel* m_selectPrompt = nullptr;
    QWidget* m_form = nullptr;
    QList<QPointer<QWidget>> m_retiredForms;  // replaced forms waiting for their deferred deletion
    std::unique_ptr<Shape> m_shape;
    bool m_syncing = false;
    bool m_restoringSelection = false;

    // Widgets of the form as built last.
    QList<TextRow> m_textRows;
    QList<QPair<QString, QCheckBox*>> m_flags;
    QList<QPair<QString, QLabel*>> m_technical;
    QList<QLabel*> m_infoLabels;
    QLineEdit* m_nameField = nullptr;
    QPushButton* m_renameButton = nullptr;
    QCheckBox* m_dateSwitch = nullptr;
    QDateTimeEdit* m_datePicker = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_revertButton = nullptr;
    QPushButton* m_undoButton = nullptr;
    QProgressBar* m_progress = nullptr;
};
