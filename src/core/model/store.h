#pragma once
// The one shared model of the application. State is grouped into plain value structs; every
// change of a group goes through one publish(group), which drops the rules snapshot, runs the
// group's side effects and emits the group's signal plus changed(). All state changes happen on
// the main thread.
#include "bin/bin_row.h"
#include "email/email_template.h"
#include "metadata/meta_fields.h"
#include "files/intake_ui.h"
#include "files/watch_scan.h"
#include "model/enums.h"
#include "model/file_item.h"
#include "model/gui_preset.h"
#include "files/history_writer.h"
#include "platform/folder_access.h"
#include "platform/safe_move.h"
#include "model/token_template.h"
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
class QTimer;

// What a Store is built with; tests inject their own.
struct StoreServices {
    std::shared_ptr<Settings> settings;
    QString supportFolder;            // history, rename log, presets
    QStringList preferredLanguages;   // first entry decides the initial language
    bool sandboxed = false;           // an access prompt can only appear when sandboxed
    bool runningUnitTests = false;    // no access prompt; history kept apart from the user's
    bool loadHistoryOnStart = true;
    std::shared_ptr<FolderAccess> folderAccess;      // grants everything when not given
    std::shared_ptr<AccessPrompter> accessPrompter;  // none: a refused move is not asked about
    int saveDelayMs = 500;                            // history and log saves are merged this long
    std::shared_ptr<MetadataReader> metadataReader;  // the empty reader when not given

    // Production services: settings file, $XDG_DATA_HOME/Wendlethorpe, the system languages.
    static StoreServices production();
};

// The eleven rules and their options.
struct RuleSettings {
    bool findEnabled = false;
    QString find;
    QString replace;
    bool useRegex = false;
    bool delBeforeEnabled = false;
    QString delBefore;
    bool delBeforeIncl = false;
    bool delAfterEnabled = false;
    QString delAfter;
    bool delAfterIncl = false;
    bool removeEnabled = false;
    QString removeStr;
    CaseMode caseMode = CaseMode::none;
    bool truncEnabled = false;
    KeepSide keepSide = KeepSide::first;
    int keepN = 5;
    SpaceMode spaceMode = SpaceMode::none;
    bool prefixEnabled = false;
    QString prefixText;
    bool suffixEnabled = false;
    QString suffixText;
    bool numberEnabled = false;
    int numStart = 1;
    int numPad = 2;
    QString numSep = "_";
    NumberPosition numPos = NumberPosition::suffix;
    NumberFormat numFormat = NumberFormat::digit;
    NumberDir numDir = NumberDir::asc;
    int numCustomAt = 0;
    bool dateEnabled = false;
    DateSource dateSource = DateSource::capture;
    QString dateFormat = "yyyy-MM-dd";
    NumberPosition datePos = NumberPosition::prefix;
    QString dateSep = "_";
    int dateCustomAt = 0;
    QList<BatchRuleKind> batchRuleOrder;  // persisted through Store::setBatchRuleOrder

    bool operator==(const RuleSettings&) const = default;
};

// The fixed sections around the rules: template, Smart Rename, AI name, extension, scope.
struct NameSections {
    bool extEnabled = false;
    QString extText;
    bool scopeAllFiles = true;
    bool templateEnabled = false;
    QString templateText = "%scene_%shot_%take";
    bool smartRenameEnabled = false;
    SmartRenameStyle smartRenameStyle = SmartRenameStyle::finishing;
    bool useAIName = false;
    NameLang aiLang = NameLang::automatic;  // persisted through Store::setAiLang
    bool renameFolders = false;

    bool operator==(const NameSections&) const = default;
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
};

struct EmailState {
    QList<EmailTemplate> emailTemplates;
    std::optional<QList<EmailFileContext>> pendingEmailContexts;
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

    // ---- groups: read, and change with one publish ----
    const RuleSettings& rules() const { return m_rules; }
    template <typename F> void editRules(F&& f) { f(m_rules); publish(Group::Rules); }
    const NameSections& sections() const { return m_sections; }
    template <typename F> void editSections(F&& f) { f(m_sections); publish(Group::Sections); }
    const AppPrefs& prefs() const { return m_prefs; }
    void setActiveTab(int tab);
    void setWrapNames(bool on);
    const SmartSettings& smart() const { return m_smart; }
    const EmailState& email() const { return m_email; }
    const QList<FileItem>& items() const { return m_items; }
    void setItems(QList<FileItem> items);  // count change empties the date caches
    template <typename F> void editItems(F&& f) { QList<FileItem> copy = m_items; f(copy); setItems(std::move(copy)); }
    const MetaDrafts& meta() const { return m_meta; }
    template <typename F> void editMeta(F&& f) { f(m_meta); publish(Group::Meta); }
    const Activity& activity() const { return m_activity; }
    void setStatus(const QString& text);
    // News about lost or set-aside data: the next status is shown beside it, not instead of it.
    void setLastingStatus(const QString& text);
    template <typename F> void editActivity(F&& f) { f(m_activity); publish(Group::Activity); }
    const HistoryState& history() const { return m_history; }
    const FolderWatchState& watch() const { return m_watch; }
    const QStringList& presetNames() const { return m_presetNames; }

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
    void setAiLang(NameLang lang);
    void setBatchRuleOrder(const QList<BatchRuleKind>& order);
    void setSmartRenameStyleOrder(const QList<SmartRenameStyle>& order);
    void setCustomCutTypes(const QList<SmartRename::CutType>& list);
    void setCustomNamingConfig(const SmartRename::CustomNamingConfig& config);
    void setLearnedWordSplits(const QMap<QString, QStringList>& splits);
    void setSmartVariants(const QList<SmartVariant>& list);
    void setEmailTemplates(const QList<EmailTemplate>& list);
    void setPendingEmailContexts(std::optional<QList<EmailFileContext>> contexts);

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

    // ---- rule sets and presets (gui_preset_store.cpp, presets.cpp) ----
    GUIPreset currentPreset() const;
    void applyPreset(const GUIPreset& p);
    QString presetsFolder() const;
    void refreshPresetNames();
    // False when nothing was written (empty name or a failed write); the status line says which.
    bool savePreset(const QString& name);
    void loadPreset(const QString& name);
    std::optional<GUIPreset> readPreset(const QString& name) const;
    // True when the file is gone afterwards (also when it was already missing).
    bool deletePreset(const QString& name);
    // Both return an error text (empty on success); import also returns the count.
    QString exportPresets(const QString& destination) const;
    QString importPresets(const QString& source, int* count);

    // ---- rule engine (model/rule_engine*.cpp) ----
    // The new full name of one listed item (index: its 0-based place in items()).
    QString newName(const FileItem& item, int index, const QSet<QUuid>& selection) const;
    // The Smart Rename form of a stem, memoised in smartFixCache().
    QString smartFixed(const QString& stem) const;
    struct ConflictResult {
        QHash<QUuid, QString> reasons;  // why an item can't be renamed
        int willRename = 0;
    };
    ConflictResult conflictReasons(const QSet<QUuid>& selection) const;
    // The rules of the current settings on one stem (index: place in items(); date text from
    // dateText(), empty while the date rule is off).
    QString applyBatchRules(const QString& stem, int index, const QString& dateText) const;
    // The tokens a name template can use for one file (token_template.cpp).
    TemplateTokens templateTokens(int index, const BinRow& row) const;
    // The bin row a name template reads for a listed file: its draft metadata, or the empty record.
    BinRow templateRow(const FileItem& item) const;

    // ---- file dates and capture dates (model/file_dates.cpp) ----
    enum class FileDateKey { creation, contentModification };
    // The item's text for the date rule, cached; empty while the rule is off.
    QString dateText(const FileItem& item) const;
    QString computeDateText(const FileItem& item) const;
    std::optional<QDateTime> cachedFileDate(const QString& path, FileDateKey key) const;
    // Reads capture dates of the listed stills (in parallel) and videos (one at a time) into the
    // list; the future finishes on the main thread once the list and status are updated.
    QFuture<void> extractCaptureDates();
    // Sets each listed file's date to its capture date. Linux cannot set a creation date, so
    // the modification date is set and a file counts as done when that worked.
    QFuture<void> setFileDatesFromCapture();
    MetadataReader& metadataReader() const { return *m_services.metadataReader; }

    // ---- file operations and history (files/*.cpp) ----
    // Folder access (folder_access_store.cpp).
    bool isSandboxed() const { return m_services.sandboxed; }
    bool isRunningUnitTests() const { return m_services.runningUnitTests; }
    const QStringList& scopedFolderRoots() const { return m_scopedFolderRoots; }
    const QSet<QString>& declinedAccessFolders() const { return m_declinedAccessFolders; }
    void ensureScopedAccess(const QString& folder);
    void stopScopedAccess();
    // The one move primitive: never replaces an existing item.
    std::optional<MoveError> coordinatedMove(const QString& from, const QString& to);
    // Asks for access to the destination folder of a refused move and retries it once; true
    // when the item is now at `to`.
    bool requestFolderAccess(const QString& from, const QString& to, const std::optional<MoveError>& error);

    // Item list bookkeeping after moves (item_bookkeeping.cpp).
    void commitRenamed(const MoveBatch& moves);
    static QStringList remapMovedURLs(const QStringList& urls, const MoveBatch& moves);
    void recordMovedFiles(const MoveBatch& moves);
    int aiNamedItemCount() const;
    void setUseAIForNamedItems(bool on);
    void setRenameFolders(bool on);
    static QList<FileItem> folderListing(const QList<FileItem>& items);
    const QList<FileItem>& fileBackup() const { return m_fileBackup; }

    // Batch apply (apply_renames.cpp). A plan maps an item id to its proposed full name.
    using RenamePlan = QHash<QUuid, QString>;
    void applyInScope(const QSet<QUuid>& selection);
    void applyRenames(const RenamePlan& plan);

    // One item (rename_one.cpp).
    bool renameOne(const QUuid& id, const QString& typedName);
    void finishRenameOne(const FileItem& item, const QString& target);
    bool renameItemByID(const QUuid& id, const QString& stem, const std::optional<QString>& ext);

    // Undo history and rename log (history.cpp). Every change of the undo stack goes through
    // editUndoStack, which dates, bookmarks, logs, trims and saves what changed.
    template <typename F> void editUndoStack(F&& f)
    {
        const int before = int(m_history.undoStack.size());
        f(m_history.undoStack);
        historyDidChange(before);
        publish(Group::History);
    }
    void loadHistory();
    void appendRenameLog(const MoveBatch& moves, RenameLogEntry::Action action);
    void clearRenameLog();
    QList<QByteArray> folderBookmarks(const MoveBatch& moves) const;
    void undoLast();
    void restoreAll();
    QStringList historySummaries() const;
    void saveHistoryAsync();
    void saveRenameLogAsync();
    // Runs pending saves now and waits for the writer; called when quitting.
    void flushPendingSaves();
    QString historyFilePath() const;
    QString renameLogFilePath() const;
    const HistoryWriter& historyWriter() const { return m_historyWriter; }

    // ---- intake, list operations and folder watch (files/intake.cpp, files/list_operations.cpp,
    //      files/media_drive_scan.cpp, files/folder_watch.cpp) ----
    // Sorting and removing rows; each assigns the whole list so the list observer runs.
    void sortByName();
    void sortByDateModified();
    void reverseOrder();
    // The date sort's order: a before b when a's modification date is earlier.
    static bool modifiedDateAscending(const FileItem& a, const FileItem& b,
                                      const QHash<QUuid, QDateTime>& dates);
    void clearFiles();
    void addFilesPanel();
    void addFoldersPanel();
    void removeItem(const QUuid& id);
    void removeItems(const QSet<QUuid>& ids);
    // True when a keyboard undo/redo went to the focused editable text field instead.
    bool undoInFocusedTextView(bool redo);
    // The Undo button: the focused text field first, otherwise the newest rename batch.
    void undoFromButton();
    // The screens that answer for the model (open panels, the focused text field).
    void setOpenPanels(std::shared_ptr<OpenPanels> panels) { m_openPanels = std::move(panels); }
    void setAccessPrompter(std::shared_ptr<AccessPrompter> prompter) { m_services.accessPrompter = std::move(prompter); }
    void setTextUndoRouter(std::shared_ptr<TextUndoRouter> router) { m_textUndo = std::move(router); }

    void addURLs(const QStringList& paths);
    void queueDrops(const QString& path);  // gathers one drop gesture into one addURLs call
    void flushDrops();
    void addSampleFiles();
    const QStringList& pendingDrops() const { return m_pendingDrops; }

    void loadMediaDrive(const QString& root);

    void startWatching(const QString& folder, bool recursive);
    void stopWatching();
    void scanWatchFolder();  // one poll; the timer calls it every 2 s
    void processWatchScan(const QList<WatchScanEntry>& entries, const QString& folder);
    void autoRenameFile(const QString& path);
    const QSet<QString>& watchKnown() const { return m_watchKnown; }
    const QHash<QString, qint64>& watchPending() const { return m_watchPending; }
    bool watchScanning() const { return m_watchScanning; }
    bool watchTimerActive() const;


    // ---- caches of the rule engine (unpublished) ----
    const GUIPreset& rulesSnapshot() const;  // built on demand, dropped by every publish
    QHash<QString, QString>& smartFixCache() const { return m_smartFixCache; }
    QHash<QString, std::optional<QDateTime>>& fileDateCache() const { return m_fileDateCache; }
    QHash<QString, QString>& dateStringCache() const { return m_dateStringCache; }

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

protected:
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

    mutable std::optional<GUIPreset> m_rulesSnapshot;
    mutable QHash<QString, QString> m_smartFixCache;
    mutable QHash<QString, std::optional<QDateTime>> m_fileDateCache;
    mutable QHash<QString, QString> m_dateStringCache;
    SmartRenameStyle m_lastSmartStyle = SmartRenameStyle::finishing;

private:
    void restoreSettings();

    // ---- file operations and history state (files/*.cpp) ----
    void historyDidChange(int previousCount);
    void scheduleSave(bool& flag, void (Store::*save)());
    void addHistoryScopedFolders(const QStringList& folders);
    void resolveHistoryBookmarks(const QList<QByteArray>& bookmarks);
    std::function<void(const QString&)> saveFailureReporter(bool history);
    FolderAccess& folderAccess() const { return *m_services.folderAccess; }
    QStringList m_scopedFolderRoots;
    QSet<QString> m_declinedAccessFolders;
    QList<FileItem> m_fileBackup;
    bool m_historySaveScheduled = false;
    bool m_logSaveScheduled = false;
    QSet<QString> m_unwritableFiles;  // damaged files that could not be moved aside
    QString m_heldNotice;             // a launch message about set-aside files, joined to the next status
    HistoryWriter m_historyWriter;

    // ---- intake, list operations and folder watch: private state ----
    QStringList m_pendingDrops;
    std::shared_ptr<OpenPanels> m_openPanels;
    std::shared_ptr<TextUndoRouter> m_textUndo;
    QTimer* m_watchTimer = nullptr;
    QSet<QString> m_watchKnown;
    QHash<QString, qint64> m_watchPending;
    bool m_watchScanning = false;
};

template <> struct EnumInfo<RenameLogEntry::Action> {
    static constexpr auto raw = std::to_array<std::string_view>({"rename", "undo", "auto"});
};
