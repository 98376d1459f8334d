#pragma once
// The one shared model of the application. State is grouped into plain value structs; every
// change of a group goes through one publish(group), which runs the group's side effects and
// emits the group's signal plus changed(). The subsystems (presets, name preview, file dates, …)
// are classes of their own, owned here and reached through their accessors; they change the
// state only through the functions below. All state changes happen on the main thread.
#include "bin/bin_row.h"
#include "email/email_tab_state.h"
#include "email/email_template.h"
#include "metadata/meta_fields.h"
#include "model/enums.h"
#include "model/file_item.h"
#include "model/rule_settings.h"
#include "platform/folder_access.h"
#include "platform/safe_move.h"
#include "smartrename/smart_rename_row.h"
#include "smartrename/smart_rename_types.h"

#include <QDateTime>
#include <QFuture>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <memory>
#include <optional>

class Settings;
class MetadataReader;
class MetadataDrafts;
class Presets;
class NamePreview;
class FileDates;
class History;
class Renamer;
class Intake;
class FolderWatch;
class ListOperations;
class ItemBookkeeping;
class ScopedAccess;
class SmartRenameRun;
class SmartVariants;
class SmartRenameHandOff;
class SmartRenameEditors;
class BinController;
class AINamingRunner;
class SupportLock;
class EmailTab;

// What a Store is built with; tests inject their own.
struct StoreServices {
    std::shared_ptr<Settings> settings;
    QString supportFolder;           // history, rename log, presets
    QStringList preferredLanguages;  // first entry decides the initial language
    bool sandboxed = false;          // an access prompt can only appear when sandboxed
    bool runningUnitTests = false;   // no access prompt; history kept apart from the user's
    bool loadHistoryOnStart = true;
    std::shared_ptr<FolderAccess> folderAccess;      // grants everything when not given
    std::shared_ptr<AccessPrompter> accessPrompter;  // none: a refused move is not asked about
    int saveDelayMs = 500;                           // history and log saves are merged this long
    std::shared_ptr<MetadataReader> metadataReader;  // the empty reader when not given

    // Production services: settings file, $XDG_DATA_HOME/Wendlethorpe, the system languages.
    static StoreServices production();
};

// Application preferences and screen state the model keeps.
struct AppPrefs {
    bool mediaDriveMode = false;
    bool showRestoreAll = true;
    bool quickEditMode = false;
    bool langZh = false;
    int activeTab = 0;
    bool wrapNames = true;

    bool operator==(const AppPrefs&) const = default;
};

struct SmartSettings {
    QList<SmartRenameStyle> smartRenameStyleOrder;
    QList<SmartRename::CutType> customCutTypes;
    SmartRename::CustomNamingConfig customNamingConfig;
    QMap<QString, QStringList> learnedWordSplits;
    bool smartRenameKeepExt = false;
    QString smartRenameIgnoreText;
    QList<SmartVariant> smartVariants;
    QString smartRenameInputText;
    QList<SmartRenameRow> smartRenameRows;  // the Smart Rename results; never saved
};

struct EmailState {
    QList<EmailTemplate> emailTemplates;
    std::optional<QList<EmailFileContext>> pendingEmailContexts;
    EmailTabState tab;  // the Email tab's state while it is shown (email/email_tab.h)
};

struct MetaDrafts {
    QHash<QUuid, MetaFields> metaDraft;
    QHash<QUuid, MetaFields> metaOriginal;
    QStringList binCustomCols;
    QSet<QString> binCheckboxCols;
};

struct Activity {
    QString status;
    bool dateBusy = false;
    bool aiBusy = false;
    QString aiProgress;
    bool aiStopRequested = false;  // unpublished: checked by the AI runner between files
};

// One move of a batch, in the order carried out. Paths are plain file-system paths.
struct Move {
    QString from;
    QString to;
    bool operator==(const Move&) const = default;
};
using MoveBatch = QList<Move>;

struct RenameLogEntry {
    enum class Action { rename, undo, automatic };  // stored as "rename", "undo", "auto"
    QUuid id;
    QDateTime date;
    Action action = Action::rename;
    QString from;
    QString to;
    bool operator==(const RenameLogEntry&) const = default;
};

// The undo history (oldest batch first) and the rename log. undoStack, undoDates and
// undoBookmarks are parallel: entry i of each belongs to the same batch.
struct HistoryState {
    QList<MoveBatch> undoStack;
    QList<QDateTime> undoDates;
    QList<QList<QByteArray>> undoBookmarks;  // per batch, one bookmark per folder it touched
    QList<RenameLogEntry> renameLog;
    bool historyLoaded = false;
    QStringList historyScopedFolders;
};

struct FolderWatchState {
    std::optional<QString> watchFolder;
    int watchCount = 0;
    bool watchRecursive = false;
};

class Store : public QObject {
    Q_OBJECT
public:
    enum class Group { Rules, Sections, Prefs, Smart, Email, Files, Meta, Activity, History, Watch, Presets };

    explicit Store(StoreServices services, QObject* parent = nullptr);
    ~Store() override;

    // The process-wide instance, created on first use with production services.
    static Store& shared();

    Settings& settings() const { return *m_services.settings; }
    const StoreServices& services() const { return m_services; }
    QString supportFolder() const { return m_services.supportFolder; }
    // False while another process holds the support folder: this one then saves no history, log
    // or presets (platform/support_lock.h).
    bool writesSupportFiles() const;

    // ---- groups: read, and change with one publish ----
    const RuleSettings& rules() const { return m_rules; }
    template <typename F> void editRules(F&& f)
    {
        f(m_rules);
        publish(Group::Rules);
    }
    const NameSections& sections() const { return m_sections; }
    template <typename F> void editSections(F&& f)
    {
        f(m_sections);
        publish(Group::Sections);
    }
    const AppPrefs& prefs() const { return m_prefs; }
    void setActiveTab(int tab);
    void setWrapNames(bool on);
    const SmartSettings& smart() const { return m_smart; }
    const EmailState& email() const { return m_email; }
    const QList<FileItem>& items() const { return m_items; }
    void setItems(QList<FileItem> items);  // count change empties the date caches
    void itemsEdited(qsizetype previousCount);
    // Edits the list where it is: a copy of 100,000 items would double their memory for the edit.
    template <typename F> void editItems(F&& f)
    {
        const qsizetype count = m_items.size();
        f(m_items);
        itemsEdited(count);
    }
    const MetaDrafts& meta() const { return m_meta; }
    template <typename F> void editMeta(F&& f)
    {
        f(m_meta);
        publish(Group::Meta);
    }
    const Activity& activity() const { return m_activity; }
    void setStatus(const QString& text);
    // News about lost or set-aside data: the next status is shown beside it, not instead of it.
    void setLastingStatus(const QString& text);
    template <typename F> void editActivity(F&& f)
    {
        f(m_activity);
        publish(Group::Activity);
    }
    const HistoryState& historyState() const { return m_history; }
    const FolderWatchState& watchState() const { return m_watch; }
    const QStringList& presetNames() const { return m_presetNames; }
    void setPresetNames(QStringList names);

    // Convenience reads used everywhere.
    bool langZh() const { return m_prefs.langZh; }
    const QString& status() const { return m_activity.status; }

    // ---- persisted settings: each setter writes its key even when the value is unchanged ----
    void setPersistedFlag(bool AppPrefs::*flag, bool value, const QString& key);
    void setMediaDriveMode(bool on) { setPersistedFlag(&AppPrefs::mediaDriveMode, on, "mediaDriveMode"); }
    void setShowRestoreAll(bool on) { setPersistedFlag(&AppPrefs::showRestoreAll, on, "showRestoreAll"); }
    void setQuickEditMode(bool on) { setPersistedFlag(&AppPrefs::quickEditMode, on, "quickEditMode"); }
    void setLangZh(bool on) { setPersistedFlag(&AppPrefs::langZh, on, "langZh"); }
    void setSmartRenameKeepExt(bool on);
    void setSmartRenameIgnoreText(const QString& text);
    void setSmartRenameInputText(const QString& text);
    void setSmartRenameRows(QList<SmartRenameRow> rows);
    void setAiLang(NameLang lang);
    void setBatchRuleOrder(const QList<BatchRuleKind>& order);
    void setSmartRenameStyleOrder(const QList<SmartRenameStyle>& order);
    void setCustomCutTypes(const QList<SmartRename::CutType>& list);
    void setCustomNamingConfig(const SmartRename::CustomNamingConfig& config);
    void setLearnedWordSplits(const QMap<QString, QStringList>& splits);
    // save false: kept in memory only, written with the next save of the list.
    void setSmartVariants(const QList<SmartVariant>& list, bool save = true);
    void setEmailTemplates(const QList<EmailTemplate>& list);
    void setPendingEmailContexts(std::optional<QList<EmailFileContext>> contexts);
    template <typename F> void editEmailTab(F&& f)
    {
        f(m_email.tab);
        publish(Group::Email);
    }

    // Items whose draft differs from the metadata read from disk.
    int unsavedMetaItems() const;

    // ---- restore functions (read the settings; return the value to keep) ----
    QList<SmartRenameStyle> loadSmartRenameStyleOrder() const;
    QList<BatchRuleKind> loadBatchRuleOrder() const;
    QList<SmartRename::CutType> loadCutTypes();
    static QList<SmartRename::CutType> mergeBuiltInCutTypes(const QList<SmartRename::CutType>& user,
                                                            const QSet<QString>& seen);
    SmartRename::CustomNamingConfig loadCustomNamingConfig() const;
    QMap<QString, QStringList> loadLearnedWordSplits() const;
    QList<SmartVariant> loadSmartVariants() const;
    QList<EmailTemplate> loadEmailTemplates() const;

    // ---- subsystems owned by the Store ----
    Presets& presets() const { return *m_presets; }
    NamePreview& preview() const { return *m_preview; }
    FileDates& dates() const { return *m_dates; }
    SmartRenameRun& smartRun() const { return *m_smartRun; }
    SmartVariants& variants() const { return *m_smartVariants; }
    // Apply Rename and the hand-off to the Email tab.
    SmartRenameHandOff& smartHandOff() const { return *m_smartHandOff; }
    // The taught word splits, cut types and naming layout as their editors change them.
    SmartRenameEditors& smartEditors() const { return *m_smartEditors; }
    MetadataReader& metadataReader() const { return *m_services.metadataReader; }
    // The Metadata editor's loads, saves and edits of the drafts.
    MetadataDrafts& metaDrafts() { return *m_metaDrafts; }
    // The bin table's rows, tools and background reads.
    BinController& bin() { return *m_bin; }

    // ---- file operations (files/): each subsystem's operations, owned here ----
    bool isSandboxed() const { return m_services.sandboxed; }
    bool isRunningUnitTests() const { return m_services.runningUnitTests; }
    void setAccessPrompter(std::shared_ptr<AccessPrompter> prompter)
    {
        m_services.accessPrompter = std::move(prompter);
    }
    History& history() { return *m_undoHistory; }
    const History& history() const { return *m_undoHistory; }
    Renamer& renamer() { return *m_renamer; }
    Intake& intake() { return *m_intake; }
    FolderWatch& watch() { return *m_folderWatch; }
    const FolderWatch& watch() const { return *m_folderWatch; }
    ListOperations& list() { return *m_listOps; }
    ItemBookkeeping& bookkeeping() { return *m_bookkeeping; }
    const ItemBookkeeping& bookkeeping() const { return *m_bookkeeping; }
    ScopedAccess& access() { return *m_access; }
    const ScopedAccess& access() const { return *m_access; }

    // The undo history and rename log; every change goes through History's edit functions.
    template <typename F> void editHistory(F&& f)
    {
        f(m_history);
        publish(Group::History);
    }
    template <typename F> void editWatch(F&& f)
    {
        f(m_watch);
        publish(Group::Watch);
    }
    // The files behind a folder listing while folders are renamed (unpublished).
    const QList<FileItem>& fileBackup() const { return m_fileBackup; }
    template <typename F> void editFileBackup(F&& f) { f(m_fileBackup); }

    // ---- AI naming of every listed file (ai/ai_naming_runner.h) ----
    AINamingRunner& aiRunner() { return *m_aiRunner; }

    // ---- the Email tab's templates, sources and generation (email/email_tab.h) ----
    EmailTab& emailTab() { return *m_emailTab; }

signals:
    void rulesChanged();
    void sectionsChanged();
    void prefsChanged();
    void smartChanged();
    void emailChanged();
    void itemsChanged();
    void metaChanged();
    void activityChanged();
    void historyChanged();
    void watchChanged();
    void presetsChanged();
    void changed();  // after every group signal

private:
    void publish(Group group);

    StoreServices m_services;
    RuleSettings m_rules;
    NameSections m_sections;
    AppPrefs m_prefs;
    SmartSettings m_smart;
    EmailState m_email;
    QList<FileItem> m_items;
    MetaDrafts m_meta;
    Activity m_activity;
    HistoryState m_history;
    FolderWatchState m_watch;
    QStringList m_presetNames;

    std::unique_ptr<Presets> m_presets;
    std::unique_ptr<NamePreview> m_preview;
    std::unique_ptr<FileDates> m_dates;
    std::unique_ptr<SmartRenameRun> m_smartRun;
    std::unique_ptr<SmartVariants> m_smartVariants;
    std::unique_ptr<SmartRenameHandOff> m_smartHandOff;
    std::unique_ptr<SmartRenameEditors> m_smartEditors;

    void restoreSettings();

    QList<FileItem> m_fileBackup;
    QString m_heldNotice;  // a launch message about set-aside files, joined to the next status

    std::unique_ptr<SupportLock> m_supportLock;  // taken before anything reads the support folder

    // Declared after the state so that they go first and can still flush into it.
    std::unique_ptr<ScopedAccess> m_access;
    std::unique_ptr<ItemBookkeeping> m_bookkeeping;
    std::unique_ptr<History> m_undoHistory;
    std::unique_ptr<Renamer> m_renamer;
    std::unique_ptr<ListOperations> m_listOps;
    std::unique_ptr<Intake> m_intake;
    std::unique_ptr<FolderWatch> m_folderWatch;
    std::unique_ptr<AINamingRunner> m_aiRunner;
    std::unique_ptr<MetadataDrafts> m_metaDrafts;
    std::unique_ptr<EmailTab> m_emailTab;
    std::unique_ptr<BinController> m_bin;  // last: its reads stop before the rest goes
};

template <> struct EnumInfo<RenameLogEntry::Action> {
    static constexpr auto raw = std::to_array<std::string_view>({"rename", "undo", "auto"});
};
