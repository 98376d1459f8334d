#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString TestEnv::path(const QString& relative) const
{
    return relative.isEmpty() ? dir.path() : QDir(dir.path()).filePath(relative);
}

QString TestEnv::makeFile(const QString& relative, const QByteArray& content) const
{
    const QString p = path(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return p;
}

StoreServices TestEnv::services(const QStringList& languages) const
{
    StoreServices s;
    s.settings = settings;
    s.supportFolder = path("support");
    s.preferredLanguages = languages;
    return s;
}

std::unique_ptr<Store> TestEnv::makeStore(const QStringList& languages) const
{
    return std::make_unique<Store>(services(languages));
}

QString fixturesDir()
{
    return qEnvironmentVariable("BRINDLECOVE_FIXTURES");
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
