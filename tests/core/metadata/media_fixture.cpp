#include "media_fixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>

bool makeMedia(const QStringList& args)
{
    QProcess p;
    p.start("ffmpeg", QStringList{"-nostdin", "-v", "error", "-y"} + args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QJsonObject probe(const QString& path)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-print_format", "json", "-show_format", "-show_streams", path});
    if (!p.waitForFinished(30000))
        return {};
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QJsonObject probeStream(const QJsonObject& probed, const QString& type)
{
    for (const QJsonValue& s : probed.value("streams").toArray())
        if (s.toObject().value("codec_type").toString() == type)
            return s.toObject();
    return {};
}

QString truncatedCopy(const QString& path, qint64 bytes, const QString& outPath)
{
    QFile in(path);
    QFile out(outPath);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return {};
    out.write(in.read(bytes));
    return outPath;
}
