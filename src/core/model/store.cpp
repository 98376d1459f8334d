#include "model/store.h"

#include "ai/ai_naming_runner.h"
#include "bin/bin_controller.h"
#include "email/email_builtins.h"
#include "email/email_tab.h"
#include "files/folder_watch.h"
#include "files/history.h"
#include "files/intake.h"
#include "files/item_bookkeeping.h"
#include "files/list_operations.h"
#include "files/renamer.h"
#include "files/scoped_access.h"
#include "metadata/metadata_drafts.h"
#include "metadata/metadata_reader.h"
#include "model/file_dates.h"
#include "model/name_preview.h"
#include "model/presets.h"
#include "platform/lang.h"
#include "platform/settings.h"
#include "platform/support_lock.h"
#include "smartrename/smart_rename_editors.h"
#include "smartrename/smart_rename_handoff.h"
#include "smartrename/smart_rename_run.h"
#include "smartrename/smart_variants.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>

namespace {
QString settingsDamageMessage(const SettingsDamage& damage)
{
    if (damage.error.isEmpty())
        return L(QStringLiteral("The settings could not be read; the file was kept as “%1”.").arg(damage.keptAs),
                 QStringLiteral("无法读取设置;该文件已保留为「%1」。").arg(damage.keptAs));
    return L(QStringLiteral("The settings could not be read or set aside (%1); they will not be overwritten.")
                 .arg(damage.error),
             QStringLiteral("无法读取设置,也无法将其移开(%1);该文件不会被覆盖。").arg(damage.error));
}
}  // namespace

StoreServices StoreServices::production()
{
    StoreServices s;
    s.settings = std::make_shared<FileSettings>(FileSettings::defaultPath());
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    s.supportFolder = QDir(data).filePath("Wendlethorpe");
    s.preferredLanguages = QLocale::system().uiLanguages();
    s.sandboxed = qEnvironmentVariableIsSet("APP_SANDBOX_CONTAINER_ID");
    // Under a test runner the user's history is never touched.
    s.runningUnitTests = qEnvironmentVariableIsSet("XCTestConfigurationFilePath");
    if (s.runningUnitTests)
        s.supportFolder = QDir(QDir::tempPath()).filePath("BrindlecoveTestHistory");
    return s;
}

Store::Store(StoreServices services, QObject* parent) : QObject(parent), m_services(std::move(services))
{
    if (!m_services.settings)
        m_services.settings = std::make_shared<MemorySettings>();
    if (!m_services.folderAccess)
        m_services.folderAccess = std::make_shared<FolderAccess>();
    if (!m_services.metadataReader)
        m_services.metadataReader = MetadataReader::makeDefault();
    m_activity.status = QStringLiteral("Drag files here to begin. / 拖入文件开始。");
    m_supportLock = std::make_unique<SupportLock>(m_services.supportFolder);
    m_access = std::make_unique<ScopedAccess>(*this);
    m_bookkeeping = std::make_unique<ItemBookkeeping>(*this);
    m_undoHistory = std::make_unique<History>(*this);
    m_renamer = std::make_unique<Renamer>(*this);
    m_listOps = std::make_unique<ListOperations>(*this);
    m_intake = std::make_unique<Intake>(*this);
    m_folderWatch = std::make_unique<FolderWatch>(*this);
    m_aiRunner = std::make_unique<AINamingRunner>(*this);
    m_metaDrafts = std::make_unique<MetadataDrafts>(*this);
    m_emailTab = std::make_unique<EmailTab>(*this);
    restoreSettings();
    m_presets = std::make_unique<Presets>(*this);
    m_preview = std::make_unique<NamePreview>(*this);
    m_dates = std::make_unique<FileDates>(*this);
    m_smartRun = std::make_unique<SmartRenameRun>(*this);
    m_smartVariants = std::make_unique<SmartVariants>(*this);
    m_smartHandOff = std::make_unique<SmartRenameHandOff>(*this);
    m_smartEditors = std::make_unique<SmartRenameEditors>(*this);
    Lang::setZh(m_prefs.langZh);
    if (m_services.loadHistoryOnStart) {
        m_undoHistory->loadHistory();
        if (const QString recovered = m_undoHistory->recoverJournals(); !recovered.isEmpty())
            setLastingStatus(recovered + (m_heldNotice.isEmpty() ? QString() : ' ' + m_heldNotice));
    }
    if (const auto damage = settings().damage()) {
        const QString earlier = m_heldNotice;
        setLastingStatus(settingsDamageMessage(*damage) + (earlier.isEmpty() ? QString() : ' ' + earlier));
    }
    if (!writesSupportFiles()) {
        const QString earlier = m_heldNotice;
        setLastingStatus(supportFolderInUseNotice() + (earlier.isEmpty() ? QString() : ' ' + earlier));
    }
    m_bin = std::make_unique<BinController>(*this);
}

Store::~Store()
{
    m_undoHistory->flushPendingSaves();
    m_access->stopScopedAccess();
}

bool Store::writesSupportFiles() const
{
    return m_supportLock->mayWrite();
}

Store& Store::shared()
{
    static Store* store = new Store(StoreServices::production());
    return *store;
}

void Store::restoreSettings()
{
    Settings& s = settings();
    if (auto cols = s.stringListValue("binCheckboxCols"))
        for (const QString& c : *cols)
            m_meta.binCheckboxCols.insert(c);
    m_meta.binCheckboxCols.insert("Good");
    m_meta.binCheckboxCols.insert("Circle");

    m_prefs.mediaDriveMode = s.boolValue("mediaDriveMode").value_or(false);
    m_prefs.showRestoreAll = s.boolValue("showRestoreAll").value_or(true);
    m_prefs.quickEditMode = s.boolValue("quickEditMode").value_or(false);
    if (auto zh = s.boolValue("langZh"))
        m_prefs.langZh = *zh;
    else
        m_prefs.langZh = m_services.preferredLanguages.value(0).startsWith("zh");

    m_smart.smartRenameStyleOrder = loadSmartRenameStyleOrder();
    m_rules.batchRuleOrder = loadBatchRuleOrder();
    m_smart.customCutTypes = loadCutTypes();
    m_smart.customNamingConfig = loadCustomNamingConfig();
    m_smart.learnedWordSplits = loadLearnedWordSplits();
    m_smart.smartRenameKeepExt = s.boolValue("smartRenameKeepExt").value_or(false);
    m_smart.smartRenameIgnoreText = s.stringValue("smartRenameIgnoreText").value_or(QString());
    m_smart.smartVariants = loadSmartVariants();
    m_email.emailTemplates = loadEmailTemplates();
    if (auto lang = s.stringValue("aiLang"))
        m_sections.aiLang = lookupRawValue<NameLang>(*lang).value_or(NameLang::automatic);
}

void Store::publish(Group group)
{
    switch (group) {
    case Group::Rules: emit rulesChanged(); break;
    case Group::Sections:
        m_preview->sectionsPublished();
        emit sectionsChanged();
        break;
    case Group::Prefs:
        Lang::setZh(m_prefs.langZh);
        emit prefsChanged();
        break;
    case Group::Smart: emit smartChanged(); break;
    case Group::Email: emit emailChanged(); break;
    case Group::Files: emit itemsChanged(); break;
    case Group::Meta: emit metaChanged(); break;
    case Group::Activity: emit activityChanged(); break;
    case Group::History: emit historyChanged(); break;
    case Group::Watch: emit watchChanged(); break;
    case Group::Presets: emit presetsChanged(); break;
    }
    emit changed();
}

void Store::setActiveTab(int tab)
{
    m_prefs.activeTab = tab;
    publish(Group::Prefs);
}

void Store::setWrapNames(bool on)
{
    m_prefs.wrapNames = on;
    publish(Group::Prefs);
}

void Store::setItems(QList<FileItem> items)
{
    if (items.size() != m_items.size())
        m_dates->clearCaches();
    m_items = std::move(items);
    publish(Group::Files);
}

void Store::itemsEdited(qsizetype previousCount)
{
    if (m_items.size() != previousCount)
        m_dates->clearCaches();
    publish(Group::Files);
}

void Store::setPresetNames(QStringList names)
{
    m_presetNames = std::move(names);
    publish(Group::Presets);
}

void Store::setStatus(const QString& text)
{
    // The launch's news about damaged files must not vanish behind the first report after it.
    const QString held = std::exchange(m_heldNotice, QString());
    m_activity.status = held.isEmpty() || text.isEmpty() ? text + held : text + QLatin1Char(' ') + held;
    publish(Group::Activity);
}

void Store::setLastingStatus(const QString& text)
{
    setStatus(text);
    m_heldNotice = text;
}

void Store::setPersistedFlag(bool AppPrefs::*flag, bool value, const QString& key)
{
    m_prefs.*flag = value;
    publish(Group::Prefs);
    settings().setBool(key, m_prefs.*flag);
}

void Store::setSmartRenameKeepExt(bool on)
{
    m_smart.smartRenameKeepExt = on;
    publish(Group::Smart);
    settings().setBool("smartRenameKeepExt", on);
}

void Store::setSmartRenameIgnoreText(const QString& text)
{
    m_smart.smartRenameIgnoreText = text;
    publish(Group::Smart);
    settings().setString("smartRenameIgnoreText", text);
}

void Store::setSmartRenameInputText(const QString& text)
{
    m_smart.smartRenameInputText = text;
    publish(Group::Smart);
}

void Store::setSmartRenameRows(QList<SmartRenameRow> rows)
{
    m_smart.smartRenameRows = std::move(rows);
    publish(Group::Smart);
}

void Store::setAiLang(NameLang lang)
{
    m_sections.aiLang = lang;
    publish(Group::Sections);
    settings().setString("aiLang", rawValue(lang));
}

namespace {
template <typename E> QStringList rawList(const QList<E>& list)
{
    QStringList out;
    for (E e : list)
        out << rawValue(e);
    return out;
}

// A stored name listed twice is kept once: a duplicate would show the same rule card twice and
// run that rule twice, and the screens can only ever write each kind once.
template <typename E> QList<E> restoreOrder(const Settings& s, const QString& key)
{
    QList<E> out;
    if (auto stored = s.stringListValue(key))
        for (const QString& raw : *stored)
            if (auto e = lookupRawValue<E>(raw); e && !out.contains(*e))
                out << *e;
    for (E e : allCases<E>())
        if (!out.contains(e))
            out << e;
    return out;
}
}  // namespace

void Store::setBatchRuleOrder(const QList<BatchRuleKind>& order)
{
    m_rules.batchRuleOrder = order;
    publish(Group::Rules);
    settings().setStringList("batchRuleOrder", rawList(order));
}

void Store::setSmartRenameStyleOrder(const QList<SmartRenameStyle>& order)
{
    m_smart.smartRenameStyleOrder = order;
    publish(Group::Smart);
    settings().setStringList("smartRenameStyleOrder", rawList(order));
}

void Store::setCustomCutTypes(const QList<SmartRename::CutType>& list)
{
    m_preview->dropSmartFixes();
    m_smart.customCutTypes = list;
    publish(Group::Smart);
    settings().setData("customCutTypes", SmartRename::encodeCutTypes(list));
}

void Store::setCustomNamingConfig(const SmartRename::CustomNamingConfig& config)
{
    m_preview->dropSmartFixes();
    m_smart.customNamingConfig = config;
    publish(Group::Smart);
    settings().setData("customNamingConfig", config.encode());
}

void Store::setLearnedWordSplits(const QMap<QString, QStringList>& splits)
{
    m_preview->dropSmartFixes();
    m_smart.learnedWordSplits = splits;
    publish(Group::Smart);
    settings().setData("learnedWordSplits", encodeLearnedSplits(splits));
}

void Store::setSmartVariants(const QList<SmartVariant>& list, bool save)
{
    m_smart.smartVariants = list;
    publish(Group::Smart);
    if (save)
        settings().setData("smartVariants", encodeSmartVariants(list));
}

void Store::setEmailTemplates(const QList<EmailTemplate>& list)
{
    m_email.emailTemplates = list;
    publish(Group::Email);
    settings().setData("emailTemplates", encodeEmailTemplates(list));
}

void Store::setPendingEmailContexts(std::optional<QList<EmailFileContext>> contexts)
{
    m_email.pendingEmailContexts = std::move(contexts);
    publish(Group::Email);
}

int Store::unsavedMetaItems() const
{
    int n = 0;
    for (const FileItem& item : m_items) {
        const auto d = m_meta.metaDraft.constFind(item.id);
        const auto o = m_meta.metaOriginal.constFind(item.id);
        if (d != m_meta.metaDraft.cend() && o != m_meta.metaOriginal.cend() && *d != *o)
            ++n;
    }
    return n;
}

QList<SmartRenameStyle> Store::loadSmartRenameStyleOrder() const
{
    return restoreOrder<SmartRenameStyle>(settings(), "smartRenameStyleOrder");
}

QList<BatchRuleKind> Store::loadBatchRuleOrder() const
{
    return restoreOrder<BatchRuleKind>(settings(), "batchRuleOrder");
}

QList<SmartRename::CutType> Store::loadCutTypes()
{
    const QList<SmartRename::CutType> builtIns = SmartRename::defaultCutTypes();
    QStringList seenNames;
    for (const auto& c : builtIns)
        seenNames << c.canonical;

    const auto data = settings().dataValue("customCutTypes");
    const auto decoded = data ? SmartRename::decodeCutTypes(*data) : std::nullopt;
    if (!decoded) {
        settings().setStringList("seenBuiltInCutTypes", seenNames);
        return builtIns;
    }
    QSet<QString> seen = SmartRename::builtInCutTypeNames();
    if (auto stored = settings().stringListValue("seenBuiltInCutTypes"))
        seen = QSet<QString>(stored->begin(), stored->end());
    const QList<SmartRename::CutType> merged = mergeBuiltInCutTypes(*decoded, seen);
    if (merged.size() > decoded->size())
        settings().setData("customCutTypes", SmartRename::encodeCutTypes(merged));
    settings().setStringList("seenBuiltInCutTypes", seenNames);
    return merged;
}

QList<SmartRename::CutType> Store::mergeBuiltInCutTypes(const QList<SmartRename::CutType>& user,
                                                        const QSet<QString>& seen)
{
    QSet<QString> userNames;
    for (const auto& c : user)
        userNames.insert(c.canonical.toLower());
    QList<SmartRename::CutType> out = user;
    for (const auto& b : SmartRename::defaultCutTypes()) {
        if (seen.contains(b.canonical) || userNames.contains(b.canonical.toLower()))
            continue;
        out << b;
    }
    return out;
}

SmartRename::CustomNamingConfig Store::loadCustomNamingConfig() const
{
    const auto data = settings().dataValue("customNamingConfig");
    if (!data)
        return {};
    return SmartRename::CustomNamingConfig::decode(*data).value_or(SmartRename::CustomNamingConfig{});
}

QMap<QString, QStringList> Store::loadLearnedWordSplits() const
{
    const auto data = settings().dataValue("learnedWordSplits");
    return data ? decodeLearnedSplits(*data).value_or(QMap<QString, QStringList>{}) : QMap<QString, QStringList>{};
}

QList<SmartVariant> Store::loadSmartVariants() const
{
    const auto data = settings().dataValue("smartVariants");
    return data ? decodeSmartVariants(*data).value_or(QList<SmartVariant>{}) : QList<SmartVariant>{};
}

QList<EmailTemplate> Store::loadEmailTemplates() const
{
    const auto data = settings().dataValue("emailTemplates");
    const auto list = data ? decodeEmailTemplates(*data) : std::nullopt;
    if (!list || list->isEmpty())
        return BuiltInEmail::all();
    return *list;
}
