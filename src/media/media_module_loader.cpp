// Part of the core, not of the module: finds and loads the module once per process.
#include "media_module.h"

#include "platform/lang.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

namespace MediaModule {

namespace {

const QString kFileName = QStringLiteral("libbrindlecove_media.so");

struct Loaded {
    const Table* table = nullptr;
    QString error;
};

// Beside the program; in the build tree the tests and benchmarks run one folder below it.
QString modulePath()
{
    const QString programDir = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    for (const QString& dir : {programDir, QDir::cleanPath(programDir + QStringLiteral("/.."))})
        if (QFileInfo::exists(dir + u'/' + kFileName))
            return dir + u'/' + kFileName;
    return {};
}

Loaded load()
{
    const QString path = modulePath();
    if (path.isEmpty())
        return {nullptr, kFileName + QStringLiteral(" is not beside the program")};
    // Every symbol is bound now, so that a module the program can't serve fails here and not
    // part-way through a read. The library stays loaded until the process ends.
    QLibrary library(path);
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    using Entry = const Table* (*)();
    const auto entry = reinterpret_cast<Entry>(library.resolve("brindlecove_media_module"));
    if (!entry)
        return {nullptr, library.errorString()};
    const Table* table = entry();
    if (table->version != version)
        return {nullptr, path + QStringLiteral(" belongs to another build")};
    return {table, {}};
}

const Loaded& loaded()
{
    // The first caller loads it while any other thread waits.
    static const Loaded once = [] {
        Loaded l = load();
        if (!l.table)
            qWarning("media support could not be loaded: %s", qPrintable(l.error));
        return l;
    }();
    return once;
}

}  // namespace

const Table* table()
{
    return loaded().table;
}

QString unavailableReason()
{
    return L("media support could not be loaded (%1)", "无法加载媒体支持（%1）").arg(loaded().error);
}

}  // namespace MediaModule
