#include "file_manager.h"

#include "model/file_item.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QSet>
#include <QUrl>

namespace {
bool showItemsOverDBus(const QStringList& paths)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered("org.freedesktop.FileManager1"))
        return false;
    QStringList uris;
    for (const QString& p : paths)
        uris << QUrl::fromLocalFile(p).toString();
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << uris << QString();
    return bus.send(call);
}
}  // namespace

bool showInFileManager(const QStringList& paths)
{
    if (paths.isEmpty() || showItemsOverDBus(paths))
        return true;
    QSet<QString> opened;
    bool any = false;
    for (const QString& p : paths) {
        const QString folder = PathText::parent(p);
        if (!opened.contains(folder)) {
            opened.insert(folder);
            any = QDesktopServices::openUrl(QUrl::fromLocalFile(folder)) || any;
        }
    }
    return any;
}
