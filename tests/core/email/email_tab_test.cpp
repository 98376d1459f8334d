#include "email/email_builtins.h"
#include "email/email_tab.h"
#include "model/file_item.h"
#include "platform/settings.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

EmailFileContext ctx(const QString& name)
{
    return {name + ".mov", name + "_V1.mov", "ABC", name, "Trlr", "30", "V1"};
}

EmailTemplate perFile(const QString& name = "One")
{
    return {
        QUuid::createUuid(), name, EmailTemplate::Mode::perFile, "- %corrected_name", "Hi %recipient, %corrected_name",
        {"recipient"}};
}

EmailTemplate batch(const QString& name = "All")
{
    return {QUuid::createUuid(), name, EmailTemplate::Mode::batch, "- %corrected_name", "%count:\n%filelist", {}};
}

QList<EmailTemplate> stored(const TestEnv& env)
{
    return decodeEmailTemplates(env.settings->dataValue("emailTemplates").value_or(""))
        .value_or(QList<EmailTemplate>{});
}

QStringList names(const QList<EmailTemplate>& list)
{
    QStringList out;
    for (const EmailTemplate& t : list)
        out << t.name;
    return out;
}

struct EmailTabFixture : ::testing::Test {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    EmailTab& tab = store->emailTab();
    const EmailTabState& state() const { return tab.state(); }
};

}  // namespace

TEST_F(EmailTabFixture, SelectionFallsBackToTheFirstTemplate)
{
    const EmailTemplate a = batch("A"), b = perFile("B");
    store->setEmailTemplates({a, b});
    EXPECT_EQ(tab.selectedTemplate(), a);
    tab.select(b.id);
    EXPECT_EQ(tab.selectedTemplate(), b);
    tab.select(QUuid::createUuid());
    EXPECT_EQ(tab.selectedTemplate(), a);
    store->setEmailTemplates({});
    EXPECT_FALSE(tab.selectedTemplate());
    EXPECT_FALSE(tab.templateBinding());
}

TEST_F(EmailTabFixture, EditsThroughTheAccessAreSavedAtOnceAndStopWhenTheTemplateIsGone)
{
    const EmailTemplate a = batch("A"), b = perFile("B");
    store->setEmailTemplates({a, b});
    tab.select(b.id);
    const auto access = tab.templateBinding();
    ASSERT_TRUE(access);
    EmailTemplate renamed = access->get();
    renamed.name = "Renamed";
    access->set(renamed);
    EXPECT_EQ(names(store->email().emailTemplates), (QStringList{"A", "Renamed"}));
    EXPECT_EQ(stored(env), store->email().emailTemplates);

    tab.deleteTemplate(b.id);
    EXPECT_EQ(access->get(), b);  // the copy made with the access
    renamed.name = "Again";
    access->set(renamed);
    EXPECT_EQ(names(store->email().emailTemplates), QStringList{"A"});
}

TEST_F(EmailTabFixture, GenerateRendersPerFileOrBatchAndClearKeepsTheSelection)
{
    const EmailTemplate one = perFile(), all = batch();
    store->setEmailTemplates({one, all});
    tab.select(one.id);
    tab.generate();  // no files: nothing changes
    EmailTabState untouched;
    untouched.selectedTemplateID = one.id;
    EXPECT_EQ(state(), untouched);
    EXPECT_FALSE(tab.canGenerate());
    EXPECT_FALSE(tab.canClear());

    store->setPendingEmailContexts(QList<EmailFileContext>{ctx("A"), ctx("B")});
    tab.takePendingContexts();  // two files: the batch template is picked and rendered
    EXPECT_EQ(tab.selectedTemplate(), all);
    EXPECT_EQ(state().batchResult, "2:\n- A_V1.mov\n- B_V1.mov");

    tab.select(one.id);
    tab.setCustomValue("recipient", "Ann");
    tab.generate();
    EXPECT_TRUE(state().batchResult.isEmpty());
    ASSERT_EQ(state().perFileResults.size(), 2);
    EXPECT_EQ(state().perFileResults[0].title, "A_V1.mov");
    EXPECT_EQ(state().perFileResults[1].text, "Hi Ann, B_V1.mov");
    const QUuid firstId = state().perFileResults[0].id;
    tab.generate();
    EXPECT_NE(state().perFileResults[0].id, firstId);

    tab.select(all.id);  // switching template resets nothing
    EXPECT_EQ(state().perFileResults.size(), 2);
    tab.setShowEditor(true);
    tab.setNewFieldName("x");
    tab.clearResults();
    EmailTabState expected;
    expected.selectedTemplateID = all.id;
    expected.showEditor = true;
    expected.newFieldName = "x";
    EXPECT_EQ(state(), expected);
}

TEST_F(EmailTabFixture, HandOverPicksTheModeByCountAndIsTakenOnce)
{
    struct Case {
        const char* what;
        QList<EmailTemplate> list;
        int selectedBefore;  // index into list, -1 for none
        int files;
        int selectedAfter;
        qsizetype perFileResults;
        bool batchResult;
    };
    const EmailTemplate b1 = batch("B1"), p1 = perFile("P1"), p2 = perFile("P2");
    const Case cases[] = {
        {"one file, per-file template exists", {b1, p1, p2}, 0, 1, 1, 1, false},
        {"one file, per-file template already picked", {b1, p1, p2}, 2, 1, 2, 1, false},
        {"three files, no batch template", {p1, p2}, 1, 3, 1, 3, false},
        {"three files, batch template picked", {p1, b1}, 0, 3, 1, 0, true},
        {"no templates", {}, -1, 2, -1, 0, false},
    };
    for (const Case& c : cases) {
        TestEnv env2;
        auto s = env2.makeStore();
        s->setEmailTemplates(c.list);
        s->emailTab().enter();
        if (c.selectedBefore >= 0)
            s->emailTab().select(c.list[c.selectedBefore].id);
        QList<EmailFileContext> files;
        for (int i = 0; i < c.files; ++i)
            files << ctx(QString::number(i));
        s->setPendingEmailContexts(files);
        s->emailTab().takePendingContexts();
        const EmailTabState& st = s->emailTab().state();
        EXPECT_FALSE(s->email().pendingEmailContexts) << c.what;
        EXPECT_EQ(st.contexts, files) << c.what;
        EXPECT_EQ(st.sourceLabel, QString("Using %1 file(s) from Smart Rename").arg(c.files)) << c.what;
        if (c.selectedAfter >= 0) {
            EXPECT_EQ(s->emailTab().selectedTemplate()->id, c.list[c.selectedAfter].id) << c.what;
        }
        EXPECT_EQ(st.perFileResults.size(), c.perFileResults) << c.what;
        EXPECT_EQ(!st.batchResult.isEmpty(), c.batchResult) << c.what;
    }

    store->setLangZh(true);
    store->setPendingEmailContexts(QList<EmailFileContext>{ctx("A")});
    tab.enter();
    EXPECT_EQ(state().sourceLabel, QString::fromUtf8("使用来自智能改名的 1 个文件"));
    EXPECT_EQ(tab.selectedTemplate(), BuiltInEmail::singleFileNotice());
}

TEST_F(EmailTabFixture, LoadedFilesBecomeContextsWhenNothingIsHandedOver)
{
    tab.enter();
    EXPECT_EQ(state().sourceLabel, "No files loaded.");
    EXPECT_EQ(state().selectedTemplateID, BuiltInEmail::deliveryNotice().id);

    store->setItems({FileItem::file(env.makeFile("ABC_Spot_Trlr_30_V1.mov")), FileItem::file(env.makeFile("b.txt")),
                     FileItem::file(env.makeFile("c"))});
    tab.setCustomValue("recipient", "Ann");
    tab.useLoadedFiles();
    EXPECT_EQ(state().contexts.size(), 3);
    EXPECT_EQ(state().contexts[0].originalName, "ABC_Spot_Trlr_30_V1.mov");
    EXPECT_EQ(state().sourceLabel, "Using 3 loaded file(s)");
    EXPECT_EQ(state().customValues.value("recipient"), "Ann");
    store->setLangZh(true);
    tab.useLoadedFiles();
    EXPECT_EQ(state().sourceLabel, QString::fromUtf8("使用 3 个已加载文件"));

    tab.clearResults();
    tab.takePendingContexts();  // nothing handed over, no files held: the loaded list again
    EXPECT_EQ(state().contexts.size(), 3);

    store->setPendingEmailContexts(QList<EmailFileContext>{ctx("A")});
    tab.takePendingContexts();
    store->setItems({});
    store->setLangZh(false);
    tab.useLoadedFiles();  // replaces files from Smart Rename too
    EXPECT_TRUE(state().contexts.isEmpty());
    EXPECT_EQ(state().sourceLabel, "No files loaded.");
}

TEST_F(EmailTabFixture, NewDuplicateDeleteAndResetInBothLanguages)
{
    for (const bool zh : {false, true}) {
        TestEnv env2;
        auto s = env2.makeStore();
        s->setLangZh(zh);
        EmailTab& t = s->emailTab();
        t.enter();
        t.newTemplate();
        const EmailTemplate created = s->email().emailTemplates.last();
        EXPECT_EQ(created.name, zh ? QString::fromUtf8("新模板") : "New Template");
        EXPECT_EQ(created.mode, EmailTemplate::Mode::batch);
        EXPECT_EQ(created.lineTemplate, "- %corrected_name (was %original_name)");
        EXPECT_TRUE(created.body.isEmpty() && created.customFields.isEmpty());
        EXPECT_EQ(t.state().selectedTemplateID, created.id);
        EXPECT_TRUE(t.state().showEditor);

        t.setShowEditor(false);
        t.duplicateTemplate(BuiltInEmail::deliveryNotice());
        t.duplicateTemplate(s->email().emailTemplates.last());
        const QString copy = zh ? QString::fromUtf8(" 副本") : " Copy";
        const QStringList expected{"Delivery Notice", "Single File Notice", created.name, "Delivery Notice" + copy,
                                   "Delivery Notice" + copy + copy};
        EXPECT_EQ(names(s->email().emailTemplates), expected);
        EXPECT_EQ(stored(env2), s->email().emailTemplates);
        const EmailTemplate dup = s->email().emailTemplates.last();
        EXPECT_EQ(t.state().selectedTemplateID, dup.id);
        EXPECT_EQ(dup.body, BuiltInEmail::deliveryNotice().body);
        EXPECT_EQ(dup.customFields, BuiltInEmail::deliveryNotice().customFields);
        EXPECT_FALSE(t.state().showEditor);

        s->setLangZh(!zh);  // names once given stay
        EXPECT_EQ(s->email().emailTemplates.last().name, "Delivery Notice" + copy + copy);

        t.deleteTemplate(dup.id);  // the first remaining is picked, not the neighbour
        EXPECT_EQ(t.state().selectedTemplateID, BuiltInEmail::deliveryNotice().id);
        const QList<EmailTemplate> all = s->email().emailTemplates;
        for (const EmailTemplate& e : all)
            t.deleteTemplate(e.id);
        EXPECT_TRUE(s->email().emailTemplates.isEmpty());
        EXPECT_FALSE(t.state().selectedTemplateID);
        EXPECT_EQ(stored(env2), QList<EmailTemplate>{});

        t.resetAllTemplates();
        EXPECT_EQ(s->email().emailTemplates, BuiltInEmail::all());
        EXPECT_EQ(t.state().selectedTemplateID, BuiltInEmail::deliveryNotice().id);
        EXPECT_EQ(stored(env2), BuiltInEmail::all());
    }
}

TEST_F(EmailTabFixture, ExportThenImportAppendsFreshCopiesAndFailuresChangeNothing)
{
    tab.enter();
    const QString path = env.path("EmailTemplates.json");
    tab.exportTemplates(path);
    EXPECT_EQ(store->status(), "Exported EmailTemplates.json");
    EXPECT_EQ(readFile(path), encodeEmailTemplates(BuiltInEmail::all()));

    tab.importTemplates(path);
    EXPECT_EQ(store->status(), "Imported 2 template(s).");
    const QList<EmailTemplate> list = store->email().emailTemplates;
    ASSERT_EQ(list.size(), 4);
    EXPECT_EQ(names(list),
              (QStringList{"Delivery Notice", "Single File Notice", "Delivery Notice", "Single File Notice"}));
    EXPECT_NE(list[2].id, list[0].id);
    EXPECT_EQ(tab.state().selectedTemplateID, list[2].id);
    EXPECT_EQ(stored(env), list);

    QJsonObject lacking = BuiltInEmail::deliveryNotice().toJson();
    lacking.remove("customFields");
    const std::pair<const char*, QByteArray> bad[] = {
        {"empty.json", "[]"},
        {"lacking.json", QJsonDocument(QJsonArray{BuiltInEmail::singleFileNotice().toJson(), lacking}).toJson()},
        {"text.json", "not json"},
    };
    for (const bool zh : {false, true}) {
        store->setLangZh(zh);
        for (const auto& [name, data] : bad) {
            tab.importTemplates(env.makeFile(name, data));
            EXPECT_EQ(store->status(), zh ? QString::fromUtf8("导入失败 —— 不是有效的模板文件。")
                                          : "Import failed — not a valid template file.")
                << name;
        }
        tab.importTemplates(env.path("missing.json"));
        EXPECT_EQ(store->email().emailTemplates, list);
        EXPECT_EQ(tab.state().selectedTemplateID, list[2].id);

        const QByteArray before = readFile(path);
        tab.exportTemplates(env.path("no/such/folder/x.json"));
        EXPECT_EQ(store->status(), zh ? QString::fromUtf8("导出失败。") : "Export failed.");
        EXPECT_EQ(readFile(path), before);
    }
    tab.exportTemplates(env.path("mine.json"));
    EXPECT_EQ(store->status(), QString::fromUtf8("已导出 mine.json"));
    tab.importTemplates(env.path("mine.json"));
    EXPECT_EQ(store->status(), QString::fromUtf8("已导入 4 个模板。"));
}

TEST_F(EmailTabFixture, ImportedFieldNamesCanBeFilled)
{
    EmailTemplate t = perFile();
    t.body = "Hi %recipient and %project_lead";
    t.customFields = {"Recipient", " Project Lead", "  "};
    tab.importTemplates(env.makeFile("in.json", encodeEmailTemplates({t})));
    const EmailTemplate imported = *tab.selectedTemplate();
    EXPECT_EQ(imported.customFields, (QStringList{"recipient", "project_lead"}));
    const QMap<QString, QString> values{{imported.customFields[0], "Ann"}, {imported.customFields[1], "Bo"}};
    EXPECT_EQ(imported.renderPerFile(ctx("A"), values, "D"), "Hi Ann and Bo");
}

TEST_F(EmailTabFixture, CustomFieldsAreAddedInTheirStoredFormAndRemovedEverywhere)
{
    EmailTemplate t = perFile();
    t.customFields = {"recipient", "Dup", "Dup"};
    store->setEmailTemplates({t});
    tab.enter();
    const auto access = *tab.templateBinding();
    struct Step {
        QString typed;
        QStringList fields;
        QString entryAfter;
    };
    const Step steps[] = {
        {"  Project Lead  ", {"recipient", "Dup", "Dup", "project_lead"}, ""},
        {"recipient", {"recipient", "Dup", "Dup", "project_lead"}, "recipient"},
        {"   ", {"recipient", "Dup", "Dup", "project_lead"}, "   "},
        {"DUP", {"recipient", "Dup", "Dup", "project_lead", "dup"}, ""},
    };
    for (const Step& s : steps) {
        tab.setNewFieldName(s.typed);
        tab.addCustomField(access);
        EXPECT_EQ(access.get().customFields, s.fields) << s.typed.toStdString();
        EXPECT_EQ(tab.state().newFieldName, s.entryAfter) << s.typed.toStdString();
    }
    tab.removeCustomField(access, "Dup");
    EXPECT_EQ(access.get().customFields, (QStringList{"recipient", "project_lead", "dup"}));
    EXPECT_EQ(stored(env).first().customFields, access.get().customFields);
}

TEST(EmailTabText, TokenHelpAndJoinedCopies)
{
    EmailTemplate t = BuiltInEmail::deliveryNotice();
    EXPECT_EQ(EmailTab::tokenHelp(t), "%filelist  %count  %date  %recipient  %sender");
    t.mode = EmailTemplate::Mode::perFile;
    EXPECT_EQ(EmailTab::tokenHelp(t), "%original_name  %corrected_name  %code  %spotname  %cuttype  %timing  %version  "
                                      "%date  %recipient  %sender");
    t.customFields.clear();
    EXPECT_EQ(EmailTab::tokenHelp(t),
              "%original_name  %corrected_name  %code  %spotname  %cuttype  %timing  %version  %date");

    EXPECT_EQ(EmailTab::joinedTexts({}), "");
    EXPECT_EQ(EmailTab::joinedTexts({{QUuid::createUuid(), "a", "one"}}), "one");
    EXPECT_EQ(EmailTab::joinedTexts({{QUuid::createUuid(), "a", "one"}, {QUuid::createUuid(), "b", "two"}}),
              "one\n\n----------\n\ntwo");
}
