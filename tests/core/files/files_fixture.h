#pragma once
// Shared pieces of the file-operation tests: real files in a private folder, a Store over them,
// a scriptable stand-in for the sandbox and for the access prompt.
#include "test_support.h"

#include "files/path_remap.h"
#include "platform/folder_access.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// Simulates a sandbox: with `sandbox` on, a move is allowed only into a granted folder.
// `refused` sources and `refusedTargets` are refused always (moves that fail for their own reasons).
class SandboxFake : public FolderAccess {
public:
    bool sandbox = false;
    QSet<QString> granted;
    QSet<QString> refused;
    QSet<QString> refusedTargets;
    int starts = 0;

    bool startAccessing(const QString& folder) override
    {
        ++starts;
        granted.insert(folder);
        return true;
    }
    void stopAccessing(const QString& folder) override { granted.remove(folder); }
    bool mayMove(const QString& from, const QString& to) const override
    {
        if (refused.contains(from) || refusedTargets.contains(to))
            return false;
        return !sandbox || granted.contains(PathText::parent(to));
    }
};

class PrompterFake : public AccessPrompter {
public:
    bool pressContinue = true;
    std::optional<QString> pick;  // the folder chosen in the panel; nothing = cancelled
    int alerts = 0;
    int panels = 0;
    Alert lastAlert;
    Panel lastPanel;

    bool confirm(const Alert& alert) override
    {
        ++alerts;
        lastAlert = alert;
        return pressContinue;
    }
    std::optional<QString> chooseFolder(const Panel& panel) override
    {
        ++panels;
        lastPanel = panel;
        return pick;
    }
};

class FilesTest : public ::testing::Test {
protected:
    TestEnv env;
    std::shared_ptr<SandboxFake> access = std::make_shared<SandboxFake>();
    std::shared_ptr<PrompterFake> prompter = std::make_shared<PrompterFake>();
    std::unique_ptr<Store> store;

    void SetUp() override { store = newStore(); }

    std::unique_ptr<Store> newStore(bool sandboxed = false)
    {
        StoreServices s = env.services();
        s.folderAccess = access;
        s.accessPrompter = prompter;
        s.sandboxed = sandboxed;
        return std::make_unique<Store>(std::move(s));
    }

    // Files hold their own original name, so the tests can tell where each one went.
    QString file(const QString& rel) { return env.makeFile("w/" + rel, rel.toUtf8()); }
    QString dir(const QString& rel)
    {
        QDir().mkpath(env.path("w/" + rel));
        return env.path("w/" + rel);
    }
    QString work(const QString& rel = {}) const { return rel.isEmpty() ? env.path("w") : env.path("w/" + rel); }

    QString content(const QString& rel) const
    {
        QFile f(work(rel));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
    }
    // Every name in a folder, hidden ones included, sorted.
    QStringList names(const QString& rel = {}) const
    {
        return QDir(work(rel)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                         QDir::Name);
    }

    QUuid add(const QString& rel, bool folder = false)
    {
        FileItem item = folder ? FileItem::folder(work(rel)) : FileItem::file(work(rel));
        store->editItems([&](QList<FileItem>& items) { items << item; });
        return item.id;
    }
    const FileItem& item(const QUuid& id) const
    {
        for (const FileItem& f : store->items())
            if (f.id == id)
                return f;
        static FileItem none;
        return none;
    }
};
